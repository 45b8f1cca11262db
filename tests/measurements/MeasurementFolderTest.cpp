#include "measurements/MeasurementFolder.h"
#include "measurements/DetectorFigures.h"
#include "measurements/DetectorIntervals.h"

#include "config/CStatDetector.h"

#include "detectors/LaneChangeDetector.h"
#include "detectors/MetricsDetector.h"
#include "detectors/TempFolder.h"
#include "detectors/TestVehicles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

void writeFile(const TempFolder& folder, const std::string& name, const std::string& content)
{
    std::ofstream(folder.file(name), std::ios::binary) << content;
}

std::vector<std::string> fileNames(const MeasurementFolder& read)
{
    std::vector<std::string> names;
    for (const MeasurementEntry& entry : read.entries)
        names.push_back(entry.path.filename().string());
    return names;
}

}  // namespace

TEST(MeasurementFolder, ReadsTheDetectorFilesInOrderAndReportsBrokenOnes)
{
    TempFolder folder;
    writeFile(folder, "Comp_All_Pos_2500.csv",
              "No. Cars,No. Small Trucks,No. Large Trucks,No. Cranes,No. Low-Loaders\n1,2,3,4,5\n");
    writeFile(folder, "Head_All_Neg_10.csv", "Headways (s)\nLane 1\n1\nfast\n");
    writeFile(folder, "notes.csv", "not a measurement file\n");
    writeFile(folder, "summary.txt", "Steps: 1\n");
    MeasurementFolder read = MeasurementFolder::read(folder.path);
    EXPECT_TRUE(read.error.empty());
    ASSERT_THAT(fileNames(read), ElementsAre("Head_All_Neg_10.csv", "Comp_All_Pos_2500.csv"));
    EXPECT_FALSE(read.entries[0].isRead());
    ASSERT_TRUE(read.entries[0].error);
    EXPECT_STREQ(read.entries[0].error->what(),
                 "Head_All_Neg_10.csv, line 4: expected a number for lane 1, found \"fast\"");
    ASSERT_TRUE(read.entries[1].isRead());
    EXPECT_THAT(std::get<CompositionTable>(read.entries[1].table).rows[0], ElementsAre(1, 2, 3, 4, 5));
}

TEST(MeasurementFolder, AMissingFolderIsAnErrorNamingIt)
{
    MeasurementFolder read = MeasurementFolder::read("/nonexistent/roadflux-metrics");
    EXPECT_TRUE(read.entries.empty());
    EXPECT_THAT(read.error, HasSubstr("/nonexistent/roadflux-metrics"));
}

// The readers must follow what the detectors write; a change of either side fails here.
TEST(MeasurementFolder, ReadsWhatTheDetectorsWrite)
{
    TempFolder folder;
    {
        MetricsDetector flows(folder.withSlash(), 510, true, 2, 500, 60, 1000, 2000);
        MetricsDetector headways(folder.withSlash(), 511, false, 2, 500, 60, 1000, 2000);
        LaneChangeDetector changes(folder.withSlash(), 60.0, 500, 2000, true, 500);
        auto slow = placedVehicle(1000.0, 20.0, 0, 1);
        auto fast = placedVehicle(1000.0, 30.0, 2, 1);
        flows.detect(slow.get(), 10.0);
        flows.detect(fast.get(), 20.0);
        headways.detect(slow.get(), 10.0);
        headways.detect(fast.get(), 20.0);
        changes.record(LaneChangeEvent(480, 1, 2, 2, true, true, 12.3));
        changes.record(LaneChangeEvent(1999, 2, 1, 0, false, true, 14.0));
        for (int second = 0; second < 120; ++second)
            for (Detector* detector : std::initializer_list<Detector*>{&flows, &headways, &changes})
                detector->advance(1.0);
        flows.finish();
        headways.finish();
        changes.finish();
    }
    MeasurementFolder read = MeasurementFolder::read(folder.path);
    ASSERT_EQ(read.entries.size(), 6u);
    for (const MeasurementEntry& entry : read.entries)
        EXPECT_TRUE(entry.isRead()) << (entry.error ? entry.error->what() : "");

    DetectorFigures flowFigures = DetectorFigures::of(read.entries[0].table, 60.0);
    EXPECT_EQ(read.entries[0].path.filename(), "FD_All_Pos_1000.csv");
    EXPECT_EQ(flowFigures.vehiclesCounted, 2);
    EXPECT_EQ(flowFigures.intervalSeconds, 60.0);
    EXPECT_EQ(flowFigures.maxFlow, 120.0);
    EXPECT_NEAR(*flowFigures.meanSpeed, 86.4, 1e-4);

    const auto& headwayTable = std::get<HeadwayTable>(read.entries[1].table);
    EXPECT_THAT(headwayTable.lanes[0], ElementsAre(10.0, 10.0));

    EXPECT_EQ(DetectorFigures::of(read.entries[2].table).laneChanges, 2);  // events
    EXPECT_EQ(DetectorFigures::of(read.entries[3].table).laneChanges, 2);  // classes
    const auto& points = std::get<LaneChangeSpaceTimeTable>(read.entries[4].table);
    EXPECT_EQ(points.rightToLeft.size(), 1u);
    EXPECT_EQ(points.leftToRight.size(), 1u);
    DetectorFigures rateFigures = DetectorFigures::of(read.entries[5].table);
    EXPECT_EQ(rateFigures.laneChanges, 2);
    // Two changes on 2 km in 2 minutes.
    EXPECT_NEAR(*rateFigures.laneChangeRate, 30.0, 1e-9);
}

TEST(DetectorIntervals, FindsEachFilesIntervalInTheDefinitions)
{
    std::vector<std::unique_ptr<CStatDetector>> definitions;
    auto define = [&](std::uint16_t kind, bool positive, std::uint16_t types, int interval, int location) {
        definitions.push_back(std::make_unique<CStatDetector>());
        definitions.back()->setKind(kind);
        definitions.back()->setDirectionPositive(positive);
        definitions.back()->setVehicleTypes(types);
        definitions.back()->setInterval(interval);
        definitions.back()->setLocation(location);
    };
    define(CStatDetector::flowAndDensity, true, CStatDetector::allVehicles, 60, 1500);
    define(CStatDetector::flowAndDensity, true, CStatDetector::allVehicles, 90, 1500);  // same file: not written
    define(CStatDetector::headway, false, CStatDetector::allTrucks, 120, 1500);
    define(CStatDetector::laneChanges, true, CStatDetector::allVehicles, 30, 250);
    DetectorIntervals intervals(definitions);
    EXPECT_EQ(intervals.of(*MeasurementFileName::parse("FD_All_Pos_1500.csv")), 60.0);
    EXPECT_EQ(intervals.of(*MeasurementFileName::parse("Head_Trucks_Neg_1500.csv")), 120.0);
    EXPECT_EQ(intervals.of(*MeasurementFileName::parse("LC_Rate_All_Pos.csv")), 30.0);
    EXPECT_EQ(intervals.of(*MeasurementFileName::parse("LC_ST_All_Pos.csv")), 30.0);
    EXPECT_FALSE(intervals.of(*MeasurementFileName::parse("FD_All_Neg_1500.csv")));
    EXPECT_FALSE(intervals.of(*MeasurementFileName::parse("Head_All_Neg_1500.csv")));
}
