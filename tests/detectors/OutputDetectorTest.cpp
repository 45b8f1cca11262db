#include "detectors/OutputDetector.h"

#include "TestVehicles.h"
#include "trafficfiles/FileHandler.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Remembers which vehicles were written, and with which time stamp (s), instead of writing records.
class RecordingHandler : public FileHandler
{
public:
    RecordingHandler() : FileHandler(talvorRecords, "", "") {}
    void writeVehicle(Vehicle* vehicle) override { written.emplace_back(vehicle, vehicle->getTime()); }
    std::unique_ptr<Vehicle> readNextVehicle() override { return nullptr; }

    std::vector<std::pair<Vehicle*, double>> written;
};

}  // namespace

TEST(OutputDetector, StampsEachVehicleWithItsPassageTimeAndWritesInOrderOfCapture)
{
    RecordingHandler handler;
    OutputDetector detector(100, true, &handler);
    auto second = placedVehicle(105.0, 20.0, 2);  // at the detector 0.25 s before the step's start
    auto first = placedVehicle(100.0, 10.0, 0);   // on the line at the end of the step
    detector.detect(second.get(), 1000.5);
    detector.detect(first.get(), 1000.5);
    EXPECT_TRUE(handler.written.empty());

    detector.flush();
    ASSERT_EQ(handler.written.size(), 2u);
    EXPECT_EQ(handler.written[0].first, second.get());
    EXPECT_DOUBLE_EQ(handler.written[0].second, 1000.25);
    EXPECT_EQ(handler.written[1].first, first.get());
    EXPECT_DOUBLE_EQ(handler.written[1].second, 1000.5);

    detector.flush();  // the queue is empty after every flush
    EXPECT_EQ(handler.written.size(), 2u);
}

TEST(OutputDetector, AStoppedVehicleIsStampedWithTheStepStart)
{
    RecordingHandler handler;
    OutputDetector detector(100, false, &handler);
    auto stopped = placedVehicle(100.5, 0.0, 1, 2, 2, false);
    detector.detect(stopped.get(), 2000.75);
    detector.flush();
    ASSERT_EQ(handler.written.size(), 1u);
    EXPECT_DOUBLE_EQ(handler.written[0].second, 2000.75);
}

TEST(OutputDetector, ToleratesAMissingWriterOrVehicle)
{
    OutputDetector detector(100, true, nullptr);
    auto vehicle = placedVehicle(105.0, 20.0);
    detector.detect(vehicle.get(), 10.0);
    detector.detect(nullptr, 10.0);
    detector.flush();
    EXPECT_DOUBLE_EQ(vehicle->getTime(), 9.75);
}
