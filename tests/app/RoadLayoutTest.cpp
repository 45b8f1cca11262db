#include "app/CRoadLayout.h"

#include <gtest/gtest.h>

namespace {
CRoadLayout layoutOf(CStudyShape study, CDisplaySettings display = {})
{
    CRoadLayout layout;
    layout.update(study, display);
    return layout;
}
}

TEST(RoadLayout, DefaultStudyPutsDirectionOneBelowTheCentreLine)
{
    const CRoadLayout layout = layoutOf({});
    EXPECT_EQ(layout.yTop, -40);
    EXPECT_EQ(layout.yBottom, 80);
    EXPECT_EQ(layout.lanesHeight, 120);
    EXPECT_EQ(layout.tickCount, 7);
    EXPECT_EQ(layout.stepMs, 100);
    EXPECT_EQ(layout.worldWidth, 3120);
    EXPECT_EQ(layout.worldHeight, 180);
    EXPECT_DOUBLE_EQ(layout.laneCentre(1, 40.0), 60.0);   // kerb lane of direction 1: bottom band
    EXPECT_DOUBLE_EQ(layout.laneCentre(3, 40.0), -20.0);  // direction 2's only lane: top band
}

TEST(RoadLayout, DriveOnTheLeftSwapsTheCarriageways)
{
    CStudyShape study;
    study.drivesOnRight = false;
    const CRoadLayout layout = layoutOf(study);
    EXPECT_EQ(layout.yTop, -80);
    EXPECT_EQ(layout.yBottom, 40);
    EXPECT_DOUBLE_EQ(layout.laneCentre(1, 40.0), -60.0);  // lane 1 is the top band
    EXPECT_DOUBLE_EQ(layout.laneCentre(3, 40.0), 20.0);
}

TEST(RoadLayout, TicksStopAtTheLastWholeIntervalOnTheRoad)
{
    CStudyShape study;
    study.roadLength = 2999;
    EXPECT_EQ(layoutOf(study).tickCount, 6);
    CDisplaySettings noInterval;
    noInterval.tickInterval = 0;
    EXPECT_EQ(layoutOf({}, noInterval).tickCount, 0);
}

TEST(RoadLayout, StepLengthIsRoundedHalfUp)
{
    CStudyShape study;
    study.timeStep = 0.0995;
    EXPECT_EQ(layoutOf(study).stepMs, 100);
    study.timeStep = 0.0994;
    EXPECT_EQ(layoutOf(study).stepMs, 99);
}

TEST(RoadLayout, ClickBandsCountALineForTheLaneBelowIt)
{
    const CRoadLayout right = layoutOf({});
    EXPECT_EQ(right.laneIndexAt(79, 40.0), 0);
    EXPECT_EQ(right.laneIndexAt(40, 40.0), 0);  // on the line between lanes 1 and 2
    EXPECT_EQ(right.laneIndexAt(39, 40.0), 1);
    EXPECT_EQ(right.laneIndexAt(-1, 40.0), 2);
    EXPECT_EQ(right.laneIndexAt(-40, 40.0), -1);  // on the road edge
    EXPECT_EQ(right.laneIndexAt(80, 40.0), -1);

    CStudyShape study;
    study.drivesOnRight = false;
    const CRoadLayout left = layoutOf(study);
    EXPECT_EQ(left.laneIndexAt(-79, 40.0), 0);  // lane 1 at the top
    EXPECT_EQ(left.laneIndexAt(39, 40.0), 2);
}
