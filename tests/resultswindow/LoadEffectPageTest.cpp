#include "charts/ChartsTestSupport.h"

#include "charts/LoadEffectCharts.h"
#include "measurements/GumbelFigures.h"
#include "measurements/LoadEffectFigures.h"
#include "resultswindow/ChartPanel.h"
#include "resultswindow/LoadEffectPage.h"
#include "resultswindow/ResultsWindow.h"

#include <QAreaSeries>
#include <QDoubleSpinBox>
#include <QLineSeries>
#include <QScatterSeries>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QValueAxis>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

// A bridge with 30-minute intervals from 1000 s; the fourth is cut short by the end of the run.
BridgeResults deck()
{
    BridgeResults bridge;
    bridge.name = "Deck";
    bridge.seriesPath = "metrics/LE_Deck.csv";
    bridge.unit = "kN m";
    bridge.rows = {{1, 2800, 100, 1600, -5, 1300, 3, 1800},
                   {2, 4600, 300, 4000, 0, 3000, 5, 1800},
                   {3, 6400, 200, 5200, 0, 4700, 4, 1800},
                   {4, 7000, 50, 6900, 0, 6500, 1, 600}};
    bridge.events = {{300, 4000, {}}, {250, 4100, {}}, {200, 5200, {}}};
    return bridge;
}

// Six complete 30-minute intervals and a seventh cut short: enough maxima for a fit.
BridgeResults longDeck()
{
    BridgeResults bridge = deck();
    bridge.rows = {{1, 2800, 100, 1600, 0, 1300, 3, 1800},  {2, 4600, 300, 4000, 0, 3000, 5, 1800},
                   {3, 6400, 200, 5200, 0, 4700, 4, 1800},  {4, 8200, 250, 7000, 0, 6500, 4, 1800},
                   {5, 10000, 150, 9000, 0, 8500, 2, 1800}, {6, 11800, 180, 11000, 0, 10500, 3, 1800},
                   {7, 12000, 900, 11900, 0, 11850, 1, 200}};
    return bridge;
}

QValueAxis* axis(const QChart& chart, Qt::Orientation orientation)
{
    return qobject_cast<QValueAxis*>(chart.axes(orientation).first());
}

}  // namespace

TEST(LoadEffectCharts, IntervalChartShowsEachIntervalsExtremesAtTheirTimesAndTheLargestEvents)
{
    std::vector<ResultChart> charts = loadEffectCharts(deck(), {});
    ASSERT_EQ(charts.size(), 4u);
    const QChart& whole = *chartNamed(charts, QStringLiteral("load-effect-intervals")).chart;
    EXPECT_EQ(axis(whole, Qt::Vertical)->titleText(), QStringLiteral("Load effect (kN m)"));
    EXPECT_EQ(axis(whole, Qt::Horizontal)->titleText(), QStringLiteral("Time of day (hh:mm)"));
    QList<QLineSeries*> lines = seriesOf<QLineSeries>(whole);
    ASSERT_EQ(lines.size(), 2u);
    // Maxima at their times of day, as the files and the road view give them; the last interval,
    // cut short by the run's end, is apart from the line and named so.
    ASSERT_EQ(lines[0]->count(), 3);
    EXPECT_EQ(lines[0]->at(0), QPointF(1600.0, 100.0));
    EXPECT_EQ(lines[0]->at(2), QPointF(5200.0, 200.0));
    EXPECT_EQ(lines[1]->at(0), QPointF(1300.0, -5.0));
    QList<QScatterSeries*> points = seriesOf<QScatterSeries>(whole);
    ASSERT_EQ(points.size(), 2);
    EXPECT_EQ(points[0]->name(), QStringLiteral("Incomplete last interval (600 of 1800 s, not fitted)"));
    EXPECT_EQ(points[0]->points(), QList<QPointF>({{6900.0, 50.0}, {6500.0, 0.0}}));
    EXPECT_EQ(points[1]->count(), 3);
    EXPECT_DOUBLE_EQ(axis(whole, Qt::Horizontal)->min(), 1000.0);
    EXPECT_DOUBLE_EQ(axis(whole, Qt::Horizontal)->max(), 7000.0);
}

TEST(LoadEffectCharts, HourChartShowsTheSecondsOfTheHourAndTheIntervalsWithoutThem)
{
    // Without a seconds file: hour 2 of the run is [4600, 8200) s, with the intervals overlapping
    // it and the event at 5200 s only.
    std::vector<ResultChart> second = loadEffectCharts(deck(), {2, 1000.0});
    const QChart& hour = *chartNamed(second, QStringLiteral("load-effect-hour")).chart;
    EXPECT_THAT(hour.title().toStdString(), ::testing::HasSubstr("hour 2 of the run (no second-by-second file)"));
    EXPECT_DOUBLE_EQ(axis(hour, Qt::Horizontal)->min(), 4600.0);
    EXPECT_DOUBLE_EQ(axis(hour, Qt::Horizontal)->max(), 8200.0);
    EXPECT_EQ(seriesOf<QLineSeries>(hour).first()->count(), 1);
    ASSERT_EQ(seriesOf<QScatterSeries>(hour).last()->count(), 1);
    EXPECT_EQ(seriesOf<QScatterSeries>(hour).last()->at(0), QPointF(5200.0, 200.0));

    // With one: seconds 3601 and 3602 loaded, the rest of hour 2 at 0 until the run's end at 6000 s.
    BridgeResults bridge = deck();
    bridge.hasSeconds = true;
    bridge.seconds = {{12, 1012, 40, 0}, {3601, 4601, 90, 10}, {3602, 4602, 120, 0}};
    std::vector<ResultChart> seconds = loadEffectCharts(bridge, {2, 1000.0});
    const QChart& chart = *chartNamed(seconds, QStringLiteral("load-effect-hour")).chart;
    EXPECT_THAT(chart.title().toStdString(), ::testing::HasSubstr("second by second, hour 2"));
    QList<QLineSeries*> lines = seriesOf<QLineSeries>(chart);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0]->points(), QList<QPointF>({{4601.0, 90.0}, {4602.0, 120.0}, {4603.0, 0.0}, {7000.0, 0.0}}));
    EXPECT_EQ(lines[1]->at(0), QPointF(4601.0, 10.0));
    // An hour past the run's end shows its last hour.
    std::vector<ResultChart> beyond = loadEffectCharts(bridge, {9, 1000.0});
    EXPECT_THAT(chartNamed(beyond, QStringLiteral("load-effect-hour")).chart->title().toStdString(),
                ::testing::HasSubstr("hour 2"));
}

TEST(LoadEffectCharts, HistogramAndGumbelPlotUseTheCompleteIntervalsOnly)
{
    std::vector<ResultChart> charts = loadEffectCharts(deck(), {0, 1000.0});
    const QChart& histogram = *chartNamed(charts, QStringLiteral("maxima-histogram")).chart;
    EXPECT_THAT(histogram.title().toStdString(), ::testing::HasSubstr("3 complete intervals, mean 200"));
    EXPECT_EQ(axis(histogram, Qt::Horizontal)->titleText(), QStringLiteral("Interval maximum (kN m)"));
    ASSERT_EQ(seriesOf<QAreaSeries>(histogram).size(), 1);

    // Three maxima are too few for a fit; the plot says so.
    EXPECT_THAT(chartNamed(charts, QStringLiteral("gumbel")).chart->title().toStdString(),
                ::testing::HasSubstr("no fit, a fit needs at least 5"));

    const std::vector<ResultChart> fitted = loadEffectCharts(longDeck(), {0, 1000.0});
    const QChart& gumbel = *chartNamed(fitted, QStringLiteral("gumbel")).chart;
    // 1000 years of 2.16e7 s in intervals of 1800 s: 1.2e7 intervals. The title gives the
    // figures rounded to their uncertainty, the level with its 95 % interval.
    const GumbelFigures figures = GumbelFigures::of({100, 300, 200, 250, 150, 180}, 1.2e7);
    ASSERT_TRUE(figures.fitted);
    EXPECT_THAT(gumbel.title().toStdString(), ::testing::HasSubstr("1000-year return level " + figures.levelText() +
                                                                   ", 95 % CI " + figures.intervalText()));
    EXPECT_THAT(gumbel.title().toStdString(), ::testing::HasSubstr("scale " + figures.scaleText()));
    QList<QScatterSeries*> scatters = seriesOf<QScatterSeries>(gumbel);
    ASSERT_EQ(scatters.size(), 2);
    ASSERT_EQ(scatters[0]->count(), 6);  // not the seventh, cut-short interval's 900
    EXPECT_EQ(scatters[0]->at(0).y(), 100.0);
    EXPECT_EQ(scatters[0]->at(5).y(), 300.0);
    EXPECT_NEAR(scatters[1]->at(0).y(), figures.level, 1e-9);
    // The fitted line through the return level, and the level's interval at its variate.
    QList<QLineSeries*> lines = seriesOf<QLineSeries>(gumbel);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_NEAR(lines[0]->at(1).y(), figures.level, 1e-6 * figures.level);
    EXPECT_NEAR(lines[0]->at(0).y(), figures.location + figures.scale * lines[0]->at(0).x(), 1e-9);
    EXPECT_EQ(lines[1]->name(), QStringLiteral("95 % confidence interval of the return level"));
    EXPECT_EQ(lines[1]->points(),
              QList<QPointF>({{scatters[1]->at(0).x(), figures.low}, {scatters[1]->at(0).x(), figures.high}}));
    // Counts of intervals have whole ticks only.
    const QValueAxis* counts = axis(histogram, Qt::Vertical);
    EXPECT_EQ(counts->tickType(), QValueAxis::TicksDynamic);
    EXPECT_EQ(counts->tickInterval(), 1.0);
}

TEST(LoadEffectCharts, AGumbelPlotWithoutAFitSaysWhy)
{
    BridgeResults bridge = deck();
    bridge.rows.resize(1);
    std::vector<ResultChart> charts = loadEffectCharts(bridge, {});
    const QChart& gumbel = *chartNamed(charts, QStringLiteral("gumbel")).chart;
    EXPECT_THAT(gumbel.title().toStdString(), ::testing::HasSubstr("no fit"));
    EXPECT_TRUE(seriesOf<QLineSeries>(gumbel).isEmpty());
}

TEST(LoadEffectPage, TheHourAndTheReturnPeriodRedrawTheCharts)
{
    ResultsDialogs dialogs;
    LoadEffectPage page(longDeck(), QStringLiteral("LE_Deck"), dialogs);
    EXPECT_EQ(page.hourBox().minimum(), 1);
    EXPECT_EQ(page.hourBox().maximum(), 4);
    EXPECT_EQ(page.returnYearsBox().value(), 1000.0);
    ASSERT_EQ(page.panels().size(), 4u);
    page.returnYearsBox().setValue(50.0);
    ASSERT_EQ(page.panels().size(), 4u);
    EXPECT_THAT(page.panels()[3]->chart().title().toStdString(), ::testing::HasSubstr("50-year return level"));
    EXPECT_THAT(page.panels()[0]->chart().title().toStdString(), ::testing::HasSubstr("hour 1 of the run"));
    page.hourBox().setValue(2);
    EXPECT_THAT(page.panels()[0]->chart().title().toStdString(), ::testing::HasSubstr("hour 2 of the run"));
}

TEST(ResultsWindow, ShowsATabPerBridgeAfterTheDetectorsFiles)
{
    QTemporaryDir folder;
    std::filesystem::path metrics = folder.path().toStdString();
    writeTextFile(metrics / "FD_All_Pos_1500.csv", threeIntervalFlows);
    const std::string header =
        "interval,end_time_s,maximum,time_of_maximum_s,minimum,time_of_minimum_s,vehicles,duration_s\n";
    writeTextFile(metrics / "LE_Deck.csv", header + "1,600,5,500,0,10,1,600\n2,1200,7,900,0,610,1,600\n");
    writeTextFile(metrics / "LE_Deck_seconds.csv", "second,end_time_s,maximum,minimum\n3,3,7,0\n");
    writeTextFile(metrics / "LE_Broken.csv", header + "1,600\n");
    ResultsWindow window;
    BridgeSet bridges;
    Bridge gate;
    gate.name = "Deck";
    gate.effect = BridgeEffect::supportShear;
    bridges.bridges.push_back(gate);
    window.showFolder(folder.path(), {}, bridges);
    QTabWidget& tabs = window.tabs();
    ASSERT_EQ(tabs.count(), 3);
    EXPECT_EQ(tabs.tabText(1), QStringLiteral("Bridge Broken"));
    EXPECT_EQ(tabs.tabText(2), QStringLiteral("Bridge Deck"));
    QList<ChartPanel*> panels = window.panels(2);
    ASSERT_EQ(panels.size(), 4);
    EXPECT_EQ(panels[2]->chart().axes(Qt::Horizontal).first()->titleText(), QStringLiteral("Interval maximum (kN)"));
    EXPECT_TRUE(window.panels(1).isEmpty());
}
