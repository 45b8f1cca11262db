// The figures a run gathers for its summary: how long vehicles waited past their arrival time
// for room at the lane's start, and how close any vehicle came to its leader.

#include "EngineTestSupport.h"

#include "detectors/OutputDetector.h"
#include "engine/Direction.h"
#include "engine/Lane.h"
#include "engine/ReleaseDelays.h"
#include "vehicles/Vehicle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

TEST(ReleaseDelayHistogram, GivesExactFiguresForShortDelaysAndCountsLongWaits)
{
    ReleaseDelays delays;
    EXPECT_EQ(delays.figures().released, 0);
    EXPECT_EQ(delays.figures().maximumSeconds, 0.0);

    // 0.0, 0.7, ..., 13.3 s: twenty delays, the 19th (nearest rank of 95 %) is 12.6 s.
    for (int k = 0; k < 20; ++k)
        delays.add(0.7 * k);
    const ReleaseDelayFigures figures = delays.figures();
    EXPECT_EQ(figures.released, 20);
    EXPECT_NEAR(figures.meanSeconds, 0.7 * 9.5, 1e-9);
    EXPECT_NEAR(figures.percentile95Seconds, 12.6, 1e-9);
    EXPECT_NEAR(figures.maximumSeconds, 13.3, 1e-9);
    EXPECT_EQ(figures.waitedOverTenSeconds, 5);  // 10.5, 11.2, 11.9, 12.6, 13.3

    // Exactly 10 s is not a long wait; a negative delay counts as none.
    delays.clear();
    delays.add(10.0);
    delays.add(-3.0);
    EXPECT_EQ(delays.figures().waitedOverTenSeconds, 0);
    EXPECT_EQ(delays.figures().meanSeconds, 5.0);
}

TEST(ReleaseDelayHistogram, LongDelaysKeepTheirPercentileWithinATenthOfAPercent)
{
    ReleaseDelays delays;
    // A queue that grows: delays of 0 to 9999 s, one vehicle per second of delay.
    for (int k = 0; k < 10000; ++k)
        delays.add(static_cast<double>(k) + 0.37);
    const ReleaseDelayFigures figures = delays.figures();
    EXPECT_NEAR(figures.percentile95Seconds, 9499.37, 9499.37 * 0.001);
    EXPECT_DOUBLE_EQ(figures.maximumSeconds, 9999.37);
    EXPECT_EQ(figures.waitedOverTenSeconds, 10000 - 10);

    // A percentile never exceeds the longest delay, although its bucket reaches further.
    ReleaseDelays single;
    single.add(5000.01);
    EXPECT_DOUBLE_EQ(single.figures().percentile95Seconds, 5000.01);
}

namespace {

class RunFigures : public testing::Test
{
protected:
    RunFigures()
    {
        study.inputFile = folder.file("input.txt");
        study.outputFile = folder.file("output.txt");
        study.metricsFolder = folder.folder();
        study.setAllDrivers(steadyDriver());
    }

    FarObstacle farObstacle;
    TempFolder folder;
    Study study;
    Sim sim;
};

}  // namespace

TEST_F(RunFigures, TwoVehiclesDueAtOnceInOneLane)
{
    // At 20 m/s in 0.1 s steps the first car is 28 m (>= 27 m) into the lane after 14 steps,
    // so the second, due at the same 10 s, enters in the 15th step, at 11.4 s: 1.4 s late.
    writeTrafficFile(study.inputFile, {carRecord(10.0, 1, 1, 20.0), carRecord(10.0, 1, 1, 20.0)});
    setUpRun(sim, study);
    runToEnd(sim, 100000);
    sim.reset();

    const RunStatistics statistics = sim.getStatistics();
    const ReleaseDelayFigures& delays = statistics.releaseDelays;
    EXPECT_EQ(delays.released, 2);
    EXPECT_NEAR(delays.meanSeconds, 0.7, 1e-9);
    EXPECT_NEAR(delays.percentile95Seconds, 1.4, 1e-9);
    EXPECT_NEAR(delays.maximumSeconds, 1.4, 1e-9);
    EXPECT_EQ(delays.waitedOverTenSeconds, 0);

    // The second car entered 23.5 m behind the first's rear. Wanting 1 m + 1.2 s x 20 m/s = 25 m,
    // it fell back: the smallest gap is that after its first move, within a step's 2 m of 23.5 m.
    // The figures outlive the reset.
    ASSERT_TRUE(statistics.gaps.any());
    EXPECT_GE(statistics.gaps.minimumGap, 23.5);
    EXPECT_LT(statistics.gaps.minimumGap, 23.6);
    EXPECT_EQ(statistics.gaps.nonPositiveGaps, 0);
}

TEST_F(RunFigures, ALoneVehicleHasNoGapAndTheNextRunStartsAfresh)
{
    writeTrafficFile(study.inputFile, {carRecord(10.0, 1, 1, 20.0), carRecord(10.0, 1, 1, 20.0)});
    setUpRun(sim, study);
    runToEnd(sim, 100000);
    sim.reset();

    writeTrafficFile(study.inputFile, {carRecord(50.0, 1, 1, 20.0)});
    setUpRun(sim, study);
    runToEnd(sim, 100000);
    const RunStatistics statistics = sim.getStatistics();
    EXPECT_EQ(statistics.releaseDelays.released, 1);
    EXPECT_EQ(statistics.releaseDelays.maximumSeconds, 0.0);
    EXPECT_FALSE(statistics.gaps.any());
    sim.reset();
}

TEST(LaneGaps, EveryCarFollowingMoveCountsAndOverlapsAreCollisions)
{
    constexpr int roadLength = 1000;  // m
    const IDM driver = makeDriver(DriverValues());
    Direction direction;
    direction.configure(true, nullptr, false, true, roadLength, true);
    direction.buildLanes(0, {roadLength}, {}, {});
    Lane& lane = *direction.getLane(0);
    // The third car overlaps the second's 4.5 m body: it has run into it.
    lane.appendVehicle(placeVehicle(200.0, 20.0, 4.5, driver, 1, true, roadLength));
    lane.appendVehicle(placeVehicle(150.0, 20.0, 4.5, driver, 1, true, roadLength));
    lane.appendVehicle(placeVehicle(147.0, 20.0, 4.5, driver, 1, true, roadLength));
    const Vehicle* second = lane.getVehicles().front()->behind;
    const Vehicle* third = lane.getVehicles().back();
    EXPECT_FALSE(lane.getGapFigures().any());

    lane.update(0.1, 0.0);
    EXPECT_EQ(lane.getGapFigures().minimumGap, std::min(second->getGap(), third->getGap()));
    EXPECT_LE(third->getGap(), 0.0);
    EXPECT_EQ(lane.getGapFigures().nonPositiveGaps, 1);

    lane.update(0.1, 0.1);
    EXPECT_EQ(lane.getGapFigures().nonPositiveGaps, third->getGap() <= 0.0 ? 2 : 1);
}

TEST_F(RunFigures, AReleaseAfterAClockCarriedOverEmptyRoadWaitsAsLongAsStepByStep)
{
    // The first car has left long before the next two are due, off the step grid and at once.
    writeTrafficFile(study.inputFile,
                     {carRecord(10.0, 1, 1, 20.0), carRecord(1000.35, 1, 1, 20.0), carRecord(1000.35, 1, 1, 20.0)});
    const auto delaysOfRun = [this](bool carriesClock) {
        sim.setCarriesClockOverEmptyRoad(carriesClock);
        setUpRun(sim, study);
        runToEnd(sim, 1000000);
        sim.reset();
        return sim.getStatistics();
    };
    const RunStatistics carried = delaysOfRun(true);
    const RunStatistics stepped = delaysOfRun(false);

    EXPECT_EQ(carried.steps, stepped.steps);
    EXPECT_EQ(carried.releaseDelays.released, 3);
    EXPECT_EQ(carried.releaseDelays.meanSeconds, stepped.releaseDelays.meanSeconds);
    EXPECT_EQ(carried.releaseDelays.percentile95Seconds, stepped.releaseDelays.percentile95Seconds);
    EXPECT_EQ(carried.releaseDelays.maximumSeconds, stepped.releaseDelays.maximumSeconds);
    // The second car waits for the next step end, the third 14 steps more for room.
    EXPECT_NEAR(carried.releaseDelays.maximumSeconds, 1.45, 1e-6);
    EXPECT_EQ(carried.gaps.minimumGap, stepped.gaps.minimumGap);
}
