#include "detectors/LaneChangeDetector.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {

const std::string eventsHeader =
    "LANE CHANGE - VERBOSE OUTPUT OF EVENTS\nTime,Position,From Lane,To Lane,Right/Left,Type\n\n";
const std::string compositionHeader =
    "LANE CHANGE - COMPOSITION OF EVENTS\n"
    "Time Interval,Car Changes,SmallTr Changes,LargeTr Changes,Crane Changes,LowLoad Changes\n";
const std::string spaceTimeHeader =
    "LANE CHANGE - SPACE TIME OF EVENTS\nLeft To Right,,Right To Left\nTime (s),Location (m),Time (s),Location (m)\n";
const std::string rateHeaderStart = "LANE CHANGE - RATES BY LOCATION AND TIME\nTime (s),Location (m)\n";

void advanceSeconds(Detector& detector, int seconds)
{
    for (int s = 0; s < seconds; ++s)
        detector.advance(1.0);
}

LaneChangeEvent change(int location, short vehicleClass, bool toLeft = true, double time = 10.0)
{
    return LaneChangeEvent(location, 1, 2, vehicleClass, toLeft, true, time);
}

}  // namespace

TEST(LaneChangeEvents, WritesTheTruckThatChangesLeft)
{
    TempFolder folder;
    {
        LaneChangeDetector detector(folder.withSlash(), 60.0, 250, 1000, true, 500);
        // Road x 480.7 m, truncated by the lane that creates the event.
        detector.record(LaneChangeEvent(480, 1, 2, 2, true, true, 12.3));
        detector.record(LaneChangeEvent(610, 2, 1, 0, false, true, 30.25));
        advanceSeconds(detector, 60);
        detector.finish();
    }
    EXPECT_EQ(folder.read("LC_All_All_Pos.csv"), eventsHeader + "12.3 ,480 ,1 ,2 ,Left ,LargeTr\n"
                                                                "30.25 ,610 ,2 ,1 ,Right ,Car\n");
    EXPECT_EQ(folder.read("LC_ST_All_Pos.csv"), spaceTimeHeader + ",,12.3,480\n"
                                                                  "30.25,610\n");
    EXPECT_EQ(folder.read("LC_Comp_All_Pos.csv"), compositionHeader + "60,1,0,1,0,0\n");
    // One change per 250 m bin in one minute: 1 / (0.25 km × 1/60 h) = 240 per km and hour.
    EXPECT_EQ(folder.read("LC_Rate_All_Pos.csv"), rateHeaderStart + ",0,250,500,750,1000,\n"
                                                                    "60,0,0,240,240,0\n");
}

TEST(LaneChangeEvents, NamesEveryClassAndCountsUnknownClassesAsCars)
{
    TempFolder folder;
    {
        LaneChangeDetector detector(folder.withSlash(), 10.0, 500, 1000, false, 500);
        for (short vehicleClass : {0, 1, 2, 3, 4, 9})
            detector.record(LaneChangeEvent(100, 3, 4, vehicleClass, false, false, 1.5));
        advanceSeconds(detector, 10);
    }
    EXPECT_EQ(folder.read("LC_All_All_Neg.csv"), eventsHeader + "1.5 ,100 ,3 ,4 ,Right ,Car\n"
                                                                "1.5 ,100 ,3 ,4 ,Right ,SmallTr\n"
                                                                "1.5 ,100 ,3 ,4 ,Right ,LargeTr\n"
                                                                "1.5 ,100 ,3 ,4 ,Right ,Crane\n"
                                                                "1.5 ,100 ,3 ,4 ,Right ,Lowload\n"
                                                                "1.5 ,100 ,3 ,4 ,Right ,\n");
    EXPECT_EQ(folder.read("LC_Comp_All_Neg.csv"), compositionHeader + "10,2,1,1,1,1\n");
}

TEST(LaneChangeEvents, LateClockTimesAreNotRoundedAway)
{
    TempFolder folder;
    {
        LaneChangeDetector detector(folder.withSlash(), 1000020.0, 1000, 1000, true, 500);
        detector.record(LaneChangeEvent(480, 1, 2, 2, true, true, 108000012.3));
        detector.record(LaneChangeEvent(480, 1, 2, 2, true, true, 108000071.85));
        detector.advance(1000020.0);
    }
    EXPECT_EQ(folder.read("LC_All_All_Pos.csv"), eventsHeader + "108000012.3 ,480 ,1 ,2 ,Left ,LargeTr\n"
                                                                "108000071.85 ,480 ,1 ,2 ,Left ,LargeTr\n");
    EXPECT_EQ(folder.read("LC_ST_All_Pos.csv"), spaceTimeHeader + ",,108000012.3,480\n,,108000071.85,480\n");
    EXPECT_EQ(folder.read("LC_Comp_All_Pos.csv"), compositionHeader + "1000020,0,0,2,0,0\n");
}

TEST(LaneChangeEvents, AnIntervalWithoutChangesWritesZeroRowsOnly)
{
    TempFolder folder;
    {
        LaneChangeDetector detector(folder.withSlash(), 30.0, 500, 1000, true, 501);
        advanceSeconds(detector, 60);
        advanceSeconds(detector, 29);  // incomplete: not written
        detector.finish();
    }
    EXPECT_EQ(folder.read("LC_All_Trucks_Pos.csv"), eventsHeader);
    EXPECT_EQ(folder.read("LC_ST_Trucks_Pos.csv"), spaceTimeHeader);
    EXPECT_EQ(folder.read("LC_Comp_Trucks_Pos.csv"), compositionHeader + "30,0,0,0,0,0\n60,0,0,0,0,0\n");
    EXPECT_EQ(folder.read("LC_Rate_Trucks_Pos.csv"), rateHeaderStart + ",0,500,1000,\n30,0,0,0\n60,0,0,0\n");
}

TEST(LaneChangeFilter, CarsOnlyRecordsCarChangesAndHasNoCompositionFile)
{
    TempFolder folder;
    {
        LaneChangeDetector detector(folder.withSlash(), 60.0, 1000, 1000, true, 502);
        detector.record(change(100, 0));
        detector.record(change(200, 2));
        EXPECT_EQ(detector.getEventCount(), 1);
        advanceSeconds(detector, 60);
        EXPECT_EQ(detector.getEventCount(), 0);
        detector.finish();
    }
    EXPECT_FALSE(folder.exists("LC_Comp_Car_Pos.csv"));
    EXPECT_EQ(folder.read("LC_All_Car_Pos.csv"), eventsHeader + "10 ,100 ,1 ,2 ,Left ,Car\n");
    EXPECT_EQ(folder.read("LC_Rate_Car_Pos.csv"), rateHeaderStart + ",0,1000,\n60,0,60\n");
}

TEST(LaneChangeBins, CoverTheRoadInStepsEndingAtItsLength)
{
    TempFolder folder;
    LaneChangeDetector detector(folder.withSlash(), 60.0, 300, 1000, true, 500);
    EXPECT_EQ(detector.getBinLocations(), (std::vector<int>{0, 300, 600, 900, 1000}));
    LaneChangeDetector exact(folder.withSlash() + "absent", 60.0, 250, 1000, true, 500);
    EXPECT_EQ(exact.getBinLocations(), (std::vector<int>{0, 250, 500, 750, 1000}));
}

TEST(LaneChangeBins, CountEachChangeUnderTheFirstBinBeyondIt)
{
    TempFolder folder;
    {
        LaneChangeDetector detector(folder.withSlash(), 3600.0, 300, 1000, true, 500);
        for (int location : {950, 100, 0, 299, 300, -3, 999})
            detector.record(change(location, 0));
        detector.advance(3600.0);
    }
    // Rates per km and hour with 0.3 km bins over one hour: a count of 1 is 3.33333.
    EXPECT_EQ(folder.read("LC_Rate_All_Pos.csv"), rateHeaderStart + ",0,300,600,900,1000,\n"
                                                                    "3600,3.33333,10,3.33333,0,6.66667\n");
}

TEST(LaneChangeBins, ChangesAtOrBeyondTheRoadEndStayInTheLastColumn)
{
    TempFolder folder;
    {
        LaneChangeDetector detector(folder.withSlash(), 3600.0, 500, 1000, true, 500);
        for (int location : {1000, 1009, 2000000000})
            detector.record(change(location, 0));
        detector.advance(3600.0);
    }
    EXPECT_EQ(folder.read("LC_Rate_All_Pos.csv"), rateHeaderStart + ",0,500,1000,\n3600,0,0,6\n");
    EXPECT_EQ(folder.read("LC_ST_All_Pos.csv"), spaceTimeHeader + ",,10,1000\n,,10,1009\n,,10,2e+09\n");
}

TEST(LaneChangeBins, AStepOfZeroOrLessGivesOneBinForTheWholeRoad)
{
    for (int step : {0, -250})
    {
        TempFolder folder;
        {
            LaneChangeDetector detector(folder.withSlash(), 3600.0, step, 1000, true, 500);
            EXPECT_EQ(detector.getBinLocations(), (std::vector<int>{0, 1000})) << step;
            detector.record(change(400, 0));
            detector.record(change(1005, 0));
            detector.advance(3600.0);
        }
        EXPECT_EQ(folder.read("LC_Rate_All_Pos.csv"), rateHeaderStart + ",0,1000,\n3600,0,2\n") << step;
    }
}

TEST(LaneChangeLifetime, AStoppedRunKeepsEveryCompletedInterval)
{
    TempFolder folder;
    {
        LaneChangeDetector detector(folder.withSlash(), 60.0, 500, 1000, true, 500);
        detector.record(change(480, 2, true, 12.3));
        advanceSeconds(detector, 60);
        detector.record(change(700, 2, false, 70.0));
        advanceSeconds(detector, 30);
    }
    EXPECT_EQ(folder.read("LC_All_All_Pos.csv"), eventsHeader + "12.3 ,480 ,1 ,2 ,Left ,LargeTr\n");
    EXPECT_EQ(folder.read("LC_Comp_All_Pos.csv"), compositionHeader + "60,0,0,1,0,0\n");
}

TEST(LaneChangeFolder, AMissingFolderLeavesTheFilesUnwrittenAndTheRunGoesOn)
{
    TempFolder folder;
    LaneChangeDetector detector(folder.withSlash() + "absent\\", 1.0, 100, 1000, true, 500);
    detector.record(change(480, 2));
    advanceSeconds(detector, 3);
    detector.finish();
    EXPECT_EQ(detector.getIntervalCount(), 3);
    EXPECT_TRUE(std::filesystem::is_empty(folder.path));
}

TEST(LaneChangeFolder, ADuplicateDetectorLeavesTheFirstOnesFilesIntact)
{
    TempFolder folder;
    {
        LaneChangeDetector first(folder.withSlash(), 60.0, 500, 1000, true, 500);
        LaneChangeDetector second(folder.withSlash(), 60.0, 500, 1000, true, 500);
        first.record(change(480, 2, true, 12.3));
        advanceSeconds(first, 60);
        advanceSeconds(second, 60);
    }
    EXPECT_EQ(folder.read("LC_All_All_Pos.csv"), eventsHeader + "12.3 ,480 ,1 ,2 ,Left ,LargeTr\n");
    EXPECT_EQ(folder.read("LC_Rate_All_Pos.csv"), rateHeaderStart + ",0,500,1000,\n60,0,120,0\n");
}

TEST(LaneChangeFiles, TheNamesKnownBeforehandAreTheFilesWrittenAndLostOnesAreTold)
{
    for (short types : {short(500), short(501), short(502), short(506)})
    {
        for (bool positive : {true, false})
        {
            TempFolder folder;
            {
                LaneChangeDetector detector(folder.withSlash(), 60.0, 1000, 3000, positive, types);
                std::vector<std::string> lost;
                detector.collectLostFiles(lost);
                EXPECT_TRUE(lost.empty());
            }
            std::vector<std::string> written;
            for (const auto& entry : std::filesystem::directory_iterator(folder.path))
                written.push_back(entry.path().filename().string());
            std::vector<std::string> named = LaneChangeDetector::fileNamesFor(types, positive);
            std::sort(written.begin(), written.end());
            std::sort(named.begin(), named.end());
            EXPECT_EQ(written, named);
        }
    }
    TempFolder folder;
    LaneChangeDetector detector(folder.withSlash() + "absent/", 60.0, 1000, 3000, true, 500);
    std::vector<std::string> lost;
    detector.collectLostFiles(lost);
    EXPECT_EQ(lost.size(), 4u);
}
