// Sampling a run for its trajectories: the steps that are sampled (on the interval's grid, after
// a clock jump, with an interval shorter than the step), what a sample holds, and the CSV rows.

#include "recorders/TrajectoryRecorder.h"
#include "recorders/TrajectoryCsvWriter.h"
#include "recorders/TrajectorySink.h"
#include "vehicles/Vehicle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

using Lanes = std::vector<std::vector<Vehicle*>>;

struct RecordingSink : TrajectorySink
{
    void addSnapshot(double time, std::span<const TrajectorySample> samples) override
    {
        times.push_back(time);
        last.assign(samples.begin(), samples.end());
    }
    std::vector<double> times;
    std::vector<TrajectorySample> last;
};

// Steps of dt from start, the clock added up as Sim adds it; returns the sampled clocks.
std::vector<double> sampledTimes(TrajectoryRecorder& recorder, double start, double dt, int steps)
{
    RecordingSink sink;
    recorder.addSink(sink);
    const Lanes lanes(2);
    double time = start;
    for (int step = 0; step < steps; ++step)
        recorder.observe(time += dt, lanes);
    return sink.times;
}

}  // namespace

TEST(TrajectorySampling, FollowsTheIntervalsGridDespiteTheClocksRounding)
{
    // A clock late in the calendar, added up in 0.1 s steps: 0.1 has no exact binary form.
    const double start = 28'000'000.0;
    TrajectoryRecorder recorder(start, 1.0);
    const std::vector<double> times = sampledTimes(recorder, start, 0.1, 6000);
    ASSERT_EQ(times.size(), 600u);
    for (std::size_t k = 0; k < times.size(); ++k)
        EXPECT_NEAR(times[k], start + static_cast<double>(k + 1), 1e-3) << k;

    // 2.5 s in 1 s steps: the step ends nearest to 2.5, 5, 7.5, ... (ties to the earlier one).
    TrajectoryRecorder coarse(0.0, 2.5);
    EXPECT_EQ(sampledTimes(coarse, 0.0, 1.0, 10), (std::vector<double>{2.0, 5.0, 7.0, 10.0}));

    // An interval shorter than the step samples every step.
    TrajectoryRecorder fine(0.0, 0.05);
    EXPECT_EQ(sampledTimes(fine, 0.0, 0.5, 4), (std::vector<double>{0.5, 1.0, 1.5, 2.0}));
}

TEST(TrajectorySampling, AJumpOfTheClockIsSampledAtOnceAndTheGridGoesOn)
{
    RecordingSink sink;
    TrajectoryRecorder recorder(100.0, 1.0);
    recorder.addSink(sink);
    const Lanes lanes(1);
    double time = 100.0;
    for (int step = 0; step < 15; ++step)
        recorder.observe(time += 0.1, lanes);
    // Over an empty road the clock goes straight to the next arrival.
    time = 250.3;
    EXPECT_TRUE(recorder.observe(time, lanes));
    for (int step = 0; step < 17; ++step)
        recorder.observe(time += 0.1, lanes);
    ASSERT_EQ(sink.times.size(), 4u);
    EXPECT_NEAR(sink.times[0], 101.0, 1e-9);
    EXPECT_NEAR(sink.times[1], 250.3, 1e-9);
    EXPECT_NEAR(sink.times[2], 251.0, 1e-9);
    EXPECT_NEAR(sink.times[3], 252.0, 1e-9);
    EXPECT_EQ(recorder.getSnapshotCount(), 4);
}

TEST(TrajectorySampling, RefusesAnIntervalThatIsNoPositiveNumber)
{
    for (double interval : {0.0, -1.0, std::nan(""), HUGE_VAL})
        EXPECT_THROW(TrajectoryRecorder(0.0, interval), std::invalid_argument) << interval;
    EXPECT_FALSE(TrajectoryRecorder::isUsableInterval(0.0));
    EXPECT_TRUE(TrajectoryRecorder::isUsableInterval(0.01));
}

TEST(TrajectorySampling, EachVehicleBecomesOneRowLaneByLane)
{
    // Road 1 + 1 lanes: a car in lane 1 and a large truck of direction 2 in lane 2.
    auto car = std::make_unique<Vehicle>();
    car->lane = 1;
    car->position = 120.25;
    car->velocity = 22.5;
    car->acceleration = -0.125;
    car->inputLine = 7;
    auto truck = std::make_unique<Vehicle>();
    truck->directionPositive = false;
    truck->direction = 2;
    truck->lane = 2;
    truck->position = 40.0;
    truck->velocity = 19.0;
    truck->vehicleClass = 2;
    truck->inputLine = 12;
    const Lanes lanes{{car.get()}, {truck.get()}};

    std::ostringstream csv;
    TrajectoryCsvWriter writer(csv);
    RecordingSink sink;
    TrajectoryRecorder recorder(3600.0);
    recorder.addSink(writer);
    recorder.addSink(sink);
    EXPECT_FALSE(recorder.observe(3600.5, lanes));
    EXPECT_TRUE(recorder.observe(3601.0, lanes));
    writer.flush();

    ASSERT_EQ(sink.last.size(), 2u);
    EXPECT_EQ(sink.last[1].direction, 2);
    EXPECT_EQ(sink.last[1].lane, 2);
    EXPECT_EQ(sink.last[1].vehicleClass, 2);
    EXPECT_EQ(csv.str(), "time,direction,lane,position,velocity,acceleration,class,vehicle\n"
                         "3601.000,1,1,120.250,22.500,-0.125,0,7\n"
                         "3601.000,2,2,40.000,19.000,0.000,2,12\n");
    EXPECT_EQ(writer.getRowCount(), 2);
}

TEST(TrajectoryCsv, RealsHaveThreeDecimalsWhateverTheirSize)
{
    std::ostringstream csv;
    TrajectoryCsvWriter writer(csv);
    TrajectorySample sample;
    sample.position = -0.0004;  // rounds to zero, without a sign
    sample.velocity = 2.0006;
    sample.acceleration = 3e13;  // beyond the fast path
    sample.vehicle = 123456789012;
    writer.addSnapshot(31'535'999.95, std::span<const TrajectorySample>(&sample, 1));
    writer.flush();
    EXPECT_EQ(csv.str(), std::string(TrajectoryCsvWriter::header) +
                             "\n31535999.950,1,1,0.000,2.001,30000000000000.000,0,123456789012\n");
}
