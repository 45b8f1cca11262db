// The space-time diagram: paths drawn between samples with their speeds, lanes merged into one
// picture, a run longer than the grid folded into it, and what lies off the road left out.

#include "recorders/SpaceTimeDiagram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TrajectorySample sampleOf(long long vehicle, int lane, double position, double velocity)
{
    TrajectorySample sample;
    sample.vehicle = vehicle;
    sample.lane = lane;
    sample.direction = lane <= 1 ? 1 : 2;
    sample.position = position;
    sample.velocity = velocity;
    return sample;
}

// A 1000 m road of 1 + 1 lanes in 10 m rows and 1 s columns, 100 columns wide.
SpaceTimeDiagram::Layout smallLayout()
{
    SpaceTimeDiagram::Layout layout;
    layout.roadLength = 1000.0;
    layout.lanesDir1 = 1;
    layout.lanesDir2 = 1;
    layout.startTime = 500.0;
    layout.secondsPerColumn = 1.0;
    layout.columns = 100;
    layout.rows = 100;
    return layout;
}

void addOne(SpaceTimeDiagram& diagram, double time, const TrajectorySample& sample)
{
    diagram.addSnapshot(time, std::span<const TrajectorySample>(&sample, 1));
}

}  // namespace

TEST(SpaceTimeDiagram, DrawsAPathWithoutHolesAndWithTheSpeedAlongIt)
{
    SpaceTimeDiagram diagram(smallLayout());
    EXPECT_EQ(diagram.getDirectionOfLane(1), 1);
    EXPECT_EQ(diagram.getDirectionOfLane(2), 2);
    EXPECT_EQ(diagram.getDirectionOfLane(3), 0);
    EXPECT_DOUBLE_EQ(diagram.getMetresPerRow(), 10.0);
    EXPECT_EQ(diagram.getUsedColumns(), 0);

    // 25 m/s sampled once a second at 0.5 s into each column: 2 to 3 rows per column.
    for (int k = 0; k < 20; ++k)
        addOne(diagram, 500.5 + k, sampleOf(1, 1, 25.0 * k, 25.0));
    EXPECT_EQ(diagram.getUsedColumns(), 20);
    for (int row = 0; row < 48; ++row)
    {
        int filled = 0;
        for (int column = 0; column < 20; ++column)
            if (!std::isnan(diagram.meanSpeed(1, column, row)))
            {
                ++filled;
                EXPECT_FLOAT_EQ(diagram.meanSpeed(1, column, row), 25.0f);
                // Row r is passed between 10 r / 25 s and 10 (r + 1) / 25 s.
                EXPECT_NEAR(column, row * 10.0 / 25.0, 1.0) << row;
            }
        EXPECT_GE(filled, 1) << "row " << row;
    }
    // Nothing elsewhere, nor in the other lane.
    EXPECT_TRUE(std::isnan(diagram.meanSpeed(1, 0, 50)));
    EXPECT_TRUE(std::isnan(diagram.meanSpeed(2, 0, 0)));
    EXPECT_FLOAT_EQ(diagram.getMaximumSpeed(), 25.0f);
}

TEST(SpaceTimeDiagram, AnIntervalsChangeOfSpeedIsSpreadAlongItsLine)
{
    SpaceTimeDiagram diagram(smallLayout());
    addOne(diagram, 500.5, sampleOf(1, 1, 0.0, 10.0));
    addOne(diagram, 510.5, sampleOf(1, 1, 100.0, 30.0));
    // Ten cells from column 0 to 10 and row 0 to 10: speeds 12, 14, ..., 30 m/s.
    EXPECT_FLOAT_EQ(diagram.meanSpeed(1, 0, 0), 10.0f);
    EXPECT_FLOAT_EQ(diagram.meanSpeed(1, 1, 1), 12.0f);
    EXPECT_FLOAT_EQ(diagram.meanSpeed(1, 5, 5), 20.0f);
    EXPECT_FLOAT_EQ(diagram.meanSpeed(1, 10, 10), 30.0f);
}

TEST(SpaceTimeDiagram, LanesMergeIntoOnePictureAndALaneChangeStartsAFreshPath)
{
    SpaceTimeDiagram diagram(smallLayout());
    const std::vector<TrajectorySample> first{sampleOf(1, 1, 55.0, 20.0), sampleOf(2, 2, 55.0, 10.0),
                                              sampleOf(3, 1, 57.0, 20.0)};
    diagram.addSnapshot(500.5, first);
    const std::vector<float> both = diagram.speedImage({1, 2});
    ASSERT_EQ(both.size(), 100u * 100u);
    // Cell (column 0, row 5): two vehicles at 20 m/s in lane 1 and one at 10 m/s in lane 2.
    EXPECT_NEAR(both[5 * 100 + 0], 50.0f / 3.0f, 1e-5);
    EXPECT_FLOAT_EQ(diagram.speedImage({2})[5 * 100 + 0], 10.0f);
    EXPECT_TRUE(std::isnan(both[0]));
    EXPECT_TRUE(std::isnan(diagram.speedImage({})[5 * 100 + 0]));

    // Vehicle 1 changes to lane 2 and is 300 m on: a point there, no line through either lane.
    addOne(diagram, 501.5, sampleOf(1, 2, 355.0, 20.0));
    EXPECT_FLOAT_EQ(diagram.meanSpeed(2, 1, 35), 20.0f);
    for (int row = 6; row < 35; ++row)
    {
        EXPECT_TRUE(std::isnan(diagram.meanSpeed(1, 1, row))) << row;
        EXPECT_TRUE(std::isnan(diagram.meanSpeed(2, 1, row))) << row;
    }
}

TEST(SpaceTimeDiagram, ARunLongerThanTheGridFoldsIntoIt)
{
    SpaceTimeDiagram::Layout layout = smallLayout();
    layout.columns = 4;
    SpaceTimeDiagram diagram(layout);
    // A vehicle standing at 5 m, sampled every second for 10 s: 4 columns hold 16 s at most.
    for (int k = 1; k <= 10; ++k)
        addOne(diagram, 500.0 + k, sampleOf(1, 1, 5.0, static_cast<double>(k)));
    EXPECT_DOUBLE_EQ(diagram.getSecondsPerColumn(), 4.0);
    EXPECT_EQ(diagram.getColumns(), 4);
    EXPECT_EQ(diagram.getUsedColumns(), 3);
    // Column 0 covers 500 to 504 s: the samples at 501, 502 and 503 s.
    EXPECT_FLOAT_EQ(diagram.meanSpeed(1, 0, 0), 2.0f);
    EXPECT_FLOAT_EQ(diagram.meanSpeed(1, 1, 0), 5.5f);
    EXPECT_FLOAT_EQ(diagram.meanSpeed(1, 2, 0), 9.0f);
    EXPECT_TRUE(std::isnan(diagram.meanSpeed(1, 3, 0)));

    // A day later the whole run still fits, at a coarser resolution.
    addOne(diagram, 500.0 + 86400.0, sampleOf(2, 1, 5.0, 1.0));
    EXPECT_LT(diagram.getUsedColumns(), 5);
    EXPECT_GE(diagram.getSecondsPerColumn() * 4, 86400.0);
}

TEST(SpaceTimeDiagram, LeavesOutWhatIsNotOnTheRoad)
{
    SpaceTimeDiagram diagram(smallLayout());
    // Leaving: from 990 m to 1010 m nothing is drawn beyond the road's end.
    addOne(diagram, 500.5, sampleOf(1, 1, 990.0, 20.0));
    addOne(diagram, 501.5, sampleOf(1, 1, 1010.0, 20.0));
    EXPECT_FLOAT_EQ(diagram.meanSpeed(1, 0, 99), 20.0f);
    EXPECT_TRUE(std::isnan(diagram.meanSpeed(1, 1, 100)));
    // No lane 7 on this road, and a snapshot from before the start is ignored.
    addOne(diagram, 502.5, sampleOf(2, 7, 10.0, 20.0));
    addOne(diagram, 400.0, sampleOf(3, 1, 10.0, 20.0));
    EXPECT_TRUE(std::isnan(diagram.meanSpeed(7, 2, 1)));
    EXPECT_TRUE(std::isnan(diagram.meanSpeed(1, 0, 1)));
}

TEST(SpaceTimeRaster, AFullCellKeepsItsMeanThroughCountingAndMerging)
{
    // A queue standing in one cell for a long run: more hits than a cell can count.
    SpaceTimeRaster raster(2, 1);
    for (int k = 0; k < 100000; ++k)
    {
        raster.add(0, 0, 4.0f);
        raster.add(1, 0, 2.0f);
    }
    EXPECT_NEAR(raster.meanSpeed(0, 0), 4.0f, 0.01f);
    raster.halveTimeResolution();
    EXPECT_NEAR(raster.meanSpeed(0, 0), 3.0f, 0.01f);
    EXPECT_TRUE(std::isnan(raster.meanSpeed(1, 0)));
    // Outside the grid nothing is kept and nothing breaks.
    raster.add(2, 0, 1.0f);
    raster.add(0, -1, 1.0f);
    EXPECT_EQ(raster.hits(2, 0), 0u);
}
