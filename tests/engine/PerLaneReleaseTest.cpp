// Release per lane: a blocked vehicle holds back only its own lane's later vehicles, a lane
// takes at most one vehicle a step, and where nothing is ever blocked the run is the file-order
// run to the byte, empty-road clock jumps included.

#include "EngineTestSupport.h"

#include "config/CConfigData.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class PerLaneRelease : public testing::Test
{
protected:
    PerLaneRelease()
    {
        study.inputFile = folder.file("input.txt");
        study.outputFile = folder.file("output.txt");
        study.metricsFolder = folder.folder();
        study.setAllDrivers(steadyDriver());
    }

    // Runs the study to its end in the given order; returns the output traffic file's records.
    std::vector<std::string> run(ReleaseOrder order, bool carriesClock = true)
    {
        Sim sim;
        sim.getRoad().setReleaseOrder(order);
        sim.setCarriesClockOverEmptyRoad(carriesClock);
        setUpRun(sim, study);
        runToEnd(sim, 1000000);
        sim.reset();
        statistics = sim.getStatistics();
        return readLines(study.outputFile);
    }

    static std::vector<std::string> ofDirection(const std::vector<std::string>& records, char direction)
    {
        std::vector<std::string> kept;
        // Column 29 is the direction.
        std::copy_if(records.begin(), records.end(), std::back_inserter(kept),
                     [direction](const std::string& record) { return record.at(29) == direction; });
        return kept;
    }

    FarObstacle farObstacle;
    TempFolder folder;
    Study study;
    RunStatistics statistics;
};

}  // namespace

TEST_F(PerLaneRelease, AQueueInDirectionTwoLeavesDirectionOneAlone)
{
    // Eight trucks due at once in direction 2's one lane, listed before direction 1's cars: in
    // file order the first car waits for seven of them to clear the entry gap.
    study.lanesDir1 = 1;
    study.lanesDir2 = 1;
    study.fileLanesDir1 = 1;
    study.fileLanesDir2 = 1;
    std::vector<TalvorRecord> both(8, truckRecord(0.0, 2, 2, 20.0));  // file lane 2: direction 2's first
    std::vector<TalvorRecord> directionOne;
    for (int i = 0; i < 5; ++i)
        directionOne.push_back(carRecord(3.0 * i, 1, 1, 20.0));
    both.insert(both.end(), directionOne.begin(), directionOne.end());

    writeTrafficFile(study.inputFile, directionOne);
    const std::vector<std::string> alone = run(ReleaseOrder::perLane);
    ASSERT_EQ(alone.size(), 5u);
    EXPECT_LT(statistics.releaseDelays.maximumSeconds, 0.1);

    writeTrafficFile(study.inputFile, both);
    const std::vector<std::string> perLane = run(ReleaseOrder::perLane);
    EXPECT_EQ(statistics.vehiclesReleased, 13);
    EXPECT_EQ(ofDirection(perLane, '1'), alone);
    EXPECT_EQ(ofDirection(perLane, '2').size(), 8u);
    // The trucks still queue behind each other.
    EXPECT_GT(statistics.releaseDelays.maximumSeconds, 5.0);

    const std::vector<std::string> fileOrder = run(ReleaseOrder::file);
    EXPECT_NE(ofDirection(fileOrder, '1'), alone);
}

TEST_F(PerLaneRelease, ALaneTakesAtMostOneVehicleAStep)
{
    // Without an entry gap, file order lets every due vehicle of a lane in at once.
    struct NoEntryGap
    {
        NoEntryGap() : saved(theConfigData.entryGap) { theConfigData.entryGap = 0.0; }
        ~NoEntryGap() { theConfigData.entryGap = saved; }
        double saved;
    } noEntryGap;
    study.lanesDir1 = 2;
    study.fileLanesDir1 = 2;
    writeTrafficFile(study.inputFile, {carRecord(0.0, 1, 1, 20.0), carRecord(0.0, 1, 1, 20.0),
                                       carRecord(0.0, 1, 1, 20.0), carRecord(0.0, 1, 2, 20.0)});
    Sim sim;
    sim.getRoad().setReleaseOrder(ReleaseOrder::perLane);
    setUpRun(sim, study);
    bool running = true;
    for (std::size_t step = 1; step <= 3; ++step)
    {
        sim.step(running);
        EXPECT_EQ(sim.getVehicles()[0].size(), step);
        EXPECT_EQ(sim.getVehicles()[1].size(), 1u);
    }
    EXPECT_EQ(sim.getRoad().getPendingCount(), 0);
    sim.reset();

    Sim fileOrder;
    setUpRun(fileOrder, study);
    fileOrder.step(running);
    EXPECT_EQ(fileOrder.getVehicles()[0].size(), 3u);
}

TEST_F(PerLaneRelease, WithoutABlockedLaneTheRunIsTheFileOrderRun)
{
    study.lanesDir1 = 2;
    study.lanesDir2 = 2;
    study.fileLanesDir1 = 2;
    study.fileLanesDir2 = 2;
    study.laneChangesAllowed = true;
    // Drivers that accelerate again after braking, so that the road empties.
    study.setAllDrivers(DriverValues{});
    study.roadLength = 1000;
    study.outputDetector1 = study.outputDetector2 = 500;
    study.addDetector(510, true, 500, 60);
    std::vector<TalvorRecord> records = mixedTraffic(600.0, 2, 7);
    // A gap in the traffic that the clock crosses in one jump.
    for (TalvorRecord record : mixedTraffic(120.0, 2, 8))
    {
        record.time += 1200.0;
        records.push_back(record);
    }
    writeTrafficFile(study.inputFile, records);

    const std::vector<std::string> fileOrder = run(ReleaseOrder::file);
    const RunStatistics fileFigures = statistics;
    const std::string fileMeasurements = readText(folder.file("FD_All_Pos_500.csv"));
    ASSERT_GT(fileOrder.size(), 500u);
    ASSERT_LT(fileFigures.releaseDelays.maximumSeconds, 0.1) << "some lane was blocked";

    EXPECT_EQ(run(ReleaseOrder::perLane), fileOrder);
    EXPECT_EQ(readText(folder.file("FD_All_Pos_500.csv")), fileMeasurements);
    EXPECT_EQ(statistics.steps, fileFigures.steps);
    EXPECT_EQ(statistics.vehicleSteps, fileFigures.vehicleSteps);
    EXPECT_EQ(statistics.releaseDelays.meanSeconds, fileFigures.releaseDelays.meanSeconds);

    // Step by step the same again: the jumps landed on each next arrival.
    EXPECT_EQ(run(ReleaseOrder::perLane, false), fileOrder);
    EXPECT_EQ(statistics.steps, fileFigures.steps);
}

TEST_F(PerLaneRelease, AChoiceMadeDuringARunWaitsForTheNext)
{
    study.setAllDrivers(DriverValues{});
    study.roadLength = 1000;
    study.outputDetector1 = 500;
    writeTrafficFile(study.inputFile, mixedTraffic(60.0, 1, 4));
    Sim sim;
    setUpRun(sim, study);
    sim.getRoad().setReleaseOrder(ReleaseOrder::perLane);
    EXPECT_LT(runToEnd(sim, 100000), 100000);
    EXPECT_EQ(sim.getRoad().getPendingCount(), 0);
    EXPECT_EQ(sim.getRoad().getReleaseOrder(), ReleaseOrder::perLane);
}
