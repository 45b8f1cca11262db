#include "charts/ChartAxes.h"
#include "charts/ChartPalette.h"
#include "charts/ChartSeries.h"
#include "charts/ClassBars.h"
#include "charts/ColourScale.h"
#include "charts/HeatMapItem.h"
#include "charts/LaneName.h"
#include "charts/ResultCharts.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QScatterSeries>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// The time axis of the interval files: rows carry the elapsed time at the end of their interval.
struct ElapsedAxis
{
    ChartAxes::Clock clock;
    double of(double elapsed) const { return clock.at(elapsed); }
};

ElapsedAxis elapsedAxis(const ChartContext& context)
{
    return {ChartAxes::Clock::since(context.runStart)};
}

}  // namespace

std::vector<ResultChart> laneChangeEventCharts(const LaneChangeEventTable& table, const ChartContext& context)
{
    // Lane pairs in lane order, counted apart by side.
    std::map<std::pair<long long, long long>, std::pair<int, int>> pairs;
    for (const LaneChangeRecord& event : table.events)
    {
        auto& sides = pairs[{event.fromLane, event.toLane}];
        ++(event.toLeft ? sides.first : sides.second);
    }
    auto chart = newResultChart(QStringLiteral("Lane changes by lane pair"), context.detectorTitle);
    auto* left = new QBarSet(QStringLiteral("To the left"));
    auto* right = new QBarSet(QStringLiteral("To the right"));
    left->setColor(ChartPalette::lane(0));
    right->setColor(ChartPalette::lane(1));
    QStringList categories;
    int most = 0;
    const bool positive = context.direction == 1;
    const auto name = [&](long long lane) {
        return LaneName::ofRoadLane(static_cast<int>(lane), positive, context.lanes);
    };
    for (const auto& [lanes, sides] : pairs)
    {
        categories << QStringLiteral("%1 → %2").arg(name(lanes.first), name(lanes.second));
        *left << sides.first;
        *right << sides.second;
        most = std::max(most, sides.first + sides.second);
    }
    auto* bars = new QStackedBarSeries;
    bars->append(left);
    bars->append(right);
    chart->addSeries(bars);
    auto* x = new QBarCategoryAxis;
    x->setTitleText(QStringLiteral("From lane → to lane"));
    x->append(categories);
    chart->addAxis(x, Qt::AlignBottom);
    QValueAxis* y = ChartAxes::add(*chart, Qt::AlignLeft, QStringLiteral("Lane changes"));
    bars->attachAxis(x);
    bars->attachAxis(y);
    ChartAxes::fit(*y, 0.0, most);
    std::vector<ResultChart> charts;
    charts.push_back({std::move(chart), QStringLiteral("lane-pairs")});
    return charts;
}

std::vector<ResultChart> laneChangeCompositionCharts(const LaneChangeCompositionTable& table,
                                                     const ChartContext& context)
{
    auto chart = newResultChart(QStringLiteral("Lane changes per interval by class"), context.detectorTitle);
    ElapsedAxis time = elapsedAxis(context);
    ClassBarsAxis across;
    across.clock = time.clock;
    std::vector<ClassCounts> counts;
    double previous = 0.0, narrowest = 0.0;
    for (const LaneChangeCompositionRow& row : table.rows)
    {
        double span = row.elapsed - previous;
        across.centres.push_back(time.of(previous + span / 2.0));
        narrowest = narrowest == 0.0 ? span : std::min(narrowest, span);
        previous = row.elapsed;
        counts.push_back(row.changes);
    }
    across.spacing = narrowest > 0.0 ? narrowest : 1.0;
    addClassBars(*chart, counts, across, QStringLiteral("Lane changes"));
    std::vector<ResultChart> charts;
    charts.push_back({std::move(chart), QStringLiteral("lane-change-classes")});
    return charts;
}

std::vector<ResultChart> laneChangeSpaceTimeCharts(const LaneChangeSpaceTimeTable& table, const ChartContext& context)
{
    auto chart = newResultChart(QStringLiteral("Lane changes in time and space"), context.detectorTitle);
    QValueAxis* x = ChartAxes::addTime(*chart, ChartAxes::Clock::calendar());
    QValueAxis* y = ChartAxes::add(*chart, Qt::AlignLeft, ChartAxes::roadXTitle(context.direction));
    ChartAxes::Extent times, locations;
    auto points = [&](const std::vector<SpaceTimePoint>& events) {
        std::vector<QPointF> result;
        for (const SpaceTimePoint& event : events)
        {
            result.emplace_back(event.time, event.location);
            times.include(result.back().x());
            locations.include(event.location);
        }
        return result;
    };
    ChartSeries::addScatter(*chart, QStringLiteral("Left to right"), ChartPalette::lane(1), points(table.leftToRight),
                            x, y);
    ChartSeries::addScatter(*chart, QStringLiteral("Right to left"), ChartPalette::lane(0), points(table.rightToLeft),
                            x, y);
    // A little room, so that the first and last points show whole.
    double margin = 0.02 * (times.high - times.low);
    ChartAxes::fitTime(*x, times.low - margin, times.high + margin);
    ChartAxes::fit(*y, std::min(0.0, locations.low), locations.high);
    std::vector<ResultChart> charts;
    charts.push_back({std::move(chart), QStringLiteral("lane-change-points")});
    return charts;
}

std::vector<ResultChart> laneChangeRateCharts(const LaneChangeRateTable& table, const ChartContext& context)
{
    auto chart = newResultChart(QStringLiteral("Lane-change rate by location and time"), context.detectorTitle);
    ElapsedAxis time = elapsedAxis(context);
    QValueAxis* x = ChartAxes::addTime(*chart, time.clock);
    QValueAxis* y = ChartAxes::add(*chart, Qt::AlignLeft, ChartAxes::roadXTitle(context.direction));

    // Column k holds the changes below binLocations[k] down to the bin before; column 0 the
    // changes at negative locations, drawn one bin wide below 0 when there are any.
    std::vector<HeatMapCell> cells;
    double previous = 0.0;
    double width = table.binWidth() > 0.0 ? table.binWidth() : 1.0;
    double lowest = table.binLocations.empty() ? 0.0 : table.binLocations.front();
    for (const LaneChangeRateRow& row : table.rows)
    {
        for (std::size_t k = 0; k < row.rates.size() && k < table.binLocations.size(); ++k)
        {
            double top = table.binLocations[k];
            double bottom = k == 0 ? top - width : table.binLocations[k - 1];
            // An empty cell is a gap, not a zero.
            if (!std::isfinite(row.rates[k]) || (k == 0 && row.rates[k] == 0.0))
                continue;
            lowest = std::min(lowest, bottom);
            cells.push_back(
                {QRectF(QPointF(time.of(previous), top), QPointF(time.of(row.elapsed), bottom)), row.rates[k]});
        }
        previous = row.elapsed;
    }
    // The axes need a series: two invisible corner points.
    auto* anchor = new QScatterSeries;
    anchor->setColor(Qt::transparent);
    anchor->setBorderColor(Qt::transparent);
    double highest = table.binLocations.empty() ? 1.0 : table.binLocations.back();
    *anchor << QPointF(time.of(0.0), lowest) << QPointF(time.of(previous), highest);
    chart->addSeries(anchor);
    anchor->attachAxis(x);
    anchor->attachAxis(y);
    chart->legend()->hide();
    // The cells fill the plot exactly.
    ChartAxes::fitTime(*x, time.of(0.0), time.of(previous > 0.0 ? previous : 60.0));
    ChartAxes::fitExactly(*y, lowest, highest > lowest ? highest : lowest + 1.0, width);
    x->setGridLineVisible(false);
    y->setGridLineVisible(false);
    new HeatMapItem(*chart, *anchor, std::move(cells), QStringLiteral("changes per km and hour"));
    chart->setMargins(QMargins(8, 8, ColourScale::width + 8, 8));
    std::vector<ResultChart> charts;
    charts.push_back({std::move(chart), QStringLiteral("lane-change-rates")});
    return charts;
}
