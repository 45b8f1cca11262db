#include "detectors/Detector.h"

#include "TestVehicles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace {

// Opens the protected set-up to the tests and counts the intervals that end.
class ClockDetector : public Detector
{
public:
    explicit ClockDetector(double intervalSeconds, int atLocation = 0, short types = vehicleTypesAll,
                           bool positive = true)
    {
        interval = intervalSeconds;
        location = atLocation;
        vehicleTypes = types;
        directionPositive = positive;
    }
    void endInterval() override { ++intervalsEnded; }
    bool accepts(short vehicleClass) const { return acceptsClass(vehicleClass); }
    double elapsedSeconds() const { return elapsed; }

    int intervalsEnded = 0;
};

}  // namespace

TEST(DetectorClock, EndsAnIntervalAtTheFirstStepThatReachesIt)
{
    ClockDetector detector(1.0);
    for (int step = 0; step < 3; ++step)
        detector.advance(0.25);
    EXPECT_EQ(detector.intervalsEnded, 0);
    detector.advance(0.25);
    EXPECT_EQ(detector.intervalsEnded, 1);
    EXPECT_EQ(detector.getIntervalCount(), 1);
    for (int step = 0; step < 4; ++step)
        detector.advance(0.25);
    EXPECT_EQ(detector.intervalsEnded, 2);
    EXPECT_DOUBLE_EQ(detector.elapsedSeconds(), 2.0);
}

TEST(DetectorClock, CarriesTheRemainderIntoTheNextInterval)
{
    ClockDetector detector(1.0);
    detector.advance(0.75);
    detector.advance(0.75);  // 1.5: one interval, 0.5 carried
    EXPECT_EQ(detector.intervalsEnded, 1);
    detector.advance(0.25);
    EXPECT_EQ(detector.intervalsEnded, 1);
    detector.advance(0.25);
    EXPECT_EQ(detector.intervalsEnded, 2);
}

TEST(DetectorClock, AnIntervalThatIsNotPositiveNeverEnds)
{
    for (double interval : {0.0, -5.0})
    {
        ClockDetector detector(interval);
        for (int step = 0; step < 10; ++step)
            detector.advance(1.0);
        EXPECT_EQ(detector.intervalsEnded, 0) << interval;
        EXPECT_DOUBLE_EQ(detector.elapsedSeconds(), 10.0);
    }
}

TEST(DetectorPassTime, InterpolatesBackToTheDetector)
{
    ClockDetector detector(60.0, 100);
    auto vehicle = placedVehicle(101.0, 20.0);
    EXPECT_DOUBLE_EQ(detector.passTime(*vehicle, 50.0), 49.95);

    auto onTheLine = placedVehicle(100.0, 20.0);
    EXPECT_DOUBLE_EQ(detector.passTime(*onTheLine, 50.0), 50.0);

    auto slow = placedVehicle(100.01, 0.1);
    EXPECT_NEAR(detector.passTime(*slow, 50.0), 49.9, 1e-9);
}

TEST(DetectorPassTime, AStoppedVehicleGetsTheStepStart)
{
    ClockDetector detector(60.0, 100);
    for (double position : {100.0, 100.5})
    {
        auto stopped = placedVehicle(position, 0.0);
        double t = detector.passTime(*stopped, 42.5);
        EXPECT_TRUE(std::isfinite(t));
        EXPECT_DOUBLE_EQ(t, 42.5);
    }
}

TEST(DetectorFilter, AcceptsTheClassesOfEachCode)
{
    // Accepted classes 0 to 4 per filter code; unknown codes accept everything.
    const std::pair<short, const char*> table[] = {
        {500, "11111"}, {501, "01111"}, {502, "10000"}, {503, "01000"}, {504, "00100"},
        {505, "00010"}, {506, "00001"}, {499, "11111"}, {507, "11111"},
    };
    for (const auto& [code, accepted] : table)
    {
        ClockDetector detector(60.0, 0, code);
        for (short vehicleClass = 0; vehicleClass < 5; ++vehicleClass)
            EXPECT_EQ(detector.accepts(vehicleClass), accepted[vehicleClass] == '1')
                << "code " << code << " class " << vehicleClass;
    }
}

TEST(DetectorNames, NameTheFilterAndTheDirection)
{
    const std::pair<short, const char*> table[] = {
        {500, "All"},   {501, "Trucks"}, {502, "Car"}, {503, "ST"},  {504, "LT"},
        {505, "Crane"}, {506, "LL"},     {0, "All"},   {600, "All"},
    };
    for (const auto& [code, name] : table)
        EXPECT_EQ(ClockDetector(60.0, 0, code).vehicleTypeName(), name);
    EXPECT_EQ(ClockDetector(60.0, 0, 500, true).directionName(), "Pos");
    EXPECT_EQ(ClockDetector(60.0, 0, 500, false).directionName(), "Neg");
}
