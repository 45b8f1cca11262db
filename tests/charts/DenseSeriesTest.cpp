#include "charts/ChartsTestSupport.h"

#include "charts/ChartExport.h"
#include "charts/ChartSeries.h"
#include "charts/PixelDecimation.h"

#include <QLineSeries>
#include <QScatterSeries>
#include <QXmlStreamReader>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using ::testing::Contains;

namespace {

constexpr double missing = std::numeric_limits<double>::quiet_NaN();

// Noise inside a band, with one point far outside it at `outlier`.
std::vector<QPointF> bandWithOutlier(std::size_t count, std::size_t outlier, QPointF outlierPoint)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> noise(0.0, 1.0);
    std::vector<QPointF> points;
    for (std::size_t i = 0; i < count; ++i)
        points.emplace_back(i == outlier ? outlierPoint
                                         : QPointF(100.0 + 200.0 * noise(random), 50.0 + 20.0 * noise(random)));
    return points;
}

// A one-lane flow-and-density file of `rows` intervals: a lane busy at 20 to 30 veh/km
// and 1500 to 2000 veh/h at 80 to 100 km/h, empty every tenth interval, and one crawling
// interval at `outlierRow` (120 veh/km, 600 veh/h, 5 km/h).
FlowDensityTable busyLane(std::size_t rows, std::size_t outlierRow)
{
    std::mt19937 random(3);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    FlowDensityTable table;
    table.laneCount = 1;
    for (std::size_t i = 0; i < rows; ++i)
    {
        LaneFlow lane{20.0 + 10.0 * unit(random), 1500.0 + 500.0 * unit(random), 80.0 + 20.0 * unit(random)};
        if (i % 10 == 9)
            lane = {missing, 0.0, missing};
        if (i == outlierRow)
            lane = {120.0, 600.0, 5.0};
        table.rows.push_back({static_cast<long long>(i + 1), {lane}, lane});
    }
    return table;
}

// Over 100 hours, whatever the number of rows: the axes stay the same.
std::vector<ResultChart> chartsOfBusyLane(std::size_t rows, std::size_t outlierRow)
{
    return flowDensityCharts(busyLane(rows, outlierRow),
                             {QStringLiteral("Detector"), 360000.0 / static_cast<double>(rows), std::nullopt});
}

int elementsOf(const QByteArray& svg)
{
    int elements = 0;
    QXmlStreamReader reader(svg);
    while (!reader.atEnd())
        elements += reader.readNext() == QXmlStreamReader::StartElement ? 1 : 0;
    return reader.hasError() ? -1 : elements;
}

bool isPaintedAround(const QImage& image, QPoint centre, int radius = 1)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
        {
            QPoint at = centre + QPoint(dx, dy);
            if (image.rect().contains(at) && qGray(image.pixel(at)) < 200)
                return true;
        }
    return false;
}

}  // namespace

TEST(PixelDecimation, MarkersKeepOnePointPerPixelAndEveryOutlier)
{
    std::vector<QPointF> points = bandWithOutlier(100000, 61234, QPointF(700.5, 400.5));
    points.emplace_back(missing, 10.0);
    std::vector<QPointF> kept = PixelDecimation::markers(points);
    EXPECT_LE(kept.size(), 201u * 21u);
    EXPECT_THAT(kept, Contains(QPointF(700.5, 400.5)));
    for (const QPointF& point : kept)
        EXPECT_TRUE(std::isfinite(point.x()));
    // The first point of a pixel is the one kept, in the points' order.
    EXPECT_EQ(kept.front(), points.front());
    EXPECT_EQ(PixelDecimation::markers({{1.2, 1.2}, {1.8, 1.9}, {2.1, 1.5}}),
              (std::vector<QPointF>{{1.2, 1.2}, {2.1, 1.5}}));
    // On a screen of twice the density a pixel is half as wide.
    EXPECT_EQ(PixelDecimation::markers({{1.2, 1.2}, {1.8, 1.9}}, 0.5).size(), 2u);
}

TEST(PixelDecimation, LineKeepsEachColumnsExtremesAndItsGaps)
{
    // 100,000 points over 500 columns with a spike down at one point and a gap at another.
    std::mt19937 random(11);
    std::uniform_real_distribution<double> noise(0.0, 1.0);
    std::vector<QPointF> points;
    for (int i = 0; i < 100000; ++i)
        points.emplace_back(i / 200.0, 100.0 + 50.0 * noise(random));
    points[33333].setY(5.0);
    points[70000].setY(missing);
    PixelDecimation::Line line = PixelDecimation::line(points);

    ASSERT_EQ(line.polylines.size(), 2u);
    std::size_t drawn = 0;
    for (const auto& polyline : line.polylines)
        drawn += polyline.size();
    EXPECT_LE(drawn, 4u * 501u);
    EXPECT_THAT(line.polylines[0], Contains(QPointF(33333 / 200.0, 5.0)));
    EXPECT_EQ(line.polylines[0].back(), points[69999]);
    EXPECT_EQ(line.polylines[1].front(), points[70001]);
    // Every column's lowest and highest point is drawn.
    for (int column : {0, 166, 499})
    {
        auto first = points.begin() + column * 200, last = first + 200;
        auto [low, high] = std::minmax_element(first, last, [](QPointF a, QPointF b) { return a.y() < b.y(); });
        const auto& drawnLine = column < 350 ? line.polylines[0] : line.polylines[1];
        EXPECT_THAT(drawnLine, Contains(*low)) << column;
        EXPECT_THAT(drawnLine, Contains(*high)) << column;
    }
}

TEST(PixelDecimation, LineWithManyGapsShowsItsLonePointsAndJoinsOverlappingStrokes)
{
    // In one column: two short runs that overlap and one far below; then a lone point twice in
    // one pixel and once elsewhere.
    std::vector<QPointF> points = {{10.1, 20.0},   {10.2, 30.0}, {missing, 0.0}, {10.3, 25.0},   {10.4, 35.0},
                                   {missing, 0.0}, {10.5, 80.0}, {10.6, 82.0},   {missing, 0.0}, {20.1, 5.1},
                                   {missing, 0.0}, {20.4, 5.4},  {missing, 0.0}, {30.0, 5.0}};
    PixelDecimation::Line line = PixelDecimation::line(points);
    EXPECT_EQ(line.lonePoints, (std::vector<QPointF>{{20.1, 5.1}, {30.0, 5.0}}));
    ASSERT_EQ(line.polylines.size(), 2u);
    EXPECT_EQ(line.polylines[0], (std::vector<QPointF>{{10.5, 80.0}, {10.6, 82.0}}));
    EXPECT_EQ(line.polylines[1], (std::vector<QPointF>{{10.5, 20.0}, {10.5, 35.0}}));
}

TEST(DenseSeries, ChartsOfManyRowsKeepTheirDataWholeAndDrawEveryOutlier)
{
    const std::size_t rows = 100000, outlierRow = 54321;
    std::vector<ResultChart> charts = chartsOfBusyLane(rows, outlierRow);

    QChart& flowDensity = *chartNamed(charts, QStringLiteral("flow-density")).chart;
    QList<QScatterSeries*> scatters = seriesOf<QScatterSeries>(flowDensity);
    ASSERT_EQ(scatters.size(), 2);
    EXPECT_EQ(scatters[0]->name(), QStringLiteral("D1 lane 1"));
    // The rows without a density are left out, the rest kept whole.
    QList<QPointF> lane = ChartSeries::dataOf(*scatters[0]);
    EXPECT_EQ(lane.size(), static_cast<qsizetype>(rows - rows / 10));
    EXPECT_THAT(lane, Contains(QPointF(120.0, 600.0)));

    QChart& speedTime = *chartNamed(charts, QStringLiteral("speed-time")).chart;
    QList<QLineSeries*> lines = seriesOf<QLineSeries>(speedTime);
    ASSERT_EQ(lines.size(), 2);
    QList<QPointF> speeds = ChartSeries::dataOf(*lines[0]);
    ASSERT_EQ(speeds.size(), static_cast<qsizetype>(rows));
    EXPECT_TRUE(std::isnan(speeds[9].y()));
    EXPECT_EQ(speeds[outlierRow], QPointF((outlierRow + 1) * 3.6, 5.0));  // the interval's end, s

    // The crawling interval is drawn where it belongs, among 100,000 others, at any size of the
    // picture; around it is empty.
    for (const char* name : {"flow-density", "speed-time"})
        for (QSize size : {ChartExport::defaultSize, QSize(400, 300)})
        {
            QChart& chart = *chartNamed(charts, QString::fromLatin1(name)).chart;
            QImage image = ChartExport::toImage(chart, size);
            QAbstractSeries* series = chart.series().first();
            QPointF outlier = name == std::string("flow-density") ? QPointF(120.0, 600.0) : speeds[outlierRow];
            QPoint at = chart.mapToPosition(outlier, series).toPoint();
            EXPECT_TRUE(isPaintedAround(image, at)) << name << " " << size.width();
            if (name == std::string("flow-density"))
            {
                EXPECT_FALSE(isPaintedAround(image, at + QPoint(0, -15), 2)) << name << " " << size.width();
            }
        }
}

TEST(DenseSeries, SvgOfADenseChartHasAsManyElementsForAnyNumberOfRows)
{
    for (const char* name : {"flow-density", "flow-time", "speed-time"})
    {
        QByteArray some = ChartExport::toSvg(*chartNamed(chartsOfBusyLane(5000, 100), QString::fromLatin1(name)).chart);
        QByteArray many =
            ChartExport::toSvg(*chartNamed(chartsOfBusyLane(100000, 100), QString::fromLatin1(name)).chart);
        EXPECT_GT(elementsOf(some), 0) << name;
        EXPECT_EQ(elementsOf(many), elementsOf(some)) << name;
        // A path of at most one marker per pixel of the plot and four points per column.
        EXPECT_LT(many.size(), 3'000'000) << name;
    }
}

TEST(DenseSeries, FewPointsStayOrdinarySeries)
{
    std::vector<ResultChart> charts = chartsOfBusyLane(ChartSeries::denseFrom - 1, 0);
    QList<QScatterSeries*> scatters =
        seriesOf<QScatterSeries>(*chartNamed(charts, QStringLiteral("flow-density")).chart);
    ASSERT_EQ(scatters.size(), 2);
    EXPECT_EQ(ChartSeries::dataOf(*scatters[0]), scatters[0]->points());
    EXPECT_GT(scatters[0]->count(), 1000);
    // Broken into runs at the empty intervals, as before.
    EXPECT_GT(seriesOf<QLineSeries>(*chartNamed(charts, QStringLiteral("speed-time")).chart).size(), 100);
}
