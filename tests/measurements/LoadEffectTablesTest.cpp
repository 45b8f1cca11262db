// A bridge's files as a run writes them, read back: the rows, the seconds and the events the run
// kept, the complete intervals the run counted, and a file that is no bridge's refused by line.

#include "measurements/LoadEffectTables.h"
#include "loadeffects/LoadEffectRun.h"
#include "loadeffects/LoadEffectTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using ::testing::HasSubstr;

namespace {

std::string readError(const std::string& content)
{
    try
    {
        LoadEffectIntervalTable::read(CsvText("LE_x.csv", content));
    }
    catch (const BadFile& bad)
    {
        return bad.what();
    }
    return "(read)";
}

}  // namespace

TEST(LoadEffectTables, ReadBackWhatARunWrote)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("roadflux-le-tables-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(folder);
    constexpr double startTime = 21600000.0, timeStep = 0.1, speed = 20.0;
    const RoadLayout road{1000.0, 1, 1, timeStep};
    Bridge bridge;
    bridge.name = "Back";
    bridge.start = 100.0;
    bridge.span = 20.0;
    bridge.effect = BridgeEffect::midspanMoment;
    bridge.interval = 10.0;
    BridgeSet set;
    set.bridges = {bridge};
    std::vector<PreparedBridge> prepared;
    ASSERT_TRUE(LoadEffectRun::prepare(set, "", prepared).empty());

    // A single truck, then a pair 30 s later: two events over 45 s, the last interval short.
    auto truck = makeVehicle({{100.0, 0.0}}, 1, 1, 1);
    auto pairFront = makeVehicle({{60.0, 4.0}, {120.0, 0.0}}, 1, 1, 2);
    LoadEffectRun run(prepared, road, startTime, folder.string());
    run.openFiles();
    double clock = startTime;
    for (long long step = 1; step <= 450; ++step)
    {
        clock += timeStep;
        TestLanes lanes(2);
        if (step * speed * timeStep <= road.length)
            lanes.place(*truck, static_cast<double>(step) * speed * timeStep);
        if (step >= 300)
            lanes.place(*pairFront, static_cast<double>(step - 300) * speed * timeStep);
        run.observe(lanes.lists(), clock);
    }
    run.finish();

    const LoadEffectIntervalTable intervals =
        LoadEffectIntervalTable::read(CsvText::load(folder / "LE_Back.csv", "LE_Back.csv"));
    ASSERT_EQ(intervals.rows.size(), 5u);
    EXPECT_DOUBLE_EQ(intervalSecondsOf(intervals.rows), 10.0);
    std::vector<double> complete;
    for (const IntervalRow& row : completeRowsOf(intervals.rows))
        complete.push_back(row.maximum);
    EXPECT_EQ(complete, run.getMonitors()[0].getCompleteMaxima());
    EXPECT_EQ(complete.size(), 4u);

    const LoadEffectEventTable events =
        LoadEffectEventTable::read(CsvText::load(folder / "LE_Back_events.csv", "LE_Back_events.csv"));
    ASSERT_EQ(events.events.size(), run.getMonitors()[0].getEvents().getEvents().size());
    EXPECT_EQ(events.events[0].vehicles.size(), run.getMonitors()[0].getEvents().getEvents()[0].vehicles.size());

    const LoadEffectSecondTable seconds =
        LoadEffectSecondTable::read(CsvText::load(folder / "LE_Back_seconds.csv", "LE_Back_seconds.csv"));
    EXPECT_FALSE(seconds.rows.empty());
    // Each file is read by its own header only.
    EXPECT_THROW(LoadEffectSecondTable::read(CsvText::load(folder / "LE_Back.csv", "LE_Back.csv")), BadFile);
    std::filesystem::remove_all(folder);
}

TEST(LoadEffectTables, AFileThatIsNoBridgesIsRefusedByLine)
{
    const std::string header =
        "interval,end_time_s,maximum,time_of_maximum_s,minimum,time_of_minimum_s,vehicles,duration_s\n";
    EXPECT_EQ(readError(""), "LE_x.csv: the file is empty");
    EXPECT_EQ(readError("interval,end_time_s\n1,2,3\n"),
              "LE_x.csv, line 1: expected the heading \"maximum\", found \"\"");
    EXPECT_THAT(readError(header + "1,600,5,500,0,10,1,600\n1,2,3\n"),
                HasSubstr("LE_x.csv, line 3: expected 8 cells (interval to duration_s), found 3"));
    EXPECT_EQ(readError(header + "1,600,,500,0,10,1,600\n"),
              "LE_x.csv, line 2: expected a number for maximum, found \"\"");
}

TEST(LoadEffectTables, CompleteIntervalsAreThoseOfTheLongestRowWithinRounding)
{
    // Written with six significant digits a 600 s interval may read 599.999 or 600.001.
    const std::vector<IntervalRow> rows = {
        {1, 600, 5, 0, 0, 0, 1, 600.0}, {2, 1200, 6, 0, 0, 0, 1, 599.999}, {3, 1230, 9, 0, 0, 0, 1, 30.0}};
    EXPECT_DOUBLE_EQ(intervalSecondsOf(rows), 600.0);
    const std::vector<IntervalRow> complete = completeRowsOf(rows);
    ASSERT_EQ(complete.size(), 2u);
    EXPECT_EQ(complete[1].number, 2);
    EXPECT_TRUE(completeRowsOf({}).empty());
}
