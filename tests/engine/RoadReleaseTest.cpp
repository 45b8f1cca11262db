// Release from the traffic file: strictly in file order, held back by the entry gap, lanes of
// direction 2 remapped onto the road, vehicles that have no lane on this road skipped and
// counted, roads with lanes only in direction 2, and traffic files without vehicles.

#include "EngineTestSupport.h"

#include "vehicles/Vehicle.h"

#include <gtest/gtest.h>

namespace {

class Release : public testing::Test
{
protected:
    Release()
    {
        study.inputFile = folder.file("input.txt");
        study.outputFile = folder.file("output.txt");
        study.metricsFolder = folder.folder();
        study.setAllDrivers(steadyDriver());
    }

    std::size_t vehiclesInLane(int index) const { return sim.getVehicles().at(static_cast<std::size_t>(index)).size(); }

    FarObstacle farObstacle;
    TempFolder folder;
    Study study;
    Sim sim;
    bool running = true;
};

}  // namespace

TEST_F(Release, EntryGapHoldsBackLaterVehiclesEvenForAFreeLane)
{
    // 20 m/s and 0.1 s: the first vehicle is 2 m further after every step, so its lane is
    // 28 m clear (>= 27 m) after its 14th step and the second vehicle enters in the 15th.
    study.lanesDir1 = 2;
    study.fileLanesDir1 = 2;
    writeTrafficFile(study.inputFile,
                     {carRecord(10.0, 1, 1, 20.0), carRecord(10.0, 1, 1, 20.0), carRecord(10.0, 1, 2, 20.0)});
    setUpRun(sim, study);
    EXPECT_DOUBLE_EQ(sim.getTime(), 10.0);

    sim.step(running);
    EXPECT_EQ(vehiclesInLane(0), 1u);
    EXPECT_EQ(vehiclesInLane(1), 0u);  // due, its lane free, but behind a blocked vehicle
    for (int step = 2; step <= 14; ++step)
        sim.step(running);
    EXPECT_EQ(vehiclesInLane(0), 1u);
    EXPECT_EQ(vehiclesInLane(1), 0u);
    EXPECT_DOUBLE_EQ(sim.getVehicles()[0][0]->getPosition(), 28.0);

    sim.step(running);
    EXPECT_EQ(vehiclesInLane(0), 2u);
    EXPECT_EQ(vehiclesInLane(1), 1u);
    EXPECT_EQ(sim.getStatistics().vehiclesReleased, 3);
}

TEST_F(Release, DirectionTwoLanesOfTheFileLandOnTheRoadsLastLanes)
{
    // Road 3 + 3 lanes, file 2 + 2.
    study.lanesDir1 = 3;
    study.lanesDir2 = 3;
    study.fileLanesDir1 = 2;
    study.fileLanesDir2 = 2;
    study.outputDetector1 = 100;
    study.outputDetector2 = 2900;  // road x: 100 m into direction 2
    writeTrafficFile(study.inputFile,
                     {truckRecord(0.0, 1, 2, 20.0), truckRecord(0.0, 2, 4, 20.0), truckRecord(0.0, 2, 3, 20.0)});
    setUpRun(sim, study);
    sim.step(running);

    ASSERT_EQ(sim.getVehicles().size(), 6u);
    EXPECT_EQ(vehiclesInLane(1), 1u);
    EXPECT_EQ(vehiclesInLane(5), 1u);
    EXPECT_EQ(vehiclesInLane(4), 1u);
    EXPECT_EQ(sim.getVehicles()[5][0]->getLane(), 6);
    EXPECT_EQ(sim.getVehicles()[5][0]->getLaneInDirection(), 1);

    runToEnd(sim, 100000);
    const std::vector<std::string> records = readLines(study.outputFile);
    ASSERT_EQ(records.size(), 3u);
    // Column 29 is the direction, column 30 the lane.
    EXPECT_EQ(records[0].substr(29, 2), "12");
    // Direction 2 writes its lanes in index order: lane 5, then its kerb-side lane 6.
    EXPECT_EQ(records[1].substr(29, 2), "25");
    EXPECT_EQ(records[2].substr(29, 2), "26");
}

TEST_F(Release, VehiclesWithoutALaneOfTheirDirectionAreSkippedInFileOrder)
{
    // Road 2 + 0 lanes, file 2 + 2: direction 2 has no lanes on this road.
    study.lanesDir1 = 2;
    study.fileLanesDir1 = 2;
    study.fileLanesDir2 = 2;
    writeTrafficFile(study.inputFile, {
                                          carRecord(0.0, 1, 0, 20.0),  // lane 0
                                          carRecord(0.0, 1, 1, 20.0),
                                          carRecord(0.5, 1, 3, 20.0),  // above direction 1's lanes
                                          carRecord(1.0, 2, 4, 20.0),  // remapped onto lane 2 of direction 1
                                          carRecord(2.0, 1, 2, 20.0),
                                      });
    setUpRun(sim, study);
    EXPECT_TRUE(sim.hasTraffic());
    runToEnd(sim, 100000);

    const RunStatistics statistics = sim.getStatistics();
    EXPECT_EQ(statistics.skippedVehicles, 3);
    EXPECT_EQ(statistics.vehiclesReleased, 2);
    EXPECT_EQ(statistics.recordsWritten, 2);
    EXPECT_EQ(readLines(study.outputFile).size(), 2u);
}

TEST_F(Release, DirectionOneVehicleInADirectionTwoLaneIsSkipped)
{
    // Road 2 + 1, file 2 + 2: file lane 3 of direction 2 would become road lane 2, which is
    // direction 1's.
    study.lanesDir1 = 2;
    study.lanesDir2 = 1;
    study.fileLanesDir1 = 2;
    study.fileLanesDir2 = 2;
    writeTrafficFile(study.inputFile,
                     {carRecord(0.0, 1, 3, 20.0), carRecord(0.0, 2, 3, 20.0), carRecord(0.0, 2, 4, 20.0)});
    setUpRun(sim, study);
    runToEnd(sim, 100000);
    EXPECT_EQ(sim.getStatistics().skippedVehicles, 2);
    EXPECT_EQ(sim.getStatistics().vehiclesReleased, 1);
}

TEST_F(Release, RoadWithLanesOnlyInDirectionTwoRuns)
{
    study.lanesDir1 = 0;
    study.lanesDir2 = 2;
    study.fileLanesDir1 = 0;
    study.fileLanesDir2 = 2;
    study.outputDetector2 = 499;
    study.addDetector(512, false, 500, 60);
    // 16 m/s and 0.125 s steps: 2 m per step and a clock without rounding.
    study.timeStep = 0.125;
    writeTrafficFile(study.inputFile, {truckRecord(0.0, 2, 1, 16.0), truckRecord(0.0, 2, 2, 16.0)});
    setUpRun(sim, study);
    sim.step(running);
    ASSERT_EQ(sim.getVehicles().size(), 2u);
    EXPECT_EQ(vehiclesInLane(0) + vehiclesInLane(1), 2u);

    runToEnd(sim, 100000);
    EXPECT_EQ(sim.getStatistics().vehiclesReleased, 2);
    EXPECT_EQ(sim.getStatistics().skippedVehicles, 0);
    const std::vector<std::string> records = readLines(study.outputFile);
    ASSERT_EQ(records.size(), 2u);
    // The output detector sits 2501 m into direction 2 (road x 499). The front moves from 2500 m
    // to 2502 m in the step that ends at 156.375 s: passage 156.375 - 1 / 16 = 156.3125 s.
    EXPECT_EQ(records[0].substr(10, 8), " 0 23631");
    // Three complete minutes before the trucks leave at 188 s; they passed 2500 m in the third.
    const std::vector<std::string> composition = readLines(folder.file("Comp_All_Neg_500.csv"));
    ASSERT_EQ(composition.size(), 4u);
    EXPECT_EQ(composition[2], "0,0,0,0,0");
    EXPECT_EQ(composition[3], "0,0,2,0,0");
}

TEST_F(Release, TrafficFileWithoutVehiclesEndsInTheFirstStep)
{
    writeTrafficFile(study.inputFile, {});
    study.addDetector(510, true, 1000, 60);
    setUpRun(sim, study);
    EXPECT_FALSE(sim.hasTraffic());
    EXPECT_DOUBLE_EQ(sim.getTime(), 0.0);

    EXPECT_EQ(runToEnd(sim, 10), 1);
    sim.reset();
    EXPECT_TRUE(std::filesystem::exists(study.outputFile));
    EXPECT_EQ(readText(study.outputFile), "");
    EXPECT_EQ(readLines(folder.file("FD_All_Pos_1000.csv")).size(), 2u);  // the header only
}

TEST_F(Release, TrafficFileWhoseVehiclesAllLackALaneHasNoTraffic)
{
    writeTrafficFile(study.inputFile, {carRecord(0.0, 1, 2, 20.0), carRecord(1.0, 2, 1, 20.0)});
    setUpRun(sim, study);
    EXPECT_FALSE(sim.hasTraffic());
    EXPECT_EQ(runToEnd(sim, 10), 1);
    EXPECT_EQ(sim.getStatistics().skippedVehicles, 2);
}

TEST_F(Release, RunWaitsForReadAheadVehiclesWhileTheRoadIsEmpty)
{
    study.roadLength = 1000;
    study.outputDetector1 = 500;
    study.timeStep = 0.125;
    // The first vehicle has left after about 63 s; the second arrives at 200 s.
    writeTrafficFile(study.inputFile, {carRecord(0.0, 1, 1, 16.0), carRecord(200.0, 1, 1, 16.0)});
    setUpRun(sim, study);
    const int calls = runToEnd(sim, 100000);
    EXPECT_EQ(sim.getStatistics().vehiclesReleased, 2);
    // Released in step 1601 (at 200.0 s), 2 m per step, taken off in the step that brings it
    // to 1012 m, and the run ends in the step after.
    EXPECT_EQ(sim.getStatistics().steps, 1600 + 506 + 1);
    EXPECT_EQ(sim.getTime(), 0.125 * (1600 + 506 + 1));
    // The empty road between the two was crossed in one call.
    EXPECT_LT(calls, 1600 + 506 + 1 - 1000);
    EXPECT_EQ(sim.getStatistics().percentRead, 100);

    // Step by step, the same steps, one call each.
    sim.reset();
    setUpRun(sim, study);
    sim.setCarriesClockOverEmptyRoad(false);
    EXPECT_EQ(runToEnd(sim, 100000), 1600 + 506 + 1);
}
