#include "detectors/MetricsDetector.h"

#include "TempFolder.h"
#include "TestVehicles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

const std::string flowDensityHeader1 =
    " ,Lane 1, , ,Totals\n"
    "Interval No.,Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h),Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h)\n";
const std::string flowDensityHeader2 =
    " ,Lane 1, , ,Lane 2, , ,Totals\n"
    "Interval No.,Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h),Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h),"
    "Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h)\n";

void advanceSeconds(Detector& detector, int seconds)
{
    for (int s = 0; s < seconds; ++s)
        detector.advance(1.0);
}

// A vehicle whose front is exactly on the detector, so that its passage time is the step's start.
void pass(Detector& detector, double time, int lane, short vehicleClass = 0, double velocity = 25.0)
{
    auto vehicle = placedVehicle(detector.getLocation(), velocity, vehicleClass, lane);
    detector.detect(vehicle.get(), time);
}

}  // namespace

TEST(MetricsFlowDensity, WritesFlowSpeedAndDensityPerInterval)
{
    TempFolder folder;
    {
        MetricsDetector detector(folder.withSlash(), 510, true, 1, 500, 60, 1000, 2000);
        auto first = placedVehicle(1000.0, 20.0);
        auto second = placedVehicle(1000.0, 30.0);
        detector.detect(first.get(), 10.0);
        detector.detect(second.get(), 20.0);
        advanceSeconds(detector, 60);
        detector.finish();
    }
    EXPECT_EQ(folder.read("FD_All_Pos_1000.csv"), flowDensityHeader1 + "1,1.38889,120,86.4,1.38889,120,86.4\n");
}

TEST(MetricsFlowDensity, TotalsSumDensityAndFlowAndAverageTheLaneSpeeds)
{
    TempFolder folder;
    {
        MetricsDetector detector(folder.withSlash(), 510, true, 2, 500, 60, 1000, 2000);
        pass(detector, 1.0, 1, 0, 20.0);
        pass(detector, 2.0, 1, 0, 30.0);
        pass(detector, 3.0, 2, 0, 10.0);
        advanceSeconds(detector, 60);
        detector.finish();
    }
    // Lane 2: 60 veh/h at 36 km/h; totals 1.38889 + 1.66667, 180, (86.4 + 36) / 2.
    EXPECT_EQ(folder.read("FD_All_Pos_1000.csv"),
              flowDensityHeader2 + "1,1.38889,120,86.4,1.66667,60,36,3.05556,180,61.2\n");
}

TEST(MetricsFlowDensity, AnEmptyLaneOrAStoppedVehicleGivesEmptyCells)
{
    TempFolder folder;
    {
        MetricsDetector detector(folder.withSlash(), 510, true, 2, 500, 60, 1000, 2000);
        pass(detector, 1.0, 1, 0, 20.0);
        pass(detector, 2.0, 1, 0, 30.0);
        advanceSeconds(detector, 60);
        pass(detector, 61.0, 1, 0, 0.0);
        pass(detector, 62.0, 2, 0, 10.0);
        advanceSeconds(detector, 60);
        detector.finish();
    }
    EXPECT_EQ(folder.read("FD_All_Pos_1000.csv"), flowDensityHeader2 + "1,1.38889,120,86.4,,0,,,120,\n"
                                                                       "2,,60,0,1.66667,60,36,,120,18\n");
}

namespace {
// Keeps what a flow-and-density detector tells of each interval.
struct HeardRows : FlowDensityObserver
{
    struct Row
    {
        int interval;
        std::vector<FlowDensityFigures> groups;
    };
    std::vector<Row> rows;

    void intervalEnded(const MetricsDetector&, int interval, std::span<const FlowDensityFigures> groups) override
    {
        rows.push_back({interval, {groups.begin(), groups.end()}});
    }
};
}  // namespace

TEST(MetricsFlowDensity, AnObserverHearsEachRowAsWrittenUntilItIsTakenAway)
{
    TempFolder folder;
    HeardRows heard;
    {
        MetricsDetector detector(folder.withSlash(), 510, true, 2, 500, 60, 1000, 2000);
        detector.setFlowDensityObserver(&heard);
        pass(detector, 1.0, 1, 0, 20.0);
        pass(detector, 2.0, 1, 0, 30.0);
        pass(detector, 3.0, 2, 0, 10.0);
        advanceSeconds(detector, 60);
        advanceSeconds(detector, 60);
        detector.setFlowDensityObserver(nullptr);
        advanceSeconds(detector, 60);
        detector.finish();
    }
    ASSERT_EQ(heard.rows.size(), 2u);
    // The file's first row: 1,1.38889,120,86.4,1.66667,60,36,3.05556,180,61.2
    const HeardRows::Row& first = heard.rows[0];
    EXPECT_EQ(first.interval, 1);
    ASSERT_EQ(first.groups.size(), 3u);
    EXPECT_NEAR(first.groups[0].density, 1.38889, 1e-5);
    EXPECT_DOUBLE_EQ(first.groups[0].flow, 120.0);
    EXPECT_DOUBLE_EQ(first.groups[0].speed, 86.4);
    EXPECT_DOUBLE_EQ(first.groups[1].speed, 36.0);
    EXPECT_NEAR(first.groups[2].density, 3.05556, 1e-5);
    EXPECT_DOUBLE_EQ(first.groups[2].flow, 180.0);
    EXPECT_DOUBLE_EQ(first.groups[2].speed, 61.2);
    // An interval without vehicles: no speed, as the file's empty cells.
    EXPECT_EQ(heard.rows[1].interval, 2);
    EXPECT_DOUBLE_EQ(heard.rows[1].groups[0].flow, 0.0);
    EXPECT_TRUE(std::isnan(heard.rows[1].groups[0].speed));
    EXPECT_TRUE(std::isnan(heard.rows[1].groups[2].speed));
    EXPECT_EQ(folder.read("FD_All_Pos_1000.csv"),
              flowDensityHeader2 + "1,1.38889,120,86.4,1.66667,60,36,3.05556,180,61.2\n2,,0,,,0,,,0,\n3,,0,,,0,,,0,\n");
}

TEST(MetricsFlowDensity, CountsOnlyWhatPassedBeforeTheIntervalEndedAndDropsTheLastPartialInterval)
{
    TempFolder folder;
    {
        MetricsDetector detector(folder.withSlash(), 510, true, 1, 500, 10, 1000, 2000);
        advanceSeconds(detector, 9);
        pass(detector, 9.0, 1, 0, 25.0);
        advanceSeconds(detector, 1);  // interval 1 ends before this step's vehicles move
        pass(detector, 10.0, 1, 0, 25.0);
        pass(detector, 11.0, 1, 0, 25.0);
        advanceSeconds(detector, 10);
        pass(detector, 20.0, 1, 0, 25.0);
        advanceSeconds(detector, 9);
        detector.finish();
    }
    EXPECT_EQ(folder.read("FD_All_Pos_1000.csv"), flowDensityHeader1 + "1,4,360,90,4,360,90\n"
                                                                       "2,8,720,90,8,720,90\n");
}

TEST(MetricsFlowDensity, CountsDirectionTwoVehiclesByTheirLaneInTheirDirection)
{
    TempFolder folder;
    {
        // Road of 3000 m, direction 2 detector configured at road x 1000 m.
        MetricsDetector detector(folder.withSlash(), 510, false, 2, 500, 60, 2000, 3000);
        // Four lanes in all; road-wide lane 4 is direction 2's first lane.
        auto kerbSide = placedVehicle(2000.0, 20.0, 0, 4, 4, false);
        detector.detect(kerbSide.get(), 5.0);
        auto outOfRange = placedVehicle(2000.0, 20.0, 0, 1, 4, false);  // lane 4 of a 2-lane direction
        detector.detect(outOfRange.get(), 5.0);
        advanceSeconds(detector, 60);
        detector.finish();
    }
    EXPECT_EQ(folder.read("FD_All_Neg_1000.csv"), flowDensityHeader2 + "1,0.833333,60,72,,0,,,60,\n");
}

TEST(MetricsFilter, CountsOnlyTheVehicleTypesOfTheDetector)
{
    TempFolder folder;
    {
        MetricsDetector detector(folder.withSlash(), 510, true, 1, 504, 60, 500, 2000);
        pass(detector, 1.0, 1, 2, 20.0);  // large truck
        pass(detector, 2.0, 1, 0, 20.0);  // car
        pass(detector, 3.0, 1, 1, 20.0);  // small truck
        advanceSeconds(detector, 60);
    }
    EXPECT_EQ(folder.read("FD_LT_Pos_500.csv"), flowDensityHeader1 + "1,0.833333,60,72,0.833333,60,72\n");
}

TEST(MetricsHeadway, WritesEveryHeadwayPerLanePaddedWithBlanks)
{
    TempFolder folder;
    {
        MetricsDetector detector(folder.withSlash(), 511, true, 2, 500, 10, 100, 2000);
        pass(detector, 5.0, 1);
        pass(detector, 6.0, 2);
        pass(detector, 7.0, 1);
        pass(detector, 8.5, 1);
        advanceSeconds(detector, 10);
        pass(detector, 13.0, 2);
        advanceSeconds(detector, 10);
        advanceSeconds(detector, 10);  // nothing passed: no rows
        pass(detector, 31.0, 1);
        advanceSeconds(detector, 10);
        detector.finish();
    }
    EXPECT_EQ(folder.read("Head_All_Pos_100.csv"), "Headways (s)\n"
                                                   "Lane 1,Lane 2\n"
                                                   "5,6\n"
                                                   "2, \n"
                                                   "1.5, \n"
                                                   " ,7\n"
                                                   "22.5, \n");
}

TEST(MetricsHeadway, UsesThePassageTimeOfEachVehicle)
{
    TempFolder folder;
    {
        MetricsDetector detector(folder.withSlash(), 511, true, 1, 500, 10, 100, 2000);
        auto first = placedVehicle(102.0, 20.0);  // at the detector 0.1 s before the step's start
        detector.detect(first.get(), 3.0);
        auto second = placedVehicle(100.5, 0.0);  // stopped just past it: the step's start
        detector.detect(second.get(), 4.0);
        advanceSeconds(detector, 10);
    }
    EXPECT_EQ(folder.read("Head_All_Pos_100.csv"), "Headways (s)\nLane 1\n2.9\n1.1\n");
}

TEST(MetricsComposition, CountsTheClassesOfEachInterval)
{
    TempFolder folder;
    {
        MetricsDetector detector(folder.withSlash(), 512, true, 2, 500, 60, 1000, 2000);
        for (short vehicleClass : {0, 0, 2, 3, 4, 1, 7})
            pass(detector, 1.0, 1, vehicleClass);
        advanceSeconds(detector, 60);
        advanceSeconds(detector, 60);
        detector.finish();
    }
    EXPECT_EQ(folder.read("Comp_All_Pos_1000.csv"),
              "No. Cars,No. Small Trucks,No. Large Trucks,No. Cranes,No. Low-Loaders\n"
              "3,1,1,1,1\n"
              "0,0,0,0,0\n");
}

TEST(MetricsComposition, TrucksOnlyLeaveTheCarColumnAtZero)
{
    TempFolder folder;
    {
        MetricsDetector detector(folder.withSlash(), 512, true, 1, 501, 60, 1000, 2000);
        for (short vehicleClass : {0, 0, 2, 2})
            pass(detector, 1.0, 1, vehicleClass);
        advanceSeconds(detector, 60);
    }
    EXPECT_EQ(folder.read("Comp_Trucks_Pos_1000.csv"),
              "No. Cars,No. Small Trucks,No. Large Trucks,No. Cranes,No. Low-Loaders\n0,0,2,0,0\n");
}

TEST(MetricsComposition, OtherVehicleTypesCreateNoFile)
{
    TempFolder folder;
    MetricsDetector detector(folder.withSlash(), 512, true, 1, 502, 60, 1000, 2000);
    pass(detector, 1.0, 1, 0);
    advanceSeconds(detector, 60);
    detector.finish();
    EXPECT_TRUE(std::filesystem::is_empty(folder.path));
}

TEST(MetricsFolder, AcceptsAFolderWithOrWithoutATrailingSeparator)
{
    TempFolder folder;
    {
        MetricsDetector plain(folder.path.string(), 510, true, 1, 500, 60, 100, 2000);
        MetricsDetector backslash(folder.path.string() + "\\", 511, true, 1, 500, 60, 100, 2000);
    }
    EXPECT_EQ(folder.read("FD_All_Pos_100.csv"), flowDensityHeader1);
    EXPECT_EQ(folder.read("Head_All_Pos_100.csv"), "Headways (s)\nLane 1\n");
}

TEST(MetricsFolder, AMissingFolderLeavesTheFilesUnwrittenAndTheRunGoesOn)
{
    TempFolder folder;
    MetricsDetector detector(folder.withSlash() + "absent/", 510, true, 1, 500, 1, 100, 2000);
    pass(detector, 1.0, 1);
    advanceSeconds(detector, 3);
    detector.finish();
    EXPECT_EQ(detector.getIntervalCount(), 3);
    EXPECT_TRUE(std::filesystem::is_empty(folder.path));
    // The run goes on, but the file is not passed off as written.
    std::vector<std::string> lost;
    detector.collectLostFiles(lost);
    EXPECT_EQ(lost, std::vector<std::string>{folder.withSlash() + "absent/FD_All_Pos_100.csv"});
}

TEST(MetricsFolder, TheWindowsDefaultFolderCreatesNothingHere)
{
    TempFolder folder;
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path);
    {
        MetricsDetector detector("C:\\Roadflux\\Metrics\\", 510, true, 1, 500, 1, 100, 2000);
        advanceSeconds(detector, 2);
    }
    std::filesystem::current_path(previous);
    EXPECT_TRUE(std::filesystem::is_empty(folder.path));
}

TEST(MetricsLifetime, AStoppedRunKeepsEveryCompletedRow)
{
    TempFolder folder;
    {
        MetricsDetector detector(folder.withSlash(), 510, true, 1, 500, 60, 1000, 2000);
        pass(detector, 1.0, 1, 0, 20.0);
        pass(detector, 2.0, 1, 0, 30.0);
        advanceSeconds(detector, 90);
        // No finish(): the run was stopped and the detector is simply destroyed.
    }
    EXPECT_EQ(folder.read("FD_All_Pos_1000.csv"), flowDensityHeader1 + "1,1.38889,120,86.4,1.38889,120,86.4\n");
}

TEST(MetricsNames, NameTheFileAfterKindTypeDirectionAndRoadX)
{
    TempFolder folder;
    EXPECT_EQ(MetricsDetector(folder.withSlash(), 510, true, 1, 500, 60, 1000, 3000).fileName(), "FD_All_Pos_1000.csv");
    EXPECT_EQ(MetricsDetector(folder.withSlash(), 511, false, 1, 503, 60, 2500, 3000).fileName(),
              "Head_ST_Neg_500.csv");
    EXPECT_EQ(MetricsDetector(folder.withSlash(), 512, true, 1, 501, 60, 0, 3000).fileName(), "Comp_Trucks_Pos_0.csv");
    // The names known before any detector exists are the names detectors write.
    EXPECT_EQ(MetricsDetector::fileNameFor(511, 503, false, 500), "Head_ST_Neg_500.csv");
    EXPECT_EQ(MetricsDetector::fileNameFor(514, 500, true, 7), "FD_All_Pos_7.csv");
    EXPECT_EQ(MetricsDetector::fileNameFor(512, 502, true, 7), "");
    {
        MetricsDetector written(folder.withSlash(), 511, false, 1, 503, 60, 2500, 3000);
    }
    EXPECT_TRUE(folder.exists("Head_ST_Neg_500.csv"));
}
