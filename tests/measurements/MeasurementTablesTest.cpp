#include "measurements/CompositionTable.h"
#include "measurements/FlowDensityTable.h"
#include "measurements/HeadwayTable.h"
#include "measurements/LaneChangeTables.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

const std::string twoLaneHeader =
    " ,Lane 1, , ,Lane 2, , ,Totals\n"
    "Interval No.,Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h),Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h),"
    "Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h)\n";

template <typename Table>
std::string errorOf(const std::string& content, const std::string& name = "file.csv")
{
    try
    {
        Table::read(CsvText(name, content));
    }
    catch (const BadFile& error)
    {
        return error.what();
    }
    return "no error";
}

}  // namespace

TEST(FlowDensityTable, ReadsLanesAndTotalsWithEmptyCellsAsNotANumber)
{
    FlowDensityTable table = FlowDensityTable::read(CsvText(
        "FD_All_Pos_1000.csv", twoLaneHeader + "1,,0,,1.38889,120,86.4,,120,\r\n2,2,120,60,1,60,60,3,180,60\n"));
    ASSERT_EQ(table.laneCount, 2);
    ASSERT_EQ(table.rows.size(), 2u);
    const FlowDensityRow& first = table.rows[0];
    EXPECT_EQ(first.interval, 1);
    EXPECT_TRUE(std::isnan(first.lanes[0].density));
    EXPECT_EQ(first.lanes[0].flow, 0.0);
    EXPECT_TRUE(std::isnan(first.lanes[0].speed));
    EXPECT_DOUBLE_EQ(first.lanes[1].density, 1.38889);
    EXPECT_DOUBLE_EQ(first.lanes[1].speed, 86.4);
    EXPECT_TRUE(std::isnan(first.totals.density));
    EXPECT_EQ(first.totals.flow, 120.0);
    EXPECT_EQ(table.rows[1].totals.density, 3.0);
}

TEST(FlowDensityTable, RecoversTheIntervalFromTheFlows)
{
    // 60 s intervals: every vehicle adds 60 veh/h. The smallest flow holds 3 vehicles.
    FlowDensityTable table =
        FlowDensityTable::read(CsvText("f", twoLaneHeader + "1,1,180,1,1,240,1,2,420,1\n2,1,300,1,,0,,,300,\n"));
    EXPECT_EQ(table.estimatedIntervalSeconds(), 60.0);
    // 7 s intervals: 514.286 veh/h per vehicle, written with six digits.
    table = FlowDensityTable::read(CsvText("f", twoLaneHeader + "1,1,514.286,1,1,1028.57,1,2,1542.86,1\n"));
    EXPECT_EQ(table.estimatedIntervalSeconds(), 7.0);
    table = FlowDensityTable::read(CsvText("f", twoLaneHeader + "1,,0,,,0,,,0,\n"));
    EXPECT_FALSE(table.estimatedIntervalSeconds());
}

TEST(FlowDensityTable, NamesFileAndLineOfWhatItCannotRead)
{
    EXPECT_EQ(errorOf<FlowDensityTable>(twoLaneHeader + "1,1,2,3\n", "FD_All_Pos_5.csv"),
              "FD_All_Pos_5.csv, line 3: expected 10 cells (the interval, then density, flow and speed for each "
              "lane and the totals), found 4");
    EXPECT_EQ(errorOf<FlowDensityTable>(twoLaneHeader + "1,1,2,3,4,x5,6,7,8,9\n"),
              "file.csv, line 3: expected a number for lane 2 flow, found \"x5\"");
    EXPECT_EQ(errorOf<FlowDensityTable>(twoLaneHeader + "1.5,1,2,3,4,5,6,7,8,9\n"),
              "file.csv, line 3: expected a whole number for the interval number, found \"1.5\"");
    EXPECT_THAT(errorOf<FlowDensityTable>(" ,Lane 1, , ,Lane 3,Totals\nInterval No.\n"), HasSubstr("line 1"));
    EXPECT_THAT(errorOf<FlowDensityTable>(" ,Lane 1, , ,Totals\n"), HasSubstr("line 2"));
    EXPECT_THAT(errorOf<FlowDensityTable>(""), HasSubstr("line 1"));
}

TEST(HeadwayTable, ReadsPaddedLanesAndSetsTheFirstHeadwayApart)
{
    HeadwayTable table = HeadwayTable::read(CsvText("h", "Headways (s)\nLane 1,Lane 2\n27074.2,27070.8\n6.5, \n 3,\n"));
    ASSERT_EQ(table.lanes.size(), 2u);
    EXPECT_THAT(table.lanes[0], ElementsAre(27074.2, 6.5, 3.0));
    EXPECT_THAT(table.lanes[1], ElementsAre(27070.8));
    EXPECT_THAT(table.gapsBetweenVehicles(0), ElementsAre(6.5, 3.0));
    EXPECT_TRUE(table.gapsBetweenVehicles(1).empty());
    EXPECT_TRUE(table.gapsBetweenVehicles(7).empty());

    EXPECT_EQ(errorOf<HeadwayTable>("Headways (s)\nLane 1,Lane 2\n1,2,3\n"),
              "file.csv, line 3: expected 2 cells (one per lane), found 3");
    EXPECT_EQ(errorOf<HeadwayTable>("Headways\n"), "file.csv, line 1: expected the heading \"Headways (s)\", found "
                                                   "\"Headways\"");
}

TEST(CompositionTable, ReadsClassCountsPerInterval)
{
    CompositionTable table = CompositionTable::read(
        CsvText("c", "No. Cars,No. Small Trucks,No. Large Trucks,No. Cranes,No. Low-Loaders\n55,6,6,2,1\n0,1,2,3,4\n"));
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_THAT(table.rows[0], ElementsAre(55, 6, 6, 2, 1));
    EXPECT_THAT(table.rows[1], ElementsAre(0, 1, 2, 3, 4));
    EXPECT_EQ(errorOf<CompositionTable>(
                  "No. Cars,No. Small Trucks,No. Large Trucks,No. Cranes,No. Low-Loaders\n1,2,-3,4,5\n"),
              "file.csv, line 2: the Large Truck count is negative");
}

TEST(LaneChangeTables, ReadEventsCompositionAndSpaceTime)
{
    LaneChangeEventTable events = LaneChangeEventTable::read(
        CsvText("e", "LANE CHANGE - VERBOSE OUTPUT OF EVENTS\nTime,Position,From Lane,To Lane,Right/Left,Type\n"
                     "\n12.3 ,480 ,1 ,2 ,Left ,LargeTr\n27036.75 ,38 ,2 ,1 ,Right ,Car\n"));
    ASSERT_EQ(events.events.size(), 2u);
    EXPECT_EQ(events.events[0].time, 12.3);
    EXPECT_EQ(events.events[0].location, 480);
    EXPECT_EQ(events.events[0].fromLane, 1);
    EXPECT_EQ(events.events[0].toLane, 2);
    EXPECT_TRUE(events.events[0].toLeft);
    EXPECT_EQ(events.events[0].vehicleClass, "LargeTr");
    EXPECT_FALSE(events.events[1].toLeft);

    LaneChangeCompositionTable classes = LaneChangeCompositionTable::read(
        CsvText("c", "LANE CHANGE - COMPOSITION OF EVENTS\nTime Interval,Car Changes,SmallTr Changes,"
                     "LargeTr Changes,Crane Changes,LowLoad Changes\n60,3,0,0,0,0\n120,9,1,1,0,2\n"));
    ASSERT_EQ(classes.rows.size(), 2u);
    EXPECT_EQ(classes.rows[1].elapsed, 120.0);
    EXPECT_THAT(classes.rows[1].changes, ElementsAre(9, 1, 1, 0, 2));

    LaneChangeSpaceTimeTable points = LaneChangeSpaceTimeTable::read(
        CsvText("s", "LANE CHANGE - SPACE TIME OF EVENTS\nLeft To Right,,Right To Left\n"
                     "Time (s),Location (m),Time (s),Location (m)\n27034.05,34\n,,12.3,480\n"));
    ASSERT_EQ(points.leftToRight.size(), 1u);
    ASSERT_EQ(points.rightToLeft.size(), 1u);
    EXPECT_EQ(points.leftToRight[0].time, 27034.05);
    EXPECT_EQ(points.leftToRight[0].location, 34.0);
    EXPECT_EQ(points.rightToLeft[0].time, 12.3);
    EXPECT_EQ(points.rightToLeft[0].location, 480.0);
    EXPECT_EQ(errorOf<LaneChangeSpaceTimeTable>("LANE CHANGE - SPACE TIME OF EVENTS\nLeft To Right,,Right To Left\n"
                                                "Time (s),Location (m),Time (s),Location (m)\n1,2,3\n"),
              "file.csv, line 4: expected a time and a location, in the first two columns or the last two");
}

TEST(LaneChangeTables, ReadRatesWithTheirBinsAndCountTheChanges)
{
    // 60 s intervals and 500 m bins: one change is 1 / (0.5 km × 1/60 h) = 120 per km and hour.
    LaneChangeRateTable rates =
        LaneChangeRateTable::read(CsvText("r", "LANE CHANGE - RATES BY LOCATION AND TIME\nTime (s),Location (m)\n"
                                               ",0,500,1000,1200,\n60,0,360,0,0\n120,0,1200,120,\n"));
    EXPECT_THAT(rates.binLocations, ElementsAre(0.0, 500.0, 1000.0, 1200.0));
    ASSERT_EQ(rates.rows.size(), 2u);
    EXPECT_THAT(rates.rows[0].rates, ElementsAre(0.0, 360.0, 0.0, 0.0));
    EXPECT_TRUE(std::isnan(rates.rows[1].rates[3]));
    EXPECT_EQ(rates.binWidth(), 500.0);
    EXPECT_EQ(rates.intervalSeconds(), 60.0);
    EXPECT_EQ(rates.changeCount(), 3 + 10 + 1);

    EXPECT_EQ(errorOf<LaneChangeRateTable>("LANE CHANGE - RATES BY LOCATION AND TIME\nTime (s),Location (m)\n"
                                           ",0,500,400,\n"),
              "file.csv, line 3: the bin locations must be ascending numbers");
}
