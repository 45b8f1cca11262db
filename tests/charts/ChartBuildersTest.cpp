#include "charts/ChartAxes.h"
#include "charts/ChartsTestSupport.h"

#include "charts/ChartExport.h"
#include "charts/HeatMapItem.h"

#include "config/CConfigData.h"

#include <QAreaSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QGraphicsScene>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

QList<QPointF> pointsOf(const QXYSeries* series)
{
    return series->points();
}

QString axisTitle(const QChart& chart, Qt::Orientation orientation)
{
    return chart.axes(orientation).first()->titleText();
}

int visibleLegendMarkers(const QChart& chart, QAbstractSeries* series)
{
    int visible = 0;
    for (QLegendMarker* marker : chart.legend()->markers(series))
        visible += marker->isVisible() ? 1 : 0;
    return visible;
}

// The top edge of stacked bar `bar` (0-based) in a stack's area: its upper line runs up the
// bar's left side, across its top and down its right side, four points per bar.
QPointF barTopLeft(const QAreaSeries* area, int bar)
{
    return area->upperSeries()->at(4 * bar + 1);
}

}  // namespace

TEST(FlowDensityCharts, PlotEachLaneAndTheTotalsAtTheirDataCoordinates)
{
    std::vector<ResultChart> charts = chartsOf(entryOf("FD_All_Pos_1500.csv", threeIntervalFlows));
    ASSERT_EQ(charts.size(), 5u);

    const QChart& flowDensity = *chartNamed(charts, QStringLiteral("flow-density")).chart;
    EXPECT_EQ(axisTitle(flowDensity, Qt::Horizontal), QStringLiteral("Density (veh/km)"));
    EXPECT_EQ(axisTitle(flowDensity, Qt::Vertical), QStringLiteral("Flow (veh/h)"));
    QList<QScatterSeries*> scatters = seriesOf<QScatterSeries>(flowDensity);
    ASSERT_EQ(scatters.size(), 3);
    EXPECT_EQ(scatters[0]->name(), QStringLiteral("D1 lane 1"));
    EXPECT_EQ(scatters[2]->name(), QStringLiteral("Totals"));
    EXPECT_THAT(pointsOf(scatters[0]), ElementsAre(QPointF(2, 120), QPointF(1, 60), QPointF(4, 240)));
    // Lane 2 was empty in interval 2: no point at (missing, 0).
    EXPECT_THAT(pointsOf(scatters[1]), ElementsAre(QPointF(1, 60), QPointF(2, 120)));
    EXPECT_THAT(pointsOf(scatters[2]), ElementsAre(QPointF(3, 180), QPointF(6, 360)));
    EXPECT_NE(scatters[0]->color(), scatters[1]->color());
    EXPECT_EQ(scatters[2]->color(), QColor(Qt::black));

    const QChart& speedFlow = *chartNamed(charts, QStringLiteral("speed-flow")).chart;
    EXPECT_EQ(axisTitle(speedFlow, Qt::Vertical), QStringLiteral("Speed (km/h)"));
    EXPECT_THAT(pointsOf(seriesOf<QScatterSeries>(speedFlow)[1]), ElementsAre(QPointF(60, 60), QPointF(120, 60)));
}

TEST(FlowDensityCharts, BreakLinesOverTimeWhereALaneWasEmpty)
{
    std::vector<ResultChart> charts = chartsOf(entryOf("FD_All_Pos_1500.csv", threeIntervalFlows));
    QChart& speed = *chartNamed(charts, QStringLiteral("speed-time")).chart;
    // The 60 s intervals are recovered from the flows: interval k ends at 60 k s.
    EXPECT_EQ(axisTitle(speed, Qt::Horizontal), QStringLiteral("Time since the start of the run (h:mm)"));
    QList<QLineSeries*> lines = seriesOf<QLineSeries>(speed);
    // Lane 1 whole; lane 2 and the totals in two pieces around interval 2.
    ASSERT_EQ(lines.size(), 5);
    EXPECT_THAT(pointsOf(lines[0]), ElementsAre(QPointF(60, 60), QPointF(120, 60), QPointF(180, 60)));
    EXPECT_THAT(pointsOf(lines[1]), ElementsAre(QPointF(60, 60)));
    EXPECT_THAT(pointsOf(lines[2]), ElementsAre(QPointF(180, 60)));
    EXPECT_EQ(lines[1]->name(), QStringLiteral("D1 lane 2"));
    EXPECT_EQ(lines[2]->color(), lines[1]->color());
    EXPECT_EQ(lines[4]->color(), QColor(Qt::black));  // the totals
    // The legend places its markers when the chart is first drawn.
    ChartExport::toImage(speed);
    EXPECT_EQ(visibleLegendMarkers(speed, lines[1]), 1);
    EXPECT_EQ(visibleLegendMarkers(speed, lines[2]), 0);

    // The flows have no gap.
    const QChart& flow = *chartNamed(charts, QStringLiteral("flow-time")).chart;
    EXPECT_EQ(seriesOf<QLineSeries>(flow).size(), 3);
}

TEST(FlowDensityCharts, UseTheStudysIntervalAndFallBackToIntervalNumbers)
{
    MeasurementEntry entry = entryOf("FD_All_Pos_1500.csv", threeIntervalFlows);
    std::vector<ResultChart> known = chartsOf(entry, 7200.0);  // 2 h intervals: 6 h in all
    const QChart& flow = *chartNamed(known, QStringLiteral("flow-time")).chart;
    EXPECT_EQ(seriesOf<QLineSeries>(flow)[0]->at(2), QPointF(21600, 240));

    MeasurementEntry empty = entryOf("FD_All_Pos_1500.csv", twoLaneFlowHeader + "1,,0,,,0,,,0,\n");
    std::vector<ResultChart> numbered = chartsOf(empty);
    EXPECT_EQ(axisTitle(*chartNamed(numbered, QStringLiteral("flow-time")).chart, Qt::Horizontal),
              QStringLiteral("Interval No."));
}

TEST(TimeAxes, EveryFileShowsTheTimeOfDayInHoursAndMinutesWhenTheRunsStartIsKnown)
{
    constexpr double start = 27002.15;  // 07:30:02.15
    std::vector<std::vector<ResultChart>> files;
    files.push_back(chartsOf(entryOf("FD_All_Pos_1500.csv", threeIntervalFlows), std::nullopt, {start}));
    files.push_back(chartsOf(entryOf("Comp_All_Pos_2500.csv", compositionHeader + "5,1,2,0,0\n"), 60.0, {start}));
    files.push_back(chartsOf(entryOf("LC_Rate_All_Pos.csv", rateHeader + "60,0,240,0\n120,0,,480\n"), 60.0, {start}));
    for (const std::vector<ResultChart>& charts : files)
    {
        const QChart& chart = *charts.back().chart;
        EXPECT_EQ(axisTitle(chart, Qt::Horizontal), QStringLiteral("Time of day (hh:mm)"))
            << charts.back().name.toStdString();
        auto* time = qobject_cast<QCategoryAxis*>(chart.axes(Qt::Horizontal).first());
        ASSERT_NE(time, nullptr);
        EXPECT_DOUBLE_EQ(time->min(), start);
        EXPECT_TRUE(time->categoriesLabels().contains(QStringLiteral("07:31")))
            << time->categoriesLabels().join(' ').toStdString();
    }
    // The flows at the ends of their intervals, on the same clock.
    const QChart& flow = *chartNamed(files[0], QStringLiteral("flow-time")).chart;
    EXPECT_DOUBLE_EQ(seriesOf<QLineSeries>(flow)[0]->at(0).x(), start + 60.0);

    EXPECT_EQ(ChartAxes::timeLabel(27000.0, true, false), QStringLiteral("07:30"));
    EXPECT_EQ(ChartAxes::timeLabel(86400.0 + 3600.0, true, true), QStringLiteral("d2 01:00"));
    EXPECT_EQ(ChartAxes::timeLabel(3900.0, false, false), QStringLiteral("1:05"));
}

TEST(CompositionCharts, StackTheClassesPerIntervalInTheConfiguredColours)
{
    Colour configured = theConfigData.classColour[2];
    theConfigData.classColour[2] = makeColour(10, 20, 30);
    std::vector<ResultChart> charts =
        chartsOf(entryOf("Comp_All_Pos_2500.csv", compositionHeader + "5,1,2,0,0\n3,0,4,1,2\n"));
    theConfigData.classColour[2] = configured;

    ASSERT_EQ(charts.size(), 1u);
    const QChart& chart = *charts[0].chart;
    QList<QAreaSeries*> stacks = seriesOf<QAreaSeries>(chart);
    ASSERT_EQ(stacks.size(), 5);
    EXPECT_EQ(stacks[2]->name(), QStringLiteral("Large Truck"));
    EXPECT_EQ(stacks[2]->color(), QColor(10, 20, 30));
    // Interval No. on the axis: bar k centred on k, 0.8 wide.
    EXPECT_EQ(axisTitle(chart, Qt::Horizontal), QStringLiteral("Interval No."));
    EXPECT_EQ(barTopLeft(stacks[0], 0), QPointF(0.6, 5));
    EXPECT_EQ(barTopLeft(stacks[1], 0), QPointF(0.6, 6));
    EXPECT_EQ(barTopLeft(stacks[2], 0), QPointF(0.6, 8));
    EXPECT_EQ(barTopLeft(stacks[4], 1), QPointF(1.6, 10));
    // Each stack starts where the one below ends.
    EXPECT_EQ(stacks[3]->lowerSeries()->at(4 * 1 + 1), QPointF(1.6, 7));

    std::vector<ResultChart> timed =
        chartsOf(entryOf("Comp_All_Pos_2500.csv", compositionHeader + "5,1,2,0,0\n3,0,4,1,2\n"), 300.0);
    QList<QAreaSeries*> timedStacks = seriesOf<QAreaSeries>(*timed[0].chart);
    // 5 min intervals: bar 2 spans 300 to 600 s, 0.8 of it drawn.
    EXPECT_EQ(barTopLeft(timedStacks[4], 1), QPointF(330, 10));
}

TEST(CompositionCharts, ManyIntervalsMakeTouchingSteps)
{
    // A day of 10-minute intervals: 144 bars, too many for gaps between them.
    std::string rows = compositionHeader;
    for (int k = 1; k <= 144; ++k)
        rows += std::to_string(k % 7) + ",1,0,0,0\n";
    std::vector<ResultChart> charts = chartsOf(entryOf("Comp_All_Pos_2500.csv", rows), 600.0);
    QList<QAreaSeries*> stacks = seriesOf<QAreaSeries>(*charts[0].chart);
    QLineSeries* cars = stacks[0]->upperSeries();
    // Two points a bar, each bar the whole interval wide: bar 3 (3 cars) spans 20 to 30 min.
    ASSERT_EQ(cars->count(), 2 * 144);
    EXPECT_DOUBLE_EQ(cars->at(4).x(), 1200.0);
    EXPECT_DOUBLE_EQ(cars->at(5).x(), 1800.0);
    EXPECT_EQ(cars->at(5).y(), 3.0);
    EXPECT_EQ(stacks[1]->upperSeries()->at(5).y(), 4.0);
    auto* time = qobject_cast<QValueAxis*>(charts[0].chart->axes(Qt::Horizontal).first());
    EXPECT_EQ(time->titleText(), QStringLiteral("Time since the start of the run (h:mm)"));
}

TEST(HeadwayCharts, ShowEachLanesHistogramWithCountAndMean)
{
    std::vector<ResultChart> charts =
        chartsOf(entryOf("Head_All_Neg_1500.csv", "Headways (s)\nLane 1,Lane 2\n900,800\n2,3\n2.5, \n4, \n"));
    ASSERT_EQ(charts.size(), 2u);
    const QChart& lane1 = *charts[0].chart;
    // The first headway counts from time 0 and is left out.
    EXPECT_TRUE(lane1.title().contains(QStringLiteral("D2 lane 1: 3 headways, mean 2.83 s")));
    EXPECT_EQ(axisTitle(lane1, Qt::Horizontal), QStringLiteral("Headway (s)"));
    QAreaSeries* bars = seriesOf<QAreaSeries>(lane1)[0];
    // 30 bins up to the 98th percentile (2.5 s... 4 s) round to 0.2 s; 2 s and 2.5 s and 4 s
    // fall into bins 10, 12 and 20.
    double top = 0.0;
    int tallBars = 0;
    for (int bar = 0; bar < bars->upperSeries()->count() / 4; ++bar)
    {
        top = std::max(top, barTopLeft(bars, bar).y());
        tallBars += barTopLeft(bars, bar).y() > 0 ? 1 : 0;
    }
    EXPECT_EQ(top, 1.0);
    EXPECT_EQ(tallBars, 2);  // 2 s and 2.5 s; 4 s is beyond the 98th percentile
    EXPECT_TRUE(lane1.title().contains(QStringLiteral("1 beyond")));
    EXPECT_TRUE(charts[1].chart->title().contains(QStringLiteral("D2 lane 2: 1 headways, mean 3.00 s")));
}

TEST(HeadwayCharts, LanesSideBySideShareTheirBinsAndBothAxes)
{
    // Lane 1 carries dense traffic (1 to 2 s), lane 2 sparse (up to 20 s): drawn each in its own
    // bins and ranges they would look alike.
    std::string rows;
    for (int i = 0; i < 40; ++i)
        rows += std::to_string(1.0 + 0.025 * i) + "," + std::to_string(0.5 * i) + "\n";
    std::vector<ResultChart> charts =
        chartsOf(entryOf("Head_All_Neg_1500.csv", "Headways (s)\nLane 1,Lane 2\n900,800\n" + rows));
    ASSERT_EQ(charts.size(), 2u);
    const auto* x1 = qobject_cast<QValueAxis*>(charts[0].chart->axes(Qt::Horizontal).first());
    const auto* x2 = qobject_cast<QValueAxis*>(charts[1].chart->axes(Qt::Horizontal).first());
    const auto* y1 = qobject_cast<QValueAxis*>(charts[0].chart->axes(Qt::Vertical).first());
    const auto* y2 = qobject_cast<QValueAxis*>(charts[1].chart->axes(Qt::Vertical).first());
    EXPECT_EQ(x1->max(), x2->max());
    EXPECT_GE(x1->max(), 19.0);
    EXPECT_EQ(y1->max(), y2->max());
    // The bars' widths (the first bar's left and right edges) are the same in both lanes.
    QAreaSeries* bars1 = seriesOf<QAreaSeries>(*charts[0].chart)[0];
    QAreaSeries* bars2 = seriesOf<QAreaSeries>(*charts[1].chart)[0];
    EXPECT_EQ(bars1->upperSeries()->at(2).x() - bars1->upperSeries()->at(1).x(),
              bars2->upperSeries()->at(2).x() - bars2->upperSeries()->at(1).x());
    EXPECT_EQ(bars1->upperSeries()->count(), bars2->upperSeries()->count());
}

TEST(LaneChangeCharts, HeatMapHasACellPerRateAndGapsForEmptyOnes)
{
    std::vector<ResultChart> charts = chartsOf(entryOf("LC_Rate_All_Pos.csv", rateHeader + "60,0,240,0\n120,0,,480\n"));
    ASSERT_EQ(charts.size(), 1u);
    QChart& chart = *charts[0].chart;
    HeatMapItem* heatMap = nullptr;
    for (QGraphicsItem* item : chart.childItems())
        heatMap = heatMap ? heatMap : dynamic_cast<HeatMapItem*>(item);
    ASSERT_NE(heatMap, nullptr);
    // Column 0 (negative locations) is empty and left out; the empty cell at 120 s is a gap.
    const std::vector<HeatMapCell>& cells = heatMap->cells();
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0].area.normalized(), QRectF(QPointF(0, 0), QPointF(60, 500)));
    EXPECT_EQ(cells[0].value, 240.0);
    EXPECT_EQ(cells[1].area.normalized(), QRectF(QPointF(0, 500), QPointF(60, 1000)));
    EXPECT_EQ(cells[1].value, 0.0);
    EXPECT_EQ(cells[2].area.normalized(), QRectF(QPointF(60, 500), QPointF(120, 1000)));
    EXPECT_EQ(cells[2].value, 480.0);
    EXPECT_EQ(heatMap->highest(), 480.0);
    EXPECT_NE(heatMap->colourOf(0.0), heatMap->colourOf(480.0));
    EXPECT_EQ(axisTitle(chart, Qt::Horizontal), QStringLiteral("Time since the start of the run (h:mm)"));
    EXPECT_EQ(axisTitle(chart, Qt::Vertical), QStringLiteral("Road x (m), D1 away from 0"));
}

TEST(LaneChangeCharts, ShowPointsLanePairsAndClasses)
{
    std::vector<ResultChart> points = chartsOf(
        entryOf("LC_ST_All_Pos.csv", "LANE CHANGE - SPACE TIME OF EVENTS\nLeft To Right,,Right To Left\n"
                                     "Time (s),Location (m),Time (s),Location (m)\n3600,34\n,,7200,480\n5400,90\n"));
    QList<QScatterSeries*> scatters = seriesOf<QScatterSeries>(*points[0].chart);
    ASSERT_EQ(scatters.size(), 2);
    EXPECT_THAT(pointsOf(scatters[0]), ElementsAre(QPointF(3600, 34), QPointF(5400, 90)));
    EXPECT_THAT(pointsOf(scatters[1]), ElementsAre(QPointF(7200, 480)));
    EXPECT_EQ(axisTitle(*points[0].chart, Qt::Horizontal), QStringLiteral("Time of day (hh:mm)"));

    std::vector<ResultChart> pairs =
        chartsOf(entryOf("LC_All_All_Pos.csv",
                         "LANE CHANGE - VERBOSE OUTPUT OF EVENTS\nTime,Position,From Lane,To Lane,Right/Left,Type\n\n"
                         "1 ,10 ,1 ,2 ,Left ,Car\n2 ,20 ,2 ,1 ,Right ,Car\n3 ,30 ,1 ,2 ,Left ,Crane\n"));
    QStackedBarSeries* bars = seriesOf<QStackedBarSeries>(*pairs[0].chart)[0];
    ASSERT_EQ(bars->count(), 2);
    EXPECT_EQ(bars->barSets()[0]->at(0), 2.0);  // 1 -> 2 to the left
    EXPECT_EQ(bars->barSets()[1]->at(1), 1.0);  // 2 -> 1 to the right

    std::vector<ResultChart> classes = chartsOf(
        entryOf("LC_Comp_All_Pos.csv", "LANE CHANGE - COMPOSITION OF EVENTS\nTime Interval,Car Changes,SmallTr Changes,"
                                       "LargeTr Changes,Crane Changes,LowLoad Changes\n60,3,0,0,0,0\n120,9,1,1,0,2\n"));
    QList<QAreaSeries*> stacks = seriesOf<QAreaSeries>(*classes[0].chart);
    ASSERT_EQ(stacks.size(), 5);
    // The second minute's bar: 13 changes in all, centred on 90 s, 48 s wide.
    EXPECT_EQ(barTopLeft(stacks[4], 1), QPointF(66, 13));
}
