#include "recorders/SpaceTimeDiagram.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TrajectorySample sampleAt(double time, int lane, double position, double velocity, long long vehicle)
{
    TrajectorySample sample;
    sample.time = time;
    sample.lane = lane;
    sample.direction = lane <= 2 ? 1 : 2;
    sample.position = position;
    sample.velocity = velocity;
    sample.vehicle = vehicle;
    return sample;
}

}  // namespace

TEST(SpaceTimeDiagramPicture, ShowsTheRecordedColumnsOfTheChosenLanes)
{
    SpaceTimeDiagram::Layout layout;
    layout.roadLength = 1000.0;
    layout.lanesDir1 = 2;
    layout.lanesDir2 = 1;
    layout.startTime = 100.0;
    layout.secondsPerColumn = 1.0;
    layout.columns = 10;
    layout.rows = 10;
    auto diagram = std::make_shared<SpaceTimeDiagram>(layout);
    // Lane 1's vehicle 7 at 450 m at 101.5 s; lane 3's vehicle 8 at 50 m at 102.5 s.
    TrajectorySample first[] = {sampleAt(101.5, 1, 450.0, 20.0, 7)};
    diagram->addSnapshot(101.5, first);
    TrajectorySample second[] = {sampleAt(102.5, 3, 50.0, 10.0, 8)};
    diagram->addSnapshot(102.5, second);

    SpaceTimeSource source = SpaceTimeDiagram::sourceOf(diagram);
    ASSERT_EQ(source.lanes.size(), 3u);
    EXPECT_EQ(source.lanes[2].number, 3);
    EXPECT_EQ(source.lanes[2].direction, 2);

    SpaceTimePicture lane1 = source.picture({1});
    EXPECT_EQ(lane1.columns, diagram->getUsedColumns());
    EXPECT_EQ(lane1.rows, 10);
    EXPECT_EQ(lane1.startTime, 100.0);
    EXPECT_EQ(lane1.metresPerRow, 100.0);
    EXPECT_EQ(lane1.speeds.size(), static_cast<std::size_t>(lane1.columns * 10));
    EXPECT_FLOAT_EQ(lane1.speedAt(1, 4), 20.0f);
    EXPECT_TRUE(std::isnan(lane1.speedAt(2, 0)));
    EXPECT_FLOAT_EQ(source.picture({3}).speedAt(2, 0), 10.0f);
    EXPECT_EQ(lane1.maximumSpeed, 20.0f);
}
