#include "charts/CompareCharts.h"

#include "charts/ChartAxes.h"
#include "charts/ChartPalette.h"
#include "charts/ChartSeries.h"

#include <QAreaSeries>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace {

struct Quantity
{
    const char* column;
    QString title;  // axis title with unit
    QString what;
    QString name;
};

std::optional<std::size_t> columnIndex(const std::vector<std::string>& columns, const char* name)
{
    auto found = std::find(columns.begin(), columns.end(), name);
    if (found == columns.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - columns.begin());
}

// The interval's length when every run's file gives it exactly.
std::optional<double> knownInterval(const ComparedTable& table)
{
    for (const RunTable* run : table.runs)
        if (run != nullptr && run->interval.shortest > 0.0 && run->interval.shortest == run->interval.longest)
            return run->interval.shortest;
    return std::nullopt;
}

// The band between the lows and highs, one area per run of intervals where both are known.
void addBand(QChart& chart, const QString& name, const QColor& colour, const std::vector<QPointF>& lows,
             const std::vector<QPointF>& highs, QAbstractAxis* x, QAbstractAxis* y)
{
    QColor fill = colour;
    fill.setAlphaF(0.25);
    bool named = false;
    std::size_t i = 0;
    while (i < lows.size())
    {
        if (!std::isfinite(lows[i].y()) || !std::isfinite(highs[i].y()))
        {
            ++i;
            continue;
        }
        auto* area = new QAreaSeries;
        auto* upper = new QLineSeries(area);
        auto* lower = new QLineSeries(area);
        for (; i < lows.size() && std::isfinite(lows[i].y()) && std::isfinite(highs[i].y()); ++i)
        {
            *lower << lows[i];
            *upper << highs[i];
        }
        area->setUpperSeries(upper);
        area->setLowerSeries(lower);
        area->setName(name.toHtmlEscaped());
        chart.addSeries(area);
        area->attachAxis(x);
        area->attachAxis(y);
        area->setColor(fill);
        area->setPen(Qt::NoPen);
        if (named)
            for (QLegendMarker* marker : chart.legend()->markers(area))
                marker->setVisible(false);
        named = true;
    }
}

ResultChart meanChart(const ComparedTable& table, const Quantity& quantity, std::size_t column)
{
    const std::size_t runs = table.runs.size();
    auto chart = newResultChart(quantity.what, QStringLiteral("%1, mean of %2 runs with its 95 % confidence band")
                                                   .arg(QString::fromStdString(table.fileName), QString::number(runs)));
    const std::optional<double> interval = knownInterval(table);
    ChartAxes::TimeUnit unit;
    QString timeTitle = QStringLiteral("Interval No.");
    if (interval)
    {
        unit = ChartAxes::TimeUnit::forSpan(static_cast<double>(table.keys.size()) * *interval);
        timeTitle = QStringLiteral("Time since the start of the run (%1)").arg(unit.name);
    }
    QValueAxis* x = ChartAxes::add(*chart, Qt::AlignBottom, timeTitle);
    QValueAxis* y = ChartAxes::add(*chart, Qt::AlignLeft, quantity.title);
    std::vector<QPointF> means, lows, highs;
    ChartAxes::Extent xs, ys;
    for (std::size_t row = 0; row < table.keys.size(); ++row)
    {
        // An interval's values belong to its end.
        double number = std::strtod(table.keys[row].c_str(), nullptr);
        double at = interval ? unit.of(number * *interval) : number;
        const SampleStatistics& cell = table.cells[row][column];
        means.emplace_back(at, cell.mean);
        lows.emplace_back(at, cell.low());
        highs.emplace_back(at, cell.high());
        xs.include(at);
        ys.include(cell.mean);
        ys.include(cell.high());
        ys.include(cell.low());
    }
    addBand(*chart, QStringLiteral("95 % confidence interval of the mean"), ChartPalette::lane(0), lows, highs, x, y);
    ChartSeries::addLine(*chart, QStringLiteral("Mean of the runs"), ChartPalette::lane(0), means, x, y);
    ChartAxes::fitExactly(*x, 0.0, xs.high);
    ChartAxes::fit(*y, std::min(0.0, ys.low), ys.high);
    return {std::move(chart), quantity.name};
}

ResultChart fundamentalDiagrams(const ComparedTable& table, const std::vector<RunFolder>& runs)
{
    auto chart =
        newResultChart(QStringLiteral("Flow against density, each run"), QString::fromStdString(table.fileName));
    QValueAxis* x = ChartAxes::add(*chart, Qt::AlignBottom, QStringLiteral("Density (veh/km)"));
    QValueAxis* y = ChartAxes::add(*chart, Qt::AlignLeft, QStringLiteral("Flow (veh/h)"));
    ChartAxes::Extent xs, ys;
    for (std::size_t run = 0; run < table.runs.size(); ++run)
    {
        const RunTable* own = table.runs[run];
        if (own == nullptr)
            continue;
        std::optional<std::size_t> density = columnIndex(own->columns, CompareCharts::densityColumn);
        std::optional<std::size_t> flow = columnIndex(own->columns, CompareCharts::flowColumn);
        if (!density || !flow)
            continue;
        std::vector<QPointF> points;
        for (const std::vector<double>& row : own->rows)
        {
            points.emplace_back(row[*density], row[*flow]);
            xs.include(points.back().x());
            ys.include(points.back().y());
        }
        QString name = run < runs.size() ? QString::fromStdString(runs[run].folder.filename().string())
                                         : QStringLiteral("Run %1").arg(run + 1);
        if (name.isEmpty())
            name = QString::fromStdString(runs[run].folder.string());
        ChartSeries::addScatter(*chart, name, ChartPalette::lane(static_cast<int>(run)), points, x, y);
    }
    ChartAxes::fit(*x, 0.0, xs.high);
    ChartAxes::fit(*y, 0.0, ys.high);
    return {std::move(chart), QStringLiteral("flow-density-runs")};
}

}  // namespace

namespace CompareCharts {

std::vector<ResultChart> of(const ComparedTable& table, const std::vector<RunFolder>& runs)
{
    const std::vector<Quantity> quantities = {
        {flowColumn, QStringLiteral("Flow (veh/h)"), QStringLiteral("Flow over time"), QStringLiteral("flow-time")},
        {densityColumn, QStringLiteral("Density (veh/km)"), QStringLiteral("Density over time"),
         QStringLiteral("density-time")},
        {speedColumn, QStringLiteral("Space-mean speed (km/h)"), QStringLiteral("Space-mean speed over time"),
         QStringLiteral("speed-time")},
    };
    std::vector<ResultChart> charts;
    for (const Quantity& quantity : quantities)
        if (std::optional<std::size_t> column = columnIndex(table.columns, quantity.column))
            charts.push_back(meanChart(table, quantity, *column));
    if (!charts.empty())
        charts.push_back(fundamentalDiagrams(table, runs));
    return charts;
}

}  // namespace CompareCharts
