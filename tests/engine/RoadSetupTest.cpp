// How the road builds a run from the study: sections and detectors of direction 2 mirrored into
// its own coordinates, a speed limit acting where the study put it, and settings that a study
// file may hold but no run can use.

#include "EngineTestSupport.h"

#include "detectors/Detector.h"
#include "vehicles/RoadSegment.h"
#include "vehicles/Vehicle.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

CRoadFeature feature(unsigned short type, bool positive, int start, int end, double value)
{
    CRoadFeature definition;
    definition.setType(type);
    definition.setDirectionPositive(positive);
    definition.setStart(start);
    definition.setEnd(end);
    definition.setValue(value);
    return definition;
}

Vehicle* onlyVehicle(const Sim& sim, std::size_t lane)
{
    const auto& lists = sim.getVehicles();
    return lane < lists.size() && lists[lane].size() == 1 ? lists[lane][0] : nullptr;
}

}  // namespace

TEST(RoadSetup, DirectionTwoSectionsAndDetectorsAreMirroredIntoItsCoordinates)
{
    Sim sim;
    sim.setRoadLength(1000);
    Road& road = sim.getRoad();
    road.addRoadFeature(feature(401, false, 100, 300, 4.0));
    road.addRoadFeature(feature(400, false, 600, 400, 20.0));  // reversed ends
    road.addRoadFeature(feature(400, true, 600, 400, 20.0));
    road.addRoadFeature(feature(402, true, 0, 1000, 1.0));  // no such kind of section

    ASSERT_EQ(road.getSegments2().size(), 2u);
    EXPECT_EQ(road.getSegments2()[0]->getStart(), 700);
    EXPECT_EQ(road.getSegments2()[0]->getEnd(), 900);
    EXPECT_EQ(road.getSegments2()[1]->getStart(), 400);
    EXPECT_EQ(road.getSegments2()[1]->getEnd(), 600);
    ASSERT_EQ(road.getSegments1().size(), 1u);
    EXPECT_EQ(road.getSegments1()[0]->getStart(), 400);
    EXPECT_EQ(road.getSegments1()[0]->getEnd(), 600);

    TempFolder folder;
    CStatDetector definition;
    definition.setOutputFolder(folder.folder());
    definition.setDirectionPositive(false);
    definition.setLocation(300);
    road.addStatDetector(definition, 1, 1);
    ASSERT_EQ(road.getDetectors2().size(), 1u);
    EXPECT_EQ(road.getDetectors2()[0]->getLocation(), 700);

    road.setOutputDetectorLocation2(250);
    EXPECT_EQ(road.getOutputDetectorLocation2(), 750);
    sim.reset();  // never initialised: what the road built is still deleted
}

TEST(RoadSetup, DirectionTwoSpeedLimitActsBetweenItsRoadPositions)
{
    FarObstacle farObstacle;
    TempFolder folder;
    Study study;
    study.inputFile = folder.file("input.txt");
    study.outputFile = folder.file("output.txt");
    study.lanesDir1 = study.lanesDir2 = study.fileLanesDir1 = study.fileLanesDir2 = 1;
    // Road x 500 to 1500 m: 1500 to 2500 m into direction 2.
    study.features.push_back(feature(400, false, 500, 1500, 10.0));
    study.setAllDrivers(DriverValues{});  // 72 km/h: 20 m/s
    writeTrafficFile(study.inputFile, {carRecord(0.0, 2, 2, 20.0)});
    Sim sim;
    setUpRun(sim, study);

    bool running = true;
    auto driveTo = [&](double position) {
        Vehicle* v = nullptr;
        while (running && (!(v = onlyVehicle(sim, 1)) || v->getPosition() < position))
            sim.step(running);
        return v;
    };
    Vehicle* v = driveTo(1490.0);
    ASSERT_NE(v, nullptr);
    EXPECT_NEAR(v->getDesiredVelocity(), 20.0, 1e-6);
    EXPECT_DOUBLE_EQ(v->getRoadX(), 3000.0 - v->getPosition());
    v = driveTo(1510.0);
    EXPECT_NEAR(v->getDesiredVelocity(), 10.0, 1e-6);
    v = driveTo(2490.0);
    EXPECT_NEAR(v->getVelocity(), 10.0, 0.2);
    v = driveTo(2510.0);
    EXPECT_NEAR(v->getDesiredVelocity(), 20.0, 1e-6);
}

TEST(RoadSetup, SettingsNoRunCanUseEndOrBoundTheRunInsteadOfHangingOrCrashing)
{
    FarObstacle farObstacle;
    TempFolder folder;
    Study study;
    study.inputFile = folder.file("input.txt");
    study.outputFile = folder.file("output.txt");
    writeTrafficFile(study.inputFile, {carRecord(0.0, 1, 1, 20.0)});

    for (double step : {0.0, -0.1, std::numeric_limits<double>::quiet_NaN()})
    {
        Sim sim;
        study.timeStep = step;
        setUpRun(sim, study);
        EXPECT_EQ(runToEnd(sim, 10), 1) << step;
    }

    Sim sim;
    study.timeStep = 0.1;
    study.lanesDir1 = 1000000000;
    study.lanesDir2 = -3;
    setUpRun(sim, study);
    EXPECT_EQ(sim.getRoad().getLaneCount(), 9);
    runToEnd(sim, 100000);
    EXPECT_EQ(sim.getStatistics().vehiclesReleased, 1);
}
