#include "measurements/LoadEffectFigures.h"
#include "measurements/BridgeResults.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

using ::testing::ElementsAre;

namespace {

const char* const seriesHeader =
    "interval,end_time_s,maximum,time_of_maximum_s,minimum,time_of_minimum_s,vehicles,duration_s\n";

void write(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path) << text;
}

class BridgeFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() /
                 ("roadflux-bridges-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
};

IntervalRow row(long long number, double end, double maximum, double duration = 600.0)
{
    return {number, end, maximum, end - 10.0, 0.0, end - 20.0, 3, duration};
}

}  // namespace

TEST_F(BridgeFolder, ReadsEachBridgesSeriesAndEventsAndNamesABrokenLine)
{
    write(folder / "LE_Deck.csv", std::string(seriesHeader) + "1,1600,500,1550,-20,1400,4,600\n"
                                                              "2,2200,700,1900,0,1700,6,600\n"
                                                              "3,2500,300,2450,0,2300,2,300\n");
    write(folder / "LE_Deck_events.csv", "rank,time_s,value,line,class,gross_weight_kN,lane,front_x_m\n"
                                         "1,1900,700,12,4,400,1,110\n1,1900,700,13,1,15,2,95\n"
                                         "2,1550,500,8,4,380,1,120\n");
    write(folder / "LE_Bad.csv", std::string(seriesHeader) + "1,1600,five,1550,0,1400,4,600\n");
    write(folder / "LE_Deck_seconds.csv", "second,end_time_s,maximum,minimum\n601,1601,12,0\n");
    write(folder / "FD_All_Pos_1500.csv", "not a bridge\n");

    std::vector<BridgeResults> bridges = BridgeResults::readFolder(folder);
    ASSERT_EQ(bridges.size(), 2u);
    EXPECT_EQ(bridges[0].name, "Bad");
    EXPECT_FALSE(bridges[0].isRead());
    EXPECT_THAT(std::string(bridges[0].error->what()), ::testing::HasSubstr("LE_Bad.csv, line 2"));

    const BridgeResults& deck = bridges[1];
    EXPECT_EQ(deck.name, "Deck");
    ASSERT_TRUE(deck.isRead());
    ASSERT_EQ(deck.rows.size(), 3u);
    EXPECT_EQ(deck.intervalSeconds(), 600.0);
    EXPECT_EQ(deck.runStart(), 1000.0);
    // The last interval was cut short by the end of the run: no maximum of the fit.
    EXPECT_THAT(deck.completeMaxima(), ElementsAre(500.0, 700.0));
    ASSERT_EQ(deck.events.size(), 2u);
    EXPECT_EQ(deck.events[0].vehicles.size(), 2u);
    EXPECT_EQ(deck.events[1].value, 500.0);
    ASSERT_TRUE(deck.hasSeconds);
    EXPECT_THAT(deck.seconds, ElementsAre(SecondRow{601, 1601, 12, 0}));
    EXPECT_FALSE(bridges[0].hasSeconds);
}

TEST_F(BridgeFolder, TakesEachBridgesUnitFromItsEffect)
{
    write(folder / "LE_Span.csv", std::string(seriesHeader) + "1,600,5,500,0,10,1,600\n");
    write(folder / "LE_Gate.csv", std::string(seriesHeader) + "1,600,5,500,0,10,1,600\n");
    write(folder / "LE_Other.csv", std::string(seriesHeader) + "1,600,5,500,0,10,1,600\n");
    write(folder / "study.bridges", "name,start_m,span_m,effect,directions,interval_s\n"
                                    "Span,100,20,midspan-moment,both,600\nGate,300,20,support-shear,1,600\n");
    std::vector<BridgeResults> bridges = BridgeResults::readFolder(folder);
    BridgeResults::takeUnitsFrom(bridges, (folder / "study.bridges").string());
    ASSERT_EQ(bridges.size(), 3u);
    EXPECT_EQ(bridges[0].unit, "kN");    // Gate
    EXPECT_EQ(bridges[1].unit, "");      // Other: not in the file
    EXPECT_EQ(bridges[2].unit, "kN m");  // Span
}

TEST(MaximaHistogram, SturgesBinsOverTheRangeWithTheLargestInTheLastBin)
{
    // Eight maxima: 4 bins of width (17 - 1) / 4 = 4.
    MaximaHistogram histogram = MaximaHistogram::of({1, 2, 4.9, 5, 9, 12, 16, 17});
    EXPECT_EQ(histogram.count, 8u);
    EXPECT_DOUBLE_EQ(histogram.mean, 8.3625);
    EXPECT_EQ(histogram.low, 1.0);
    EXPECT_EQ(histogram.binWidth, 4.0);
    EXPECT_THAT(histogram.bins, ElementsAre(3, 1, 2, 2));

    MaximaHistogram equal = MaximaHistogram::of({50, 50, 50});
    EXPECT_THAT(equal.bins, ElementsAre(3));
    EXPECT_LE(equal.low, 50.0);
    EXPECT_GT(equal.low + equal.binWidth, 50.0);
    EXPECT_TRUE(std::isnan(MaximaHistogram::of({}).mean));
}

TEST(GumbelPlot, PointsAtGringortenPositionsAndTheReturnLevelOnTheFittedLine)
{
    GumbelPlot plot = GumbelPlot::of({30, 10, 20, 40}, 1000.0);
    ASSERT_EQ(plot.points.size(), 4u);
    // Smallest first, at −ln(−ln((i − 0.44) / (n + 0.12))).
    EXPECT_EQ(plot.points[0].second, 10.0);
    EXPECT_NEAR(plot.points[0].first, -std::log(-std::log(0.56 / 4.12)), 1e-12);
    EXPECT_EQ(plot.points[3].second, 40.0);
    EXPECT_NEAR(plot.points[3].first, -std::log(-std::log(3.56 / 4.12)), 1e-12);
    ASSERT_TRUE(plot.fit);
    // The level exceeded once in 1000 intervals: µ + β (−ln(−ln(1 − 1/1000))) = µ + 6.9073 β.
    EXPECT_NEAR(plot.returnVariate, 6.907255, 1e-6);
    EXPECT_NEAR(plot.returnLevel, plot.fit->location + 6.907255 * plot.fit->scale, 1e-4);

    GumbelPlot alike = GumbelPlot::of({5, 5}, 1000.0);
    EXPECT_FALSE(alike.fit);
    EXPECT_EQ(alike.points.size(), 2u);
}

TEST(LoadEffectFigures, ReturnPeriodCountsIntervalsOfTheTrafficCalendarsYear)
{
    // The default calendar: 10 months of 25 days, 2.16e7 s a year.
    EXPECT_DOUBLE_EQ(LoadEffectFigures::secondsPerYear(), 2.16e7);
    EXPECT_DOUBLE_EQ(LoadEffectFigures::returnPeriodInIntervals(1000.0, 300.0), 7.2e7);
    EXPECT_DOUBLE_EQ(LoadEffectFigures::returnPeriodInIntervals(1.0, 86400.0), 250.0);
    EXPECT_EQ(LoadEffectFigures::returnPeriodInIntervals(1.0, 0.0), 0.0);
}

TEST(LoadEffectFigures, RowsOfAnHourAreThoseOverlappingIt)
{
    // 30-minute intervals from 1000 s: hour 1 is [1000, 4600).
    std::vector<IntervalRow> rows{row(1, 2800, 1, 1800), row(2, 4600, 2, 1800), row(3, 6400, 3, 1800),
                                  row(4, 7000, 4, 600)};
    EXPECT_EQ(LoadEffectFigures::rowsOfHour(rows, 1000.0, 0).size(), 4u);
    std::vector<IntervalRow> first = LoadEffectFigures::rowsOfHour(rows, 1000.0, 1);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[1].number, 2);
    std::vector<IntervalRow> second = LoadEffectFigures::rowsOfHour(rows, 1000.0, 2);
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(second[0].number, 3);
    EXPECT_EQ(LoadEffectFigures::hoursOf(rows, 1000.0), 2);
    EXPECT_TRUE(LoadEffectFigures::rowsOfHour(rows, 1000.0, 3).empty());
}

TEST(LoadEffectFigures, SecondsOfAnHourFillTheUnloadedOnesWithZeroAndKeepTheEndsOfEqualRuns)
{
    std::vector<SecondRow> seconds{{5, 5, 1, 0},        {3601, 3601, 4, -1}, {3602, 3602, 4, -1},
                                   {3603, 3603, 4, -1}, {3700, 3700, 2, 0},  {7300, 7300, 9, 0}};
    using Point = LoadEffectFigures::SecondPoint;
    EXPECT_THAT(LoadEffectFigures::secondsOfHour(seconds, 2),
                ElementsAre(Point{3601, 4, -1}, Point{3603, 4, -1}, Point{3604, 0, 0}, Point{3699, 0, 0},
                            Point{3700, 2, 0}, Point{3701, 0, 0}, Point{7200, 0, 0}));
    EXPECT_EQ(LoadEffectFigures::secondsOfHour(seconds, 1).front(), (Point{1, 0, 0}));
    EXPECT_TRUE(LoadEffectFigures::secondsOfHour(seconds, 0).empty());
    // The run ended at second 3650.
    EXPECT_THAT(LoadEffectFigures::secondsOfHour(seconds, 2, 3650),
                ElementsAre(Point{3601, 4, -1}, Point{3603, 4, -1}, Point{3604, 0, 0}, Point{3650, 0, 0}));
}
