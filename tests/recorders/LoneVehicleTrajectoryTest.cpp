// The trajectories of a run where each direction holds one vehicle of known motion: a car that
// accelerates at a steady 1 m/s² from 20 m/s, sampled once a second as the runner streams it.

#include "engine/EngineTestSupport.h"

#include "recorders/SpaceTimeDiagram.h"
#include "recorders/TrajectoryCsvWriter.h"
#include "recorders/TrajectoryRecorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Row
{
    double time = 0.0;
    int direction = 0;
    int lane = 0;
    double position = 0.0;
    double velocity = 0.0;
    double acceleration = 0.0;
    int vehicleClass = -1;
    long long vehicle = 0;
};

std::vector<Row> parseRows(const std::string& csv)
{
    std::istringstream in(csv);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, TrajectoryCsvWriter::header);
    std::vector<Row> rows;
    while (std::getline(in, line))
    {
        Row row;
        char comma = 0;
        std::istringstream fields(line);
        fields >> row.time >> comma >> row.direction >> comma >> row.lane >> comma >> row.position >> comma >>
            row.velocity >> comma >> row.acceleration >> comma >> row.vehicleClass >> comma >> row.vehicle;
        EXPECT_FALSE(fields.fail()) << line;
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

TEST(LoneVehicleTrajectory, FollowsItsKnownMotionInEachDirectionsOwnCoordinate)
{
    // A desired speed far above the car's keeps the free term at a: 1 - (v/v0)^4 > 0.9999998.
    DriverValues accelerating;
    accelerating.a = 1.0;
    accelerating.v0 = 10000.0;  // km/h
    FarObstacle farObstacle;
    TempFolder folder;
    Study study;
    study.inputFile = folder.file("input.txt");
    study.outputFile = folder.file("output.txt");
    study.metricsFolder = folder.folder();
    study.roadLength = 1000;
    study.lanesDir1 = 1;
    study.lanesDir2 = 1;
    study.fileLanesDir1 = 1;
    study.fileLanesDir2 = 1;
    study.setAllDrivers(accelerating);
    // Line 1: direction 1 at 100 s; line 2: direction 2, the road's lane 2, at 100 s.
    writeTrafficFile(study.inputFile, {carRecord(100.0, 1, 1, 20.0), carRecord(100.0, 2, 2, 20.0)});
    Sim sim;
    setUpRun(sim, study);

    std::ostringstream csv;
    TrajectoryCsvWriter writer(csv);
    TrajectoryRecorder recorder(sim.getTime());
    recorder.addSink(writer);
    SpaceTimeDiagram::Layout layout;
    layout.roadLength = 1000.0;
    layout.lanesDir1 = 1;
    layout.lanesDir2 = 1;
    layout.startTime = sim.getTime();
    SpaceTimeDiagram diagram(layout);
    recorder.addSink(diagram);
    bool running = true;
    for (int step = 0; step < 100000 && running; ++step)
    {
        const auto& lanes = sim.step(running);
        recorder.observe(sim.getTime(), lanes);
    }
    writer.flush();
    sim.reset();

    // 20 t + t²/2 passes 1010 m, where the car leaves, after about 29.2 s: 29 samples each.
    const std::vector<Row> rows = parseRows(csv.str());
    ASSERT_EQ(rows.size(), 58u);
    for (std::size_t i = 0; i < rows.size(); ++i)
    {
        const Row& row = rows[i];
        const auto t = static_cast<double>(i / 2 + 1);  // s since the release
        const int direction = i % 2 == 0 ? 1 : 2;
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_NEAR(row.time, 100.0 + t, 1e-9);
        EXPECT_EQ(row.direction, direction);
        EXPECT_EQ(row.lane, direction);
        EXPECT_EQ(row.vehicle, direction);
        EXPECT_EQ(row.vehicleClass, 0);
        EXPECT_NEAR(row.position, 20.0 * t + 0.5 * t * t, 0.01);
        EXPECT_NEAR(row.velocity, 20.0 + t, 0.002);
        EXPECT_NEAR(row.acceleration, 1.0, 0.001);
    }

    // Both paths are in the picture, in their own lanes, at their speeds: about 10 s after the
    // release (column 9 or 10 of 1 s) each car passes 250 m (row 50 of 5 m) at 30 m/s.
    for (int lane : {1, 2})
    {
        const float early = diagram.meanSpeed(lane, 9, 50);
        const float late = diagram.meanSpeed(lane, 10, 50);
        ASSERT_FALSE(std::isnan(early) && std::isnan(late)) << lane;
        EXPECT_NEAR(std::isnan(early) ? late : early, 30.0f, 0.6f) << lane;
    }
    EXPECT_NEAR(diagram.getMaximumSpeed(), 49.0f, 0.01f);
}
