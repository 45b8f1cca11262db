#include "replications/CalendarBlocks.h"

#include "outputfiles/BadFile.h"
#include "replications/ComparisonError.h"
#include "replications/RunFolders.h"

#include <gmock/gmock.h>

#include <cstdio>
#include <map>

using ::testing::HasSubstr;

namespace {
constexpr double day = 86400.0;

struct Second
{
    double end;
    double maximum;
};

class CalendarBlocksTest : public RunFolders
{
protected:
    // A run of the Deck bridge from `start` to `end` with these loaded seconds; the interval
    // rows (one per day, the maximum at its second) give the span.
    void writeRun(const std::string& name, double start, double end, const std::vector<Second>& seconds) const
    {
        std::string rows = "second,end_time_s,maximum,minimum\n";
        for (std::size_t i = 0; i < seconds.size(); ++i)
            rows += std::to_string(i + 1) + ',' + number(seconds[i].end) + ',' + number(seconds[i].maximum) + ",0\n";
        write(name, "LE_Deck_seconds.csv", rows);
        write(name, "LE_Deck.csv", intervalRows(start, end, {}));
        write(name, "summary.txt", summary(start, end, 10));
    }

    // Interval rows of a day each from start to end, with the maxima given by time.
    static std::string intervalRows(double start, double end, const std::map<double, double>& maxima)
    {
        std::string rows = "interval,end_time_s,maximum,time_of_maximum_s,minimum,time_of_minimum_s,vehicles,"
                           "duration_s\n";
        long long n = 1;
        for (double from = start; from < end; from += day, ++n)
        {
            const double to = std::min(from + day, end);
            double largest = 0.0;
            double at = from;
            for (const auto& [time, value] : maxima)
                if (time > from && time <= to && value > largest)
                {
                    largest = value;
                    at = time;
                }
            rows += std::to_string(n) + ',' + number(to) + ',' + number(largest) + ',' + number(at) + ",0," +
                    number(from) + ",3," + number(to - from) + '\n';
        }
        return rows;
    }

    static std::string number(double value)
    {
        char text[40];
        std::snprintf(text, sizeof text, "%.10g", value);
        return text;
    }

    static std::map<long long, double> byBlock(const BridgeBlocks& blocks)
    {
        std::map<long long, double> maxima;
        for (const CalendarBlock& block : blocks.whole)
            maxima[block.number] = block.maximum;
        return maxima;
    }

    // Four days of loads, the largest of each near one of its ends, one second across midnight.
    const std::vector<Second> fourDays = {
        {10.0, 300.0},        {day - 5.0, 600.0},      {day + 0.4, 650.0},  // 0.4 s in day 1: counts in day 0
        {day + 30.0, 500.0},  {2 * day - 1, 520.0},    {2 * day + 3, 80.0},
        {3 * day - 2, 910.0}, {3 * day + 7200, 400.0}, {4 * day - 0.5, 60.0}};
};
}

TEST_F(CalendarBlocksTest, EachDaysLargestEffectAcrossMidnightByTheMiddleOfItsSecond)
{
    writeRun("whole", 1.5, 4 * day + 90.0, fourDays);
    const BlockCollection collection = collectCalendarBlocks({run("whole")}, BlockLength::day);
    ASSERT_EQ(collection.bridges.size(), 1u);
    const BridgeBlocks& deck = collection.bridges.front();
    EXPECT_EQ(deck.bridge, "Deck");
    EXPECT_EQ(byBlock(deck), (std::map<long long, double>{{0, 650.0}, {1, 520.0}, {2, 910.0}, {3, 400.0}}));
    EXPECT_EQ(deck.whole.front().time, day + 0.4);
    // The 90 s of day 4 before the road emptied are a partial day, counted and left out.
    ASSERT_EQ(deck.partial.size(), 1u);
    EXPECT_EQ(deck.partial.front().number, 4);
    EXPECT_DOUBLE_EQ(deck.partial.front().covered, 90.0);
    EXPECT_EQ(deck.maxima(), (std::vector<double>{650.0, 520.0, 910.0, 400.0}));
    // Every file read is named for the claims of the outputs.
    EXPECT_EQ(collection.inputFiles.size(), 3u);
}

TEST_F(CalendarBlocksTest, TheSameMaximaWhetherTheDaysComeInOneRunOrFour)
{
    writeRun("whole", 1.5, 4 * day + 90.0, fourDays);
    // Each day a run of its own, from its first vehicle to a road empty a few minutes into the next.
    for (int d = 0; d < 4; ++d)
    {
        std::vector<Second> own;
        for (const Second& s : fourDays)
            if (s.end - 0.5 >= d * day && s.end - 0.5 < (d + 1) * day)
                own.push_back(s);
        writeRun("day" + std::to_string(d), d * day + 1.5, (d + 1) * day + 90.0, own);
    }
    const BridgeBlocks one = collectCalendarBlocks({run("whole")}, BlockLength::day).bridges.front();
    // Given in any order.
    const BridgeBlocks four =
        collectCalendarBlocks({run("day2"), run("day0"), run("day3"), run("day1")}, BlockLength::day).bridges.front();
    EXPECT_EQ(four.series, 1u);
    EXPECT_EQ(four.runs, 4u);
    EXPECT_EQ(byBlock(four), byBlock(one));
    EXPECT_EQ(four.partial.size(), one.partial.size());
}

TEST_F(CalendarBlocksTest, ADayTheRunsDoNotCoverWholeIsLeftOutAndCounted)
{
    // Recorded traffic from 08:00 of day 0 to 20:00 of day 2; a second run for day 5 alone.
    writeRun("recorded", 8 * 3600.0, 2 * day + 20 * 3600.0, {{9 * 3600.0, 100.0}, {day + 50.0, 200.0}});
    writeRun("later", 5 * day + 600.0, 6 * day + 30.0, {{5 * day + 4000.0, 300.0}});
    const BridgeBlocks deck = collectCalendarBlocks({run("recorded"), run("later")}, BlockLength::day).bridges.front();
    // Day 1 is whole; day 5 lacks only its first 10 minutes before the first vehicle.
    EXPECT_EQ(byBlock(deck), (std::map<long long, double>{{1, 200.0}, {5, 300.0}}));
    std::vector<long long> partial;
    for (const CalendarBlock& block : deck.partial)
        partial.push_back(block.number);
    EXPECT_EQ(partial, (std::vector<long long>{0, 2, 6}));
    EXPECT_EQ(deck.series, 1u);
}

TEST_F(CalendarBlocksTest, AnUnloadedDayHasAMaximumOfZeroEvenWhenItsLoadsAreNegative)
{
    writeRun("run", 0.0, 2 * day, {{100.0, -40.0}, {200.0, -10.0}});
    const BridgeBlocks deck = collectCalendarBlocks({run("run")}, BlockLength::day).bridges.front();
    EXPECT_EQ(byBlock(deck), (std::map<long long, double>{{0, 0.0}, {1, 0.0}}));
}

TEST_F(CalendarBlocksTest, ReplicationsOfTheSameDaysAreSeriesOfTheirOwn)
{
    writeRun("seed1", 2.0, 2 * day + 60.0, {{100.0, 10.0}, {day + 100.0, 11.0}});
    writeRun("seed2", 3.0, 2 * day + 50.0, {{100.0, 20.0}, {day + 100.0, 21.0}});
    const BridgeBlocks deck = collectCalendarBlocks({run("seed1"), run("seed2")}, BlockLength::day).bridges.front();
    EXPECT_EQ(deck.series, 2u);
    std::vector<double> maxima = deck.maxima();
    std::sort(maxima.begin(), maxima.end());
    EXPECT_EQ(maxima, (std::vector<double>{10.0, 11.0, 20.0, 21.0}));
}

TEST_F(CalendarBlocksTest, WeeksCountFromDayZeroOfTheClock)
{
    std::vector<Second> loads;
    for (int d = 0; d < 21; ++d)
        loads.push_back({d * day + 1000.0, 100.0 + d});
    writeRun("three-weeks", 0.5, 21 * day + 10.0, loads);
    const BridgeBlocks deck = collectCalendarBlocks({run("three-weeks")}, BlockLength::week).bridges.front();
    EXPECT_EQ(byBlock(deck), (std::map<long long, double>{{0, 106.0}, {1, 113.0}, {2, 120.0}}));
}

TEST_F(CalendarBlocksTest, WithoutASecondsFileTheIntervalRowsGiveMaximaAtTheirTimes)
{
    write("intervals", "LE_Deck.csv",
          intervalRows(0.0, 3 * day, {{500.0, 40.0}, {day + 7.0, 70.0}, {2 * day + 9.0, 55.0}}));
    const BridgeBlocks deck = collectCalendarBlocks({run("intervals")}, BlockLength::day).bridges.front();
    EXPECT_EQ(deck.runsFromIntervals, 1u);
    EXPECT_EQ(byBlock(deck), (std::map<long long, double>{{0, 40.0}, {1, 70.0}, {2, 55.0}}));
    EXPECT_EQ(deck.whole[1].time, day + 7.0);
}

TEST_F(CalendarBlocksTest, FoldersThatAreNoWholeRunWithLoadEffectsAreRefusedByName)
{
    writeRun("good", 0.0, day, {{10.0, 1.0}});
    writeRun("late.partial", 0.0, day, {{10.0, 1.0}});
    write("no-bridges", "summary.txt", summary(0.0, day, 3));
    write("far", "LE_Deck.csv", intervalRows(0.0, day, {{10.0, 1.0}}));
    write("far", "LE_Deck_seconds.csv", "second,end_time_s,maximum,minimum\n1,1e300,5,0\n");
    write("bad", "LE_Deck_seconds.csv", "second,end_time_s,maximum,minimum\n1,20,five,0\n");
    write("bad", "summary.txt", summary(0.0, day, 3));
    const auto refusal = [](std::vector<std::filesystem::path> runs) {
        try
        {
            collectCalendarBlocks(runs, BlockLength::day);
        }
        catch (const std::exception& refused)
        {
            return std::string(refused.what());
        }
        return std::string("accepted");
    };
    EXPECT_THAT(refusal({run("good"), run("late.partial")}), HasSubstr("late.partial: a run in progress"));
    EXPECT_THAT(refusal({run("no-bridges")}), HasSubstr("no-bridges: no load-effect files"));
    EXPECT_THAT(refusal({run("good"), run("good") / "."}), HasSubstr("named twice"));
    EXPECT_THAT(refusal({run("far")}), HasSubstr("outside the clock"));
    EXPECT_THAT(refusal({run("bad")}), HasSubstr("LE_Deck_seconds.csv, line 2"));
    // Without interval rows or a summary no span can be read.
    write("spanless", "LE_Deck_seconds.csv", "second,end_time_s,maximum,minimum\n1,20,5,0\n");
    EXPECT_THAT(refusal({run("spanless")}), HasSubstr("no span"));
    EXPECT_THAT(refusal({run("missing")}), HasSubstr("missing: not a folder"));
}
