// Whole runs from hand-made traffic files, with outcomes worked out by hand: a lone vehicle's
// release, passage time and output record; a platoon settling at the IDM equilibrium gap;
// removal at the road's end after the output is written; repeatable seeded runs; and runs that
// end or are stopped leaving complete files.

#include "EngineTestSupport.h"

#include "config/MersenneTwister.h"
#include "engine/Lane.h"
#include "vehicles/Vehicle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <map>

namespace {

class Run : public testing::Test
{
protected:
    Run()
    {
        study.inputFile = folder.file("input.txt");
        study.outputFile = folder.file("output.txt");
        study.metricsFolder = folder.folder();
        study.setAllDrivers(steadyDriver());
        // 16 m/s and 0.125 s steps: 2 m per step and a clock without rounding.
        study.timeStep = 0.125;
    }

    FarObstacle farObstacle;
    TempFolder folder;
    Study study;
    Sim sim;
    bool running = true;
};

// The IDM equilibrium gap (m) at speed v (m/s): s*(v) / sqrt(1 - (v/v0)^delta).
double equilibriumGap(const DriverValues& driver, double v)
{
    const double v0 = driver.v0 * 0.27777778;
    const double desired = driver.s0 + driver.s1 * std::sqrt(v / v0) + driver.T * v;
    return desired / std::sqrt(1.0 - std::pow(v / v0, driver.delta));
}

}  // namespace

TEST_F(Run, LoneVehicleIsReleasedTimedAtTheDetectorAndWritten)
{
    study.outputCars = false;
    study.outputDetector1 = 2501;
    writeTrafficFile(study.inputFile, {truckRecord(3600.0, 1, 1, 16.0)});
    setUpRun(sim, study);
    EXPECT_DOUBLE_EQ(sim.getTime(), 3600.0);

    sim.step(running);
    ASSERT_EQ(sim.getVehicles().at(0).size(), 1u);
    EXPECT_DOUBLE_EQ(sim.getVehicles()[0][0]->getPosition(), 2.0);

    const int steps = 1 + runToEnd(sim, 100000);
    // 2 m per step: beyond 3010 m after step 1506, the road found empty in step 1507.
    EXPECT_EQ(steps, 1507);
    EXPECT_DOUBLE_EQ(sim.getTime(), 3600.0 + 1507 * 0.125);
    const RunStatistics statistics = sim.getStatistics();
    EXPECT_EQ(statistics.vehiclesReleased, 1);
    EXPECT_EQ(statistics.recordsWritten, 1);
    EXPECT_EQ(statistics.vehicleSteps, 1506);
    EXPECT_DOUBLE_EQ(statistics.startTime, 3600.0);

    // At 2 m per step the front is at 2k m at 3600 + 0.125k s: at 2501 m at 3756.3125 s, in the
    // step from 2500 m to 2502 m that ends at 3756.375 s (not one step earlier).
    const std::vector<std::string> records = readLines(study.outputFile);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0], talvorLine(truckRecord(3756.31, 1, 1, 16.0)));
}

TEST_F(Run, AnAcceleratingCarIsStampedWhenItsFrontReachesTheDetector)
{
    // A car entering at 10 m/s speeds up on the free road; each step moves it with the step's
    // constant acceleration, so its front reaches the detector at the root of
    // x0 + v0 t + (v1 - v0) t^2 / (2 dt) = location within that step.
    study.outputDetector1 = 1500;
    writeTrafficFile(study.inputFile, {carRecord(0.0, 1, 1, 10.0)});
    setUpRun(sim, study);
    const double dt = study.timeStep;
    double passage = -1.0;
    for (int step = 0; step < 100000 && running && passage < 0.0; ++step)
    {
        const double start = sim.getTime();
        const std::vector<std::vector<Vehicle*>>& lanes = sim.step(running);
        if (lanes.empty() || lanes[0].empty())
            continue;
        const Vehicle& car = *lanes[0][0];
        const double v1 = car.getVelocity();
        const double v0 = car.getStepAcceleration(dt) * -dt + v1;
        const double x1 = car.getPosition();
        const double x0 = x1 - 0.5 * (v0 + v1) * dt;
        if (x0 < 1500.0 && x1 >= 1500.0)
        {
            const double a = (v1 - v0) / dt;
            const double t = a == 0.0 ? (1500.0 - x0) / v0 : (-v0 + std::sqrt(v0 * v0 + 2.0 * a * (1500.0 - x0))) / a;
            passage = start + t;
        }
    }
    ASSERT_GT(passage, 0.0);
    runToEnd(sim, 100000);
    const std::vector<std::string> records = readLines(study.outputFile);
    ASSERT_EQ(records.size(), 1u);
    // Minutes, seconds and hundredths of the record's stamp: the file rounds to 0.01 s.
    const double stamped = 60.0 * std::stod(records[0].substr(12, 2)) + std::stod(records[0].substr(14, 2)) +
                           std::stod(records[0].substr(16, 2)) / 100.0;
    const double expected = std::fmod(passage, 3600.0);
    EXPECT_NEAR(stamped, expected, 0.0051) << "passage at " << passage << " s: " << records[0];
}

TEST_F(Run, AVehicleDueExactlyAtAStepsStartIsReleasedInThatStepAfterThousandsOfSteps)
{
    // 0.1 s summed 19,483 times falls short of 1948.3 s; counted steps do not.
    study.timeStep = 0.1;
    writeTrafficFile(study.inputFile, {truckRecord(0.0, 1, 1, 16.0), truckRecord(1948.3, 1, 1, 16.0)});
    for (const bool jumpOverEmptyRoad : {true, false})
    {
        setUpRun(sim, study);
        sim.setCarriesClockOverEmptyRoad(jumpOverEmptyRoad);
        runToEnd(sim, 100000);
        const RunStatistics statistics = sim.getStatistics();
        EXPECT_EQ(statistics.vehiclesReleased, 2);
        EXPECT_LT(statistics.releaseDelays.maximumSeconds, 1e-9) << "jump over the empty road: " << jumpOverEmptyRoad;
        sim.reset();
    }
}

TEST_F(Run, WithoutOutputCarsOnlyTrucksAreWritten)
{
    study.outputCars = false;
    study.lanesDir1 = 2;
    study.fileLanesDir1 = 2;
    TalvorRecord smallTruck = carRecord(0.0, 1, 2, 16.0);
    smallTruck.gvw = 100;
    smallTruck.axleSpacings = {4.0, 0};
    writeTrafficFile(study.inputFile, {carRecord(0.0, 1, 1, 16.0), smallTruck});
    setUpRun(sim, study);
    runToEnd(sim, 100000);
    const std::vector<std::string> records = readLines(study.outputFile);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].substr(21, 4), " 100");
}

TEST_F(Run, PassageEndingExactlyOnADetectorCountsOnce)
{
    study.outputDetector1 = 2500;
    study.addDetector(512, true, 2500, 60);
    writeTrafficFile(study.inputFile, {truckRecord(0.0, 1, 1, 16.0)});
    setUpRun(sim, study);
    // The front is at exactly 2500 m after step 1250 and moves on from there in step 1251.
    runToEnd(sim, 100000);
    EXPECT_EQ(readLines(study.outputFile).size(), 1u);
    const std::vector<std::string> composition = readLines(folder.file("Comp_All_Pos_2500.csv"));
    ASSERT_EQ(composition.size(), 4u);
    EXPECT_EQ(composition[3], "0,0,1,0,0");
}

TEST_F(Run, VehicleLeavingInTheStepItPassesTheLastDetectorIsStillWritten)
{
    // 30 m/s in 2 s steps: from 960 m to 1020 m, past the detector at the road's end and more
    // than 10 m beyond it in one move.
    study.timeStep = 2.0;
    study.roadLength = 1000;
    study.outputDetector1 = 1000;
    writeTrafficFile(study.inputFile, {truckRecord(0.0, 1, 1, 30.0)});
    setUpRun(sim, study);
    runToEnd(sim, 1000);
    const std::vector<std::string> records = readLines(study.outputFile);
    ASSERT_EQ(records.size(), 1u);
    // Passage: the step's end, 34 s, less (1020 - 1000) / 30: 33.33 s, when 30 m/s from 0 m at 0 s
    // reach 1000 m.
    EXPECT_EQ(records[0].substr(10, 8), " 0 03333");
}

TEST_F(Run, PlatoonBehindASlowerTruckSettlesAtTheEquilibriumGap)
{
    study.timeStep = 0.1;
    study.roadLength = 10000;
    study.outputDetector1 = 9000;
    study.addDetector(511, true, 5000, 60);
    DriverValues truck = steadyDriver();
    truck.v0 = 54.0;  // km/h, and delta 0: it keeps its 15 m/s
    DriverValues car;
    car.s1 = 10.0;
    car.v0 = 90.0;  // km/h
    for (int vehicleClass = 0; vehicleClass < 5; ++vehicleClass)
        setConstant(study.sets[vehicleClass], vehicleClass == 0 ? car : truck);
    writeTrafficFile(study.inputFile,
                     {truckRecord(0.0, 1, 1, 15.0), carRecord(3.0, 1, 1, 15.0), carRecord(6.0, 1, 1, 15.0),
                      carRecord(9.0, 1, 1, 15.0), carRecord(12.0, 1, 1, 15.0)});
    setUpRun(sim, study);

    for (int step = 0; step < 3000; ++step)
        sim.step(running);
    // Each follower reacts to its leader's new position from its own old one, so the gap it
    // drives by is its gap after the step plus its own move, v dt.
    const double dt = study.timeStep;
    const std::vector<Vehicle*>& platoon = sim.getVehicles().at(0);
    ASSERT_EQ(platoon.size(), 5u);
    for (std::size_t i = 1; i < platoon.size(); ++i)
    {
        const double v = platoon[i]->getVelocity();
        EXPECT_NEAR(v, 15.0, 0.15);
        EXPECT_NEAR((platoon[i]->getGap() + v * dt) / equilibriumGap(car, v), 1.0, 0.01) << "car " << i;
    }

    runToEnd(sim, 100000);
    // Headways at 5000 m: the truck's is its whole passage time, then each car's is the time to
    // cover its gap after a step and its leader's length at 15 m/s.
    const std::vector<std::string> headways = readLines(folder.file("Head_All_Pos_5000.csv"));
    ASSERT_EQ(headways.size(), 2u + 5u);
    const double gap = equilibriumGap(car, 15.0) - 15.0 * dt;
    EXPECT_NEAR(std::stod(headways[3]), (gap + 16.0) / 15.0, 0.01 * (gap + 16.0) / 15.0);
    for (std::size_t row = 4; row < headways.size(); ++row)
        EXPECT_NEAR(std::stod(headways[row]), (gap + 4.5) / 15.0, 0.01 * (gap + 4.5) / 15.0) << headways[row];
}

TEST_F(Run, SeededRunsWriteIdenticalFiles)
{
    // Drawn drivers (the default parameter sets), lane changes and every kind of detector.
    Study busy;
    busy.inputFile = folder.file("input.txt");
    busy.lanesDir1 = busy.lanesDir2 = busy.fileLanesDir1 = busy.fileLanesDir2 = 2;
    busy.laneChangesAllowed = true;
    for (bool positive : {true, false})
    {
        busy.addDetector(510, positive, 1500, 60);
        busy.addDetector(511, positive, 1500, 60);
        busy.addDetector(512, positive, 1500, 60);
        busy.addDetector(513, positive, 500, 60);
    }
    writeTrafficFile(busy.inputFile, mixedTraffic(300.0, 2, 11));

    std::string outputs[2];
    for (int run = 0; run < 2; ++run)
    {
        const std::string runFolder = folder.file("run" + std::to_string(run));
        std::filesystem::create_directories(runFolder);
        busy.outputFile = runFolder + "/output.txt";
        busy.metricsFolder = runFolder + "/";
        theRandomGenerator.seed(4711);
        setUpRun(sim, busy);
        runToEnd(sim, 1000000);
        sim.reset();
        for (const char* name : {"output.txt", "FD_All_Pos_1500.csv", "Head_All_Neg_1500.csv", "Comp_All_Pos_1500.csv",
                                 "LC_All_All_Pos.csv", "LC_Rate_All_Neg.csv"})
            outputs[run] += readText(runFolder + "/" + name) + "|";
    }
    EXPECT_EQ(outputs[0], outputs[1]);
    EXPECT_GT(readLines(folder.file("run0/output.txt")).size(), 300u);
    EXPECT_GT(readLines(folder.file("run0/LC_All_All_Pos.csv")).size(), 3u) << "no lane change happened";
}

TEST_F(Run, AccelerationsAndGapsDescribeEachStepAsAWholeAcrossADoubleMove)
{
    // A vehicle that changes into a lane updated after its own is moved again there; what an
    // observer sees of the step is still its change of speed from start to end, and the gaps
    // between the vehicles as they stand at its end.
    study.lanesDir1 = study.fileLanesDir1 = 2;
    study.lanesDir2 = study.fileLanesDir2 = 0;
    study.timeStep = 0.1;
    study.laneChangesAllowed = true;
    writeTrafficFile(study.inputFile, mixedTraffic(300.0, 2, 1));
    setUpRun(sim, study);
    const double dt = study.timeStep;
    std::map<const Vehicle*, std::pair<double, int>> before;  // speed and lane at the step's start
    double smallestGap = std::numeric_limits<double>::infinity();
    int movesToAHigherLane = 0;
    for (int step = 0; step < 100000 && running; ++step)
    {
        const std::vector<std::vector<Vehicle*>>& lanes = sim.step(running);
        std::map<const Vehicle*, std::pair<double, int>> now;
        for (const std::vector<Vehicle*>& lane : lanes)
        {
            std::vector<const Vehicle*> byPosition(lane.begin(), lane.end());
            std::sort(byPosition.begin(), byPosition.end(),
                      [](const Vehicle* a, const Vehicle* b) { return a->getPosition() > b->getPosition(); });
            for (std::size_t i = 1; i < byPosition.size(); ++i)
                smallestGap = std::min(smallestGap, byPosition[i - 1]->getPosition() - byPosition[i - 1]->getLength() -
                                                        byPosition[i]->getPosition());
            for (const Vehicle* v : lane)
            {
                now[v] = {v->getVelocity(), v->getLane()};
                const auto start = before.find(v);
                if (start == before.end())
                    continue;
                movesToAHigherLane += v->getLane() > start->second.second ? 1 : 0;
                EXPECT_NEAR(v->getStepAcceleration(dt), (v->getVelocity() - start->second.first) / dt, 1e-9)
                    << "step " << step << ", lane " << start->second.second << " to " << v->getLane();
            }
        }
        before = std::move(now);
    }
    EXPECT_GT(movesToAHigherLane, 0) << "no double move was tried";
    EXPECT_DOUBLE_EQ(sim.getStatistics().gaps.minimumGap, smallestGap);
}

TEST_F(Run, StoppedRunLeavesCompleteFilesAndNoVehicles)
{
    study.lanesDir1 = study.lanesDir2 = study.fileLanesDir1 = study.fileLanesDir2 = 2;
    study.timeStep = 0.1;
    study.laneChangesAllowed = true;
    study.outputDetector1 = study.outputDetector2 = 300;
    study.addDetector(510, true, 200, 10);
    study.addDetector(513, false, 500, 10);
    writeTrafficFile(study.inputFile, mixedTraffic(600.0, 2, 5));
    setUpRun(sim, study);
    for (int step = 0; step < 1234; ++step)
        sim.step(running);
    ASSERT_TRUE(running);
    sim.reset();

    EXPECT_TRUE(sim.getVehicles().empty());
    EXPECT_DOUBLE_EQ(sim.getTime(), 0.0);
    for (const std::string& name :
         {study.outputFile, folder.file("FD_All_Pos_200.csv"), folder.file("LC_ST_All_Neg.csv")})
    {
        const std::string text = readText(name);
        ASSERT_FALSE(text.empty()) << name;
        EXPECT_EQ(text.back(), '\n') << name;
    }
    const std::vector<std::string> records = readLines(study.outputFile);
    EXPECT_GT(records.size(), 50u);
    for (const std::string& record : records)
        EXPECT_EQ(record.size(), 77u);
}

TEST_F(Run, FullDiskIsReportedAfterTheRunFinishedOrStopped)
{
    // Drivers that accelerate again after braking, so the road empties.
    study.setAllDrivers(DriverValues{});
    study.timeStep = 0.1;
    writeTrafficFile(study.inputFile, mixedTraffic(120.0, 1, 3));
    study.outputFile = "/dev/full";
    setUpRun(sim, study);
    EXPECT_LT(runToEnd(sim, 100000), 100000);
    EXPECT_TRUE(sim.getStatistics().outputWriteFailed);
    sim.reset();
    EXPECT_TRUE(sim.getStatistics().outputWriteFailed);

    // Stopped before the end: the failure shows once reset has flushed what was caught.
    setUpRun(sim, study);
    EXPECT_FALSE(sim.getStatistics().outputWriteFailed);
    running = true;
    for (int step = 0; step < 1500 && running; ++step)
        sim.step(running);
    sim.reset();
    EXPECT_TRUE(sim.getStatistics().outputWriteFailed);

    // A writable file reports nothing.
    study.outputFile = folder.file("output.txt");
    setUpRun(sim, study);
    runToEnd(sim, 100000);
    sim.reset();
    EXPECT_FALSE(sim.getStatistics().outputWriteFailed);
    EXPECT_GT(readLines(study.outputFile).size(), 10u);
}

TEST_F(Run, ListsOfEveryStepHoldEachLanesVehiclesInOrderWithTheirRoadX)
{
    // Lane changes, arrivals and departures in both directions change the lanes between steps.
    study.lanesDir1 = study.lanesDir2 = study.fileLanesDir1 = study.fileLanesDir2 = 2;
    study.laneChangesAllowed = true;
    study.setAllDrivers(DriverValues{});
    writeTrafficFile(study.inputFile, mixedTraffic(200.0, 2, 5));
    setUpRun(sim, study);
    int changedSteps = 0;
    std::vector<std::size_t> lastSizes(4, 0);
    while (running)
    {
        const std::vector<std::vector<Vehicle*>>& lists = sim.step(running);
        ASSERT_EQ(lists.size(), 4u);
        for (int lane = 0; lane < 4; ++lane)
        {
            const VehicleChain& vehicles = sim.getRoad().getLane(lane)->getVehicles();
            ASSERT_EQ(lists[lane].size(), vehicles.size());
            auto listed = lists[lane].begin();
            for (const Vehicle& v : vehicles)
            {
                ASSERT_EQ(*listed++, &v);
                EXPECT_EQ(v.getRoadX(), v.isDirectionPositive() ? v.getPosition() : 3000.0 - v.getPosition());
            }
            if (lists[lane].size() != lastSizes[lane])
                ++changedSteps;
            lastSizes[lane] = lists[lane].size();
        }
    }
    EXPECT_GT(changedSteps, 100);
}

TEST_F(Run, ProgressReachesAHundredOnlyWithTheStepThatEndsTheRun)
{
    // The file is read whole as the last vehicle enters; it still has 2.5 km to drive.
    writeTrafficFile(study.inputFile, {truckRecord(0.0, 1, 1, 16.0), truckRecord(10.0, 1, 1, 16.0)});
    setUpRun(sim, study);
    int stepsAtEveryPercentRead = 0;
    while (running)
    {
        sim.step(running);
        if (running)
        {
            EXPECT_LE(sim.getProgress(), 99);
            stepsAtEveryPercentRead += sim.getProgress() == 99 ? 1 : 0;
        }
    }
    EXPECT_EQ(sim.getProgress(), 100);
    EXPECT_GT(stepsAtEveryPercentRead, 100);  // the road drained after the file was read
}
