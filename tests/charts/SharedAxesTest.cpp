// The axes and names every chart shares: time of day, road x with the direction named, and one name
// per lane whichever file numbers it.

#include "charts/ChartAxes.h"
#include "charts/ChartsTestSupport.h"

#include "charts/LaneName.h"
#include "charts/SpaceTimeCharts.h"
#include "charts/SpaceTimeItem.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QCategoryAxis>
#include <QLineSeries>
#include <QScatterSeries>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

using ::testing::ElementsAre;

namespace {

constexpr double sevenOClock = 7 * 3600.0;

QAbstractAxis* axisOf(const QChart& chart, Qt::Orientation orientation)
{
    return chart.axes(orientation).first();
}

QStringList timeLabels(const QChart& chart)
{
    auto* time = qobject_cast<QCategoryAxis*>(axisOf(chart, Qt::Horizontal));
    return time == nullptr ? QStringList() : time->categoriesLabels();
}

// Five 60 s columns from `start`, two 500 m rows; one fast cell at the direction's entry (row 0).
SpaceTimePicture pictureFrom(double start)
{
    SpaceTimePicture picture;
    picture.columns = 5;
    picture.rows = 2;
    picture.startTime = start;
    picture.secondsPerColumn = 60.0;
    picture.metresPerRow = 500.0;
    picture.speeds.assign(10, std::numeric_limits<float>::quiet_NaN());
    picture.speeds[0] = 30.0f;
    picture.maximumSpeed = 30.0f;
    return picture;
}

SpaceTimeItem* spaceTimeItemOf(const QChart& chart)
{
    for (QGraphicsItem* item : chart.childItems())
        if (auto* found = dynamic_cast<SpaceTimeItem*>(item))
            return found;
    return nullptr;
}

const std::string laneChangeEventsHeader =
    "LANE CHANGE - VERBOSE OUTPUT OF EVENTS\nTime,Position,From Lane,To Lane,Right/Left,Type\n\n";

}  // namespace

TEST(SharedTimeAxis, ARunStartingAtSevenShowsTheTimeOfDayInEveryFamily)
{
    const RunContext run{sevenOClock, {}};
    std::vector<std::pair<QString, std::unique_ptr<QChart>>> charts;
    auto keep = [&charts](std::vector<ResultChart> built, const QString& name) {
        for (ResultChart& chart : built)
            if (chart.name == name)
                charts.emplace_back(name, std::move(chart.chart));
    };
    keep(chartsOf(entryOf("FD_All_Pos_1500.csv", threeIntervalFlows), 300.0, run), QStringLiteral("flow-time"));
    keep(chartsOf(entryOf("Comp_All_Pos_2500.csv", compositionHeader + "5,1,2,0,0\n3,0,4,1,2\n"), 300.0, run),
         QStringLiteral("composition"));
    keep(chartsOf(entryOf("LC_Comp_All_Pos.csv",
                          "LANE CHANGE - COMPOSITION OF EVENTS\nTime Interval,Car Changes,SmallTr Changes,"
                          "LargeTr Changes,Crane Changes,LowLoad Changes\n300,3,0,0,0,0\n600,9,1,1,0,2\n"),
                  std::nullopt, run),
         QStringLiteral("lane-change-classes"));
    keep(chartsOf(entryOf("LC_Rate_All_Pos.csv", rateHeader + "300,0,240,0\n600,0,,480\n"), 300.0, run),
         QStringLiteral("lane-change-rates"));
    ResultChart spaceTime = spaceTimeChart(pictureFrom(sevenOClock), QStringLiteral("D1 lane 1"), 1);
    charts.emplace_back(spaceTime.name, std::move(spaceTime.chart));
    ASSERT_EQ(charts.size(), 5u);
    for (const auto& [name, chart] : charts)
    {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(axisOf(*chart, Qt::Horizontal)->titleText(), QStringLiteral("Time of day (hh:mm)"));
        const QStringList labels = timeLabels(*chart);
        ASSERT_FALSE(labels.isEmpty());
        EXPECT_EQ(labels.first(), QStringLiteral("07:00")) << labels.join(' ').toStdString();
        for (const QString& label : labels)
            EXPECT_THAT(label.toStdString(), ::testing::MatchesRegex("0[78]:[0-5][0-9]"));
    }
    // Values stay seconds of the clock: the flows of interval 1 at its end, 07:05.
    const QChart& flow = *charts[0].second;
    EXPECT_DOUBLE_EQ(seriesOf<QLineSeries>(flow)[0]->at(0).x(), sevenOClock + 300.0);
}

TEST(SharedTimeAxis, RunsAcrossMidnightNameTheDayInTheirLabelsAndTitle)
{
    const double lateEvening = 23 * 3600.0;
    std::string rows = compositionHeader;
    for (int hour = 0; hour < 3; ++hour)
        rows += "1,0,0,0,0\n";
    std::vector<ResultChart> charts =
        chartsOf(entryOf("Comp_All_Pos_2500.csv", rows), 3600.0, RunContext{lateEvening, {}});
    const QChart& chart = *charts[0].chart;
    EXPECT_EQ(axisOf(chart, Qt::Horizontal)->titleText(), ChartAxes::dayTitle());
    EXPECT_THAT(timeLabels(chart).toVector(), ::testing::Contains(QStringLiteral("d1 23:00")));
    EXPECT_THAT(timeLabels(chart).toVector(), ::testing::Contains(QStringLiteral("d2 01:00")));

    // Several days: steps of whole days or hours, never more than a handful of labels.
    ResultChart week = spaceTimeChart(pictureFrom(0.0), QString(), 1);
    ChartAxes::fitTime(*qobject_cast<QValueAxis*>(axisOf(*week.chart, Qt::Horizontal)), 0.0, 7 * 86400.0);
    const QStringList days = timeLabels(*week.chart);
    EXPECT_LE(days.size(), 9);
    EXPECT_THAT(days.toVector(), ::testing::Contains(QStringLiteral("d3 00:00")));
}

TEST(SharedDistanceAxis, DirectionTwoIsDrawnAtRoadX)
{
    // Direction 2 enters at the road's end (road x 1000 m): its first row is the top of the picture.
    ResultChart backwards = spaceTimeChart(pictureFrom(sevenOClock), QString(), 2);
    EXPECT_EQ(axisOf(*backwards.chart, Qt::Vertical)->titleText(), QStringLiteral("Road x (m), D2 towards 0"));
    const QImage& image = spaceTimeItemOf(*backwards.chart)->image();
    EXPECT_GT(image.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(image.pixelColor(0, 1).alpha(), 0);
    // Direction 1 enters at 0: its first row is at the bottom.
    ResultChart forwards = spaceTimeChart(pictureFrom(sevenOClock), QString(), 1);
    EXPECT_GT(spaceTimeItemOf(*forwards.chart)->image().pixelColor(0, 1).alpha(), 0);

    // The lane-change files hold road x already: points stay where they are, the axis says which way.
    std::vector<ResultChart> points =
        chartsOf(entryOf("LC_ST_All_Neg.csv", "LANE CHANGE - SPACE TIME OF EVENTS\nLeft To Right,,Right To Left\n"
                                              "Time (s),Location (m),Time (s),Location (m)\n25260,2400\n"));
    const QChart& scatter = *points[0].chart;
    EXPECT_EQ(axisOf(scatter, Qt::Vertical)->titleText(), QStringLiteral("Road x (m), D2 towards 0"));
    EXPECT_THAT(seriesOf<QScatterSeries>(scatter)[0]->points(), ElementsAre(QPointF(25260, 2400)));
    std::vector<ResultChart> rates = chartsOf(entryOf("LC_Rate_All_Neg.csv", rateHeader + "60,0,240,0\n"), 60.0);
    EXPECT_EQ(axisOf(*rates[0].chart, Qt::Vertical)->titleText(), QStringLiteral("Road x (m), D2 towards 0"));
}

TEST(LaneNames, HeadwayAndLaneChangeChartsNameTheSameLanesAlike)
{
    // A 2 + 2 road: road-wide lanes 3 and 4 are direction 2's lanes 2 and 1 (its kerb-side lane last).
    MeasurementFolder folder;
    folder.entries.push_back(entryOf("FD_All_Pos_1500.csv", threeIntervalFlows));
    folder.entries.push_back(entryOf("Head_All_Neg_1500.csv", "Headways (s)\nLane 1,Lane 2\n900,800\n2,3\n"));
    const RunContext run{std::nullopt, RoadLanes::of(folder)};
    EXPECT_EQ(run.lanes.direction1, 2);
    EXPECT_EQ(run.lanes.direction2, 2);

    QStringList headwayLanes;
    for (const ResultChart& chart : chartsOf(folder.entries[1], std::nullopt, run))
        for (QAreaSeries* bars : seriesOf<QAreaSeries>(*chart.chart))
            headwayLanes << bars->name();
    EXPECT_THAT(headwayLanes.toVector(), ElementsAre(QStringLiteral("D2 lane 1"), QStringLiteral("D2 lane 2")));

    std::vector<ResultChart> pairs = chartsOf(
        entryOf("LC_All_All_Neg.csv", laneChangeEventsHeader + "1 ,2900 ,4 ,3 ,Left ,Car\n2 ,2000 ,3 ,4 ,Right ,Car\n"),
        std::nullopt, run);
    auto* categories = qobject_cast<QBarCategoryAxis*>(axisOf(*pairs[0].chart, Qt::Horizontal));
    ASSERT_NE(categories, nullptr);
    EXPECT_THAT(categories->categories().toVector(),
                ElementsAre(QStringLiteral("D2 lane 2 → D2 lane 1"), QStringLiteral("D2 lane 1 → D2 lane 2")));

    // The flow file's lanes are direction 1's; its road-wide numbers need nothing else.
    const std::vector<ResultChart> flows = chartsOf(folder.entries[0], std::nullopt, run);
    const QChart& flow = *chartNamed(flows, QStringLiteral("flow-time")).chart;
    EXPECT_EQ(seriesOf<QLineSeries>(flow)[0]->name(), LaneName::ofRoadLane(1, true, {}));
    // Without the road's lanes a direction-2 number cannot be turned: it stays road-wide, and says so.
    EXPECT_EQ(LaneName::ofRoadLane(3, false, {}), QStringLiteral("D2 road-wide lane 3"));
    EXPECT_EQ(LaneName::ofRoadLane(5, false, {2, 2}), QStringLiteral("D2 road-wide lane 5"));
}
