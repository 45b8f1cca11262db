#include "charts/ChartAxes.h"
#include "charts/ChartPalette.h"
#include "charts/ChartSeries.h"
#include "charts/LaneName.h"
#include "charts/ResultCharts.h"

#include <QChart>
#include <QValueAxis>

#include <functional>

namespace {

using Value = std::function<double(const LaneFlow&)>;

struct Quantity
{
    QString title;  // axis title with unit
    Value value;
};

const Quantity density{QStringLiteral("Density (veh/km)"), [](const LaneFlow& lane) { return lane.density; }};
const Quantity flow{QStringLiteral("Flow (veh/h)"), [](const LaneFlow& lane) { return lane.flow; }};
const Quantity speed{QStringLiteral("Speed (km/h)"), [](const LaneFlow& lane) { return lane.speed; }};

// Lane n of a row, or its totals for n == laneCount.
const LaneFlow& group(const FlowDensityRow& row, int n)
{
    return n < static_cast<int>(row.lanes.size()) ? row.lanes[static_cast<std::size_t>(n)] : row.totals;
}

QString groupName(const FlowDensityTable& table, const ChartContext& context, int n)
{
    return n < table.laneCount ? LaneName::of(context.direction, n + 1) : QStringLiteral("Totals");
}

QColor groupColour(const FlowDensityTable& table, int n)
{
    return n < table.laneCount ? ChartPalette::lane(n) : ChartPalette::totals();
}

ResultChart scatterChart(const FlowDensityTable& table, const ChartContext& context, const QString& what,
                         const QString& name, const Quantity& across, const Quantity& up)
{
    auto chart = newResultChart(what, context.detectorTitle);
    QValueAxis* x = ChartAxes::add(*chart, Qt::AlignBottom, across.title);
    QValueAxis* y = ChartAxes::add(*chart, Qt::AlignLeft, up.title);
    ChartAxes::Extent xs, ys;
    for (int n = 0; n <= table.laneCount; ++n)
    {
        std::vector<QPointF> points;
        for (const FlowDensityRow& row : table.rows)
        {
            points.emplace_back(across.value(group(row, n)), up.value(group(row, n)));
            xs.include(points.back().x());
            ys.include(points.back().y());
        }
        ChartSeries::addScatter(*chart, groupName(table, context, n), groupColour(table, n), points, x, y);
    }
    ChartAxes::fit(*x, 0.0, xs.high);
    ChartAxes::fit(*y, 0.0, ys.high);
    return {std::move(chart), name};
}

ResultChart timeChart(const FlowDensityTable& table, const ChartContext& context, const QString& what,
                      const QString& name, const Quantity& up)
{
    auto chart = newResultChart(what, context.detectorTitle);
    double lastInterval = table.rows.empty() ? 0.0 : static_cast<double>(table.rows.back().interval);
    const ChartAxes::Clock clock = ChartAxes::Clock::since(context.runStart);
    // An interval's values belong to its end.
    auto timeOf = [&](const FlowDensityRow& row) {
        double interval = static_cast<double>(row.interval);
        return context.intervalSeconds ? clock.at(interval * *context.intervalSeconds) : interval;
    };
    QValueAxis* x = context.intervalSeconds ? ChartAxes::addTime(*chart, clock)
                                            : ChartAxes::add(*chart, Qt::AlignBottom, QStringLiteral("Interval No."));
    QValueAxis* y = ChartAxes::add(*chart, Qt::AlignLeft, up.title);
    ChartAxes::Extent xs, ys;
    for (int n = 0; n <= table.laneCount; ++n)
    {
        std::vector<QPointF> points;
        for (const FlowDensityRow& row : table.rows)
        {
            points.emplace_back(timeOf(row), up.value(group(row, n)));
            xs.include(points.back().x());
            ys.include(points.back().y());
        }
        ChartSeries::addLine(*chart, groupName(table, context, n), groupColour(table, n), points, x, y);
    }
    if (context.intervalSeconds)
        ChartAxes::fitTime(*x, clock.at(0.0), clock.at(lastInterval * *context.intervalSeconds));
    else
        ChartAxes::fitExactly(*x, 0.0, xs.high);
    ChartAxes::fit(*y, 0.0, ys.high);
    return {std::move(chart), name};
}

}  // namespace

std::vector<ResultChart> flowDensityCharts(const FlowDensityTable& table, const ChartContext& context)
{
    std::vector<ResultChart> charts;
    charts.push_back(scatterChart(table, context, QStringLiteral("Flow against density"),
                                  QStringLiteral("flow-density"), density, flow));
    charts.push_back(scatterChart(table, context, QStringLiteral("Space-mean speed against flow"),
                                  QStringLiteral("speed-flow"), flow, speed));
    charts.push_back(timeChart(table, context, QStringLiteral("Flow over time"), QStringLiteral("flow-time"), flow));
    charts.push_back(
        timeChart(table, context, QStringLiteral("Density over time"), QStringLiteral("density-time"), density));
    charts.push_back(
        timeChart(table, context, QStringLiteral("Space-mean speed over time"), QStringLiteral("speed-time"), speed));
    return charts;
}
