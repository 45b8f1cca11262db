#include "charts/CompareCharts.h"

#include "charts/ChartAxes.h"
#include "charts/ChartPalette.h"
#include "charts/ChartSeries.h"
#include "charts/LaneName.h"
#include "outputfiles/FileLayouts.h"
#include "outputfiles/MeasurementFileName.h"

#include <QCategoryAxis>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
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

// The runs' common start (s on the calendar), when their summaries agree on it.
std::optional<double> runStartOf(const std::vector<RunFolder>& runs)
{
    std::optional<double> start;
    for (const RunFolder& run : runs)
    {
        if (!run.summary)
            return std::nullopt;
        const auto key = std::find(run.summary->keys.begin(), run.summary->keys.end(), "Simulated start");
        if (key == run.summary->keys.end())
            return std::nullopt;
        const double own = run.summary->rows[static_cast<std::size_t>(key - run.summary->keys.begin())].front();
        if (start && *start != own)
            return std::nullopt;
        start = own;
    }
    return start;
}

// The interval's length when every run's file gives it exactly.
std::optional<double> knownInterval(const ComparedTable& table)
{
    for (const RunTable* run : table.runs)
        if (run != nullptr && run->interval.shortest > 0.0 && run->interval.shortest == run->interval.longest)
            return run->interval.shortest;
    return std::nullopt;
}

QString runName(const std::vector<RunFolder>& runs, std::size_t run)
{
    QString name = run < runs.size() ? QString::fromStdString(runs[run].folder.filename().string()) : QString();
    if (name.isEmpty() && run < runs.size())
        name = QString::fromStdString(runs[run].folder.string());
    return name.isEmpty() ? QStringLiteral("Run %1").arg(run + 1) : name;
}

// The rows' keys of an interval file as numbers: interval n ends at n intervals.
double intervalOf(const std::string& key)
{
    return std::strtod(key.c_str(), nullptr);
}

// withRuns: each run's own values as points as well, where a handful of values per interval
// (a bridge's maxima) say more than the band alone.
ResultChart meanChart(const ComparedTable& table, const Quantity& quantity, std::size_t column,
                      std::optional<double> runStart, const std::vector<RunFolder>* withRuns = nullptr)
{
    const std::size_t runs = table.runs.size();
    auto chart = newResultChart(quantity.what, QStringLiteral("%1, mean of %2 runs with its 95 % confidence band")
                                                   .arg(QString::fromStdString(table.fileName), QString::number(runs)));
    const std::optional<double> interval = knownInterval(table);
    const ChartAxes::Clock clock = ChartAxes::Clock::since(runStart);
    const auto unit = [&clock](double seconds) { return clock.at(seconds); };
    QValueAxis* x = interval ? ChartAxes::addTime(*chart, clock)
                             : ChartAxes::add(*chart, Qt::AlignBottom, QStringLiteral("Interval No."));
    QValueAxis* y = ChartAxes::add(*chart, Qt::AlignLeft, quantity.title);
    std::vector<QPointF> means, lows, highs;
    ChartAxes::Extent xs, ys;
    for (std::size_t row = 0; row < table.keys.size(); ++row)
    {
        // An interval's values belong to its end.
        double number = intervalOf(table.keys[row]);
        double at = interval ? unit(number * *interval) : number;
        const SampleStatistics& cell = table.cells[row][column];
        means.emplace_back(at, cell.mean);
        lows.emplace_back(at, cell.low());
        highs.emplace_back(at, cell.high());
        xs.include(at);
        ys.include(cell.mean);
        ys.include(cell.high());
        ys.include(cell.low());
    }
    ChartSeries::addBand(*chart, QStringLiteral("95 % confidence interval of the mean"), ChartPalette::lane(0), lows,
                         highs, x, y);
    ChartSeries::addLine(*chart, QStringLiteral("Mean of the runs"), ChartPalette::lane(0), means, x, y);
    if (withRuns != nullptr)
        for (std::size_t run = 0; run < table.runs.size(); ++run)
        {
            const RunTable* own = table.runs[run];
            if (own == nullptr)
                continue;
            std::vector<QPointF> points;
            for (std::size_t row = 0; row < own->keys.size(); ++row)
                if (column < own->rows[row].size() && std::isfinite(own->rows[row][column]))
                {
                    const double number = intervalOf(own->keys[row]);
                    points.emplace_back(interval ? unit(number * *interval) : number, own->rows[row][column]);
                    ys.include(points.back().y());
                }
            ChartSeries::addScatter(*chart, runName(*withRuns, run), ChartPalette::lane(static_cast<int>(run) + 1),
                                    points, x, y);
        }
    if (interval)
        ChartAxes::fitTime(*x, clock.at(0.0), xs.high);
    else
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
        ChartSeries::addScatter(*chart, runName(runs, run), ChartPalette::lane(static_cast<int>(run)), points, x, y);
    }
    ChartAxes::fit(*x, 0.0, xs.high);
    ChartAxes::fit(*y, 0.0, ys.high);
    return {std::move(chart), QStringLiteral("flow-density-runs")};
}

// A row's key as the charts name it: a lane of the file's direction by its lane name.
QString rowName(const ComparedTable& table, const std::string& key)
{
    const std::optional<MeasurementFileName> file = MeasurementFileName::parse(table.fileName);
    for (std::size_t lane = 0; file && lane < table.keys.size(); ++lane)
        if (key == FileLayouts::laneLabel(lane))
            return LaneName::of(file->directionPositive ? 1 : 2, static_cast<int>(lane) + 1);
    return QString::fromStdString(key);
}

// A file whose rows are lanes or figures: per row, each run's value, and the mean of the runs with
// its 95 % confidence interval as a vertical line.
ResultChart rowsChart(const ComparedTable& table, std::size_t column, const QString& what, const QString& title,
                      const QString& name, const std::vector<RunFolder>& runs)
{
    auto chart = newResultChart(what, QStringLiteral("%1, %2 runs, the mean with its 95 % confidence interval")
                                          .arg(QString::fromStdString(table.fileName), QString::number(runs.size())));
    auto* x = new QCategoryAxis;
    x->setTitleText(QString::fromStdString(table.keyLabel));
    x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    chart->addAxis(x, Qt::AlignBottom);
    QValueAxis* y = ChartAxes::add(*chart, Qt::AlignLeft, title);
    ChartAxes::Extent ys;
    const std::size_t rows = table.keys.size();
    for (std::size_t row = 0; row < rows; ++row)
        x->append(rowName(table, table.keys[row]), static_cast<double>(row + 1));
    x->setRange(0.5, static_cast<double>(rows) + 0.5);
    for (std::size_t run = 0; run < table.runs.size(); ++run)
    {
        const RunTable* own = table.runs[run];
        if (own == nullptr)
            continue;
        std::vector<QPointF> points;
        for (std::size_t row = 0; row < own->keys.size(); ++row)
        {
            const auto at = std::find(table.keys.begin(), table.keys.end(), own->keys[row]);
            if (at == table.keys.end() || column >= own->rows[row].size() || !std::isfinite(own->rows[row][column]))
                continue;
            // Each run a little aside, so that equal values stay visible.
            const double offset =
                0.3 * (static_cast<double>(run) + 1.0) / (static_cast<double>(table.runs.size()) + 1.0) - 0.15;
            points.emplace_back(static_cast<double>(at - table.keys.begin() + 1) + offset, own->rows[row][column]);
            ys.include(points.back().y());
        }
        ChartSeries::addScatter(*chart, runName(runs, run), ChartPalette::lane(static_cast<int>(run) + 1), points, x,
                                y);
    }
    std::vector<QPointF> means;
    bool intervalNamed = false;
    for (std::size_t row = 0; row < rows; ++row)
    {
        const SampleStatistics& cell = table.cells[row][column];
        if (!std::isfinite(cell.mean))
            continue;
        const double at = static_cast<double>(row + 1);
        means.emplace_back(at, cell.mean);
        ys.include(cell.mean);
        if (std::isfinite(cell.halfWidth))
        {
            ys.include(cell.low());
            ys.include(cell.high());
            std::vector<QLineSeries*> bar =
                ChartSeries::addLine(*chart, QStringLiteral("95 % confidence interval of the mean"),
                                     ChartPalette::lane(0), {{at, cell.low()}, {at, cell.high()}}, x, y);
            for (QLineSeries* line : bar)
                for (QLegendMarker* marker : chart->legend()->markers(line))
                    marker->setVisible(!intervalNamed);
            intervalNamed = true;
        }
    }
    QScatterSeries* mean =
        ChartSeries::addScatter(*chart, QStringLiteral("Mean of the runs"), ChartPalette::lane(0), means, x, y);
    mean->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    ChartAxes::fit(*y, std::min(0.0, ys.low), ys.high);
    return {std::move(chart), name};
}

std::optional<std::size_t> columnNamed(const ComparedTable& table, const char* name)
{
    return columnIndex(table.columns, name);
}

// Any other file of intervals: the mean of the runs per interval, one line per column.
ResultChart columnMeansChart(const ComparedTable& table, const QString& what, const QString& title,
                             std::optional<double> runStart)
{
    auto chart =
        newResultChart(what, QStringLiteral("%1, mean of %2 runs per interval")
                                 .arg(QString::fromStdString(table.fileName), QString::number(table.runs.size())));
    const std::optional<double> interval = knownInterval(table);
    const ChartAxes::Clock clock = ChartAxes::Clock::since(runStart);
    const auto unit = [&clock](double seconds) { return clock.at(seconds); };
    QValueAxis* x = interval ? ChartAxes::addTime(*chart, clock)
                             : ChartAxes::add(*chart, Qt::AlignBottom, QStringLiteral("Interval No."));
    QValueAxis* y = ChartAxes::add(*chart, Qt::AlignLeft, title);
    ChartAxes::Extent xs, ys;
    for (std::size_t column = 0; column < table.columns.size(); ++column)
    {
        std::vector<QPointF> means;
        for (std::size_t row = 0; row < table.keys.size(); ++row)
        {
            const double number = intervalOf(table.keys[row]);
            means.emplace_back(interval ? unit(number * *interval) : number, table.cells[row][column].mean);
            xs.include(means.back().x());
            ys.include(means.back().y());
        }
        ChartSeries::addLine(*chart, QString::fromStdString(table.columns[column]),
                             ChartPalette::lane(static_cast<int>(column)), means, x, y);
    }
    if (interval)
        ChartAxes::fitTime(*x, clock.at(0.0), xs.high);
    else
        ChartAxes::fitExactly(*x, 0.0, xs.high);
    ChartAxes::fit(*y, std::min(0.0, ys.low), ys.high);
    return {std::move(chart), QStringLiteral("means-time")};
}

std::vector<ResultChart> flowDensityComparison(const ComparedTable& table, const std::vector<RunFolder>& runs);

}  // namespace

namespace CompareCharts {

std::vector<ResultChart> of(const ComparedTable& table, const std::vector<RunFolder>& runs)
{
    const std::optional<MeasurementKind> kind = measurementKindOf(table.fileName);
    if (!kind)
        return {};
    std::vector<ResultChart> charts;
    switch (*kind)
    {
    case MeasurementKind::flowDensity: return flowDensityComparison(table, runs);
    case MeasurementKind::loadEffectIntervals:
        if (auto column = columnNamed(table, maximumColumn))
            charts.push_back(meanChart(table,
                                       {maximumColumn, QStringLiteral("Interval maximum of the load effect"),
                                        QStringLiteral("Interval maxima over time"), QStringLiteral("maxima-time")},
                                       *column, runStartOf(runs), &runs));
        if (auto column = columnNamed(table, minimumColumn))
            charts.push_back(meanChart(table,
                                       {minimumColumn, QStringLiteral("Interval minimum of the load effect"),
                                        QStringLiteral("Interval minima over time"), QStringLiteral("minima-time")},
                                       *column, runStartOf(runs), &runs));
        return charts;
    case MeasurementKind::headway:
        if (auto column = columnNamed(table, meanHeadwayColumn))
            charts.push_back(rowsChart(table, *column, QStringLiteral("Mean headway per lane"),
                                       QStringLiteral("Mean headway (s)"), QStringLiteral("headway-lanes"), runs));
        if (auto column = columnNamed(table, headwayCountColumn))
            charts.push_back(rowsChart(table, *column, QStringLiteral("Headways counted per lane"),
                                       QStringLiteral("Headways"), QStringLiteral("headway-counts"), runs));
        return charts;
    case MeasurementKind::laneChangeEvents:
        if (!table.columns.empty())
            charts.push_back(rowsChart(table, 0, QStringLiteral("Lane changes"), QStringLiteral("Lane changes"),
                                       QStringLiteral("lane-changes"), runs));
        return charts;
    case MeasurementKind::composition:
        charts.push_back(columnMeansChart(table, QStringLiteral("Vehicles per class and interval"),
                                          QStringLiteral("Vehicles"), runStartOf(runs)));
        return charts;
    case MeasurementKind::laneChangeComposition:
        charts.push_back(columnMeansChart(table, QStringLiteral("Lane changes per class and interval"),
                                          QStringLiteral("Lane changes"), runStartOf(runs)));
        return charts;
    case MeasurementKind::laneChangeRates:
        charts.push_back(columnMeansChart(table, QStringLiteral("Lane-change rate per location bin"),
                                          QStringLiteral("Lane changes per km and hour"), runStartOf(runs)));
        return charts;
    default: return {};
    }
}

}  // namespace CompareCharts

namespace {

std::vector<ResultChart> flowDensityComparison(const ComparedTable& table, const std::vector<RunFolder>& runs)
{
    using namespace CompareCharts;
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
            charts.push_back(meanChart(table, quantity, *column, runStartOf(runs)));
    if (!charts.empty())
        charts.push_back(fundamentalDiagrams(table, runs));
    return charts;
}

}  // namespace
