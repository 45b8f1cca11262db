#include "charts/LoadEffectCharts.h"

#include "charts/ChartAxes.h"
#include "charts/ChartPalette.h"
#include "charts/ChartSeries.h"
#include "config/FigureText.h"
#include "measurements/GumbelFigures.h"
#include "measurements/LoadEffectFigures.h"

#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

constexpr double secondsPerHour = 3600.0;

QString number(double value)
{
    return QString::fromStdString(figureText(value));
}

QString detectorLine(const BridgeResults& bridge)
{
    return QStringLiteral("%1, %2").arg(bridgeTitle(bridge),
                                        QString::fromStdString(bridge.seriesPath.filename().string()));
}

// The interval extremes at their times and the largest events, over the run or, without a
// seconds file, over a chosen hour.
ResultChart extremesChart(const BridgeResults& bridge, int hour)
{
    const double start = bridge.runStart();
    const std::vector<IntervalRow> rows = LoadEffectFigures::rowsOfHour(bridge.rows, start, hour);
    QString what = QStringLiteral("Interval maxima and minima at their times");
    what += hour > 0 ? QStringLiteral(", hour %1 of the run (no second-by-second file)").arg(hour)
                     : QStringLiteral(", whole run");
    auto chart = newResultChart(what, detectorLine(bridge));

    const double lastEnd = bridge.rows.empty() ? 0.0 : bridge.rows.back().endTime - start;
    const double from = hour > 0 ? (hour - 1) * secondsPerHour : 0.0;
    const double to = hour > 0 ? hour * secondsPerHour : lastEnd;
    const ChartAxes::Clock clock = ChartAxes::Clock::since(start);
    QValueAxis* x = ChartAxes::addTime(*chart, clock);
    QValueAxis* y = ChartAxes::add(*chart, Qt::AlignLeft, withUnit(QStringLiteral("Load effect"), bridge));
    ChartAxes::Extent values;
    std::vector<QPointF> maxima, minima, events, incomplete;
    // The run's last interval ended with the run: its extremes are of a shorter span, kept apart
    // from the line of the whole intervals (and out of the fit).
    const double interval = bridge.intervalSeconds();
    const IntervalRow* shortRow = nullptr;
    for (const IntervalRow& row : rows)
    {
        if (row.duration < interval)
        {
            incomplete.emplace_back(row.maximumTime, row.maximum);
            incomplete.emplace_back(row.minimumTime, row.minimum);
            shortRow = &row;
        }
        else
        {
            maxima.emplace_back(row.maximumTime, row.maximum);
            minima.emplace_back(row.minimumTime, row.minimum);
        }
        values.include(row.maximum);
        values.include(row.minimum);
    }
    for (const LoadEvent& event : bridge.events)
    {
        if (event.time - start < from || event.time - start > to)
            continue;
        events.emplace_back(event.time, event.value);
        values.include(event.value);
    }
    for (QLineSeries* line :
         ChartSeries::addLine(*chart, QStringLiteral("Interval maximum"), ChartPalette::lane(0), maxima, x, y))
        line->setPointsVisible(true);
    for (QLineSeries* line :
         ChartSeries::addLine(*chart, QStringLiteral("Interval minimum"), ChartPalette::lane(1), minima, x, y))
        line->setPointsVisible(true);
    if (shortRow != nullptr)
    {
        QScatterSeries* cut =
            ChartSeries::addScatter(*chart,
                                    QStringLiteral("Incomplete last interval (%1 of %2 s, not fitted)")
                                        .arg(number(shortRow->duration), number(interval)),
                                    ChartPalette::lane(2), incomplete, x, y);
        cut->setBrush(Qt::NoBrush);
        cut->setPen(QPen(ChartPalette::lane(2), 2.0));
    }
    if (!events.empty())
        ChartSeries::addScatter(*chart, QStringLiteral("Largest events"), ChartPalette::totals(), events, x, y);
    ChartAxes::fitTime(*x, clock.at(from), clock.at(to));
    ChartAxes::fit(*y, std::min(0.0, values.low), values.high);
    return {std::move(chart), hour > 0 ? QStringLiteral("load-effect-hour") : QStringLiteral("load-effect-intervals")};
}

// The load effect of each second of the hour: the largest and smallest value of its steps.
ResultChart hourChart(const BridgeResults& bridge, int hour)
{
    if (!bridge.hasSeconds)
        return extremesChart(bridge, hour);
    auto chart = newResultChart(QStringLiteral("Load effect second by second, hour %1 of the run").arg(hour),
                                detectorLine(bridge));
    const ChartAxes::Clock clock = ChartAxes::Clock::since(bridge.runStart());
    QValueAxis* x = ChartAxes::addTime(*chart, clock);
    QValueAxis* y = ChartAxes::add(*chart, Qt::AlignLeft, withUnit(QStringLiteral("Load effect"), bridge));
    ChartAxes::Extent values;
    std::vector<QPointF> maxima, minima;
    // Past the run's end there was no load effect at all, not one of 0.
    const double runLength = bridge.rows.empty() ? 0.0 : bridge.rows.back().endTime - bridge.runStart();
    const auto lastSecond = static_cast<long long>(std::ceil(runLength));
    for (const LoadEffectFigures::SecondPoint& second :
         LoadEffectFigures::secondsOfHour(bridge.seconds, hour, lastSecond))
    {
        maxima.emplace_back(clock.at(second.time), second.maximum);
        minima.emplace_back(clock.at(second.time), second.minimum);
        values.include(second.maximum);
        values.include(second.minimum);
    }
    ChartSeries::addLine(*chart, QStringLiteral("Largest of the second"), ChartPalette::lane(0), maxima, x, y);
    ChartSeries::addLine(*chart, QStringLiteral("Smallest of the second"), ChartPalette::lane(1), minima, x, y);
    ChartAxes::fitTime(*x, clock.at((hour - 1) * secondsPerHour), clock.at(hour * secondsPerHour));
    ChartAxes::fit(*y, std::min(0.0, values.low), values.high);
    return {std::move(chart), QStringLiteral("load-effect-hour")};
}

ResultChart histogramChart(const BridgeResults& bridge)
{
    const MaximaHistogram histogram = MaximaHistogram::of(bridge.completeMaxima());
    QString what = QStringLiteral("Interval maxima: %1 complete intervals").arg(histogram.count);
    if (histogram.count > 0)
        what += QStringLiteral(", mean %1").arg(number(histogram.mean));
    auto chart = newResultChart(what, detectorLine(bridge));
    QValueAxis* x = ChartAxes::add(*chart, Qt::AlignBottom, withUnit(QStringLiteral("Interval maximum"), bridge));
    QValueAxis* y = ChartAxes::add(*chart, Qt::AlignLeft, QStringLiteral("Intervals"));
    std::vector<double> centres, heights;
    long long most = 0;
    for (std::size_t bin = 0; bin < histogram.bins.size(); ++bin)
    {
        centres.push_back(histogram.low + (static_cast<double>(bin) + 0.5) * histogram.binWidth);
        heights.push_back(static_cast<double>(histogram.bins[bin]));
        most = std::max(most, histogram.bins[bin]);
    }
    ChartSeries::addStackedBars(*chart, centres, histogram.binWidth * 0.9, {heights}, {QStringLiteral("Intervals")},
                                {ChartPalette::lane(0)}, x, y);
    chart->legend()->hide();
    const double end = histogram.low + histogram.binWidth * static_cast<double>(histogram.bins.size());
    ChartAxes::fit(*x, histogram.low, end);
    // Counts of intervals: whole numbers on the axis.
    ChartAxes::fitExactly(*y, 0.0, static_cast<double>(std::max<long long>(most, 1)), 1.0);
    return {std::move(chart), QStringLiteral("maxima-histogram")};
}

ResultChart gumbelChart(const BridgeResults& bridge, const LoadEffectOptions& options)
{
    const double period = LoadEffectFigures::returnPeriodInIntervals(options.returnYears, bridge.intervalSeconds());
    const std::vector<double> maxima = bridge.completeMaxima();
    const GumbelPlot plot = GumbelPlot::of(maxima, period);
    // The fit of the table and the window's figures, so that the line, the level and the words agree.
    const GumbelFigures figures = GumbelFigures::of(maxima, period);
    QString what = QStringLiteral("Gumbel plot of %1 complete interval maxima").arg(maxima.size());
    if (!figures.fitted)
        what += QStringLiteral(": no fit, ") + QString::fromStdString(figures.noFit);
    else if (options.figuresInTitles)
        what += QStringLiteral(": location %1, scale %2; %3-year return level %4, 95 % CI %5")
                    .arg(QString::fromStdString(figures.locationText()), QString::fromStdString(figures.scaleText()),
                         number(options.returnYears), QString::fromStdString(figures.levelText()),
                         QString::fromStdString(figures.intervalText()));
    auto chart = newResultChart(what, detectorLine(bridge));
    QValueAxis* x = ChartAxes::add(*chart, Qt::AlignBottom, QStringLiteral("Gumbel reduced variate −ln(−ln F)"));
    QValueAxis* y = ChartAxes::add(*chart, Qt::AlignLeft, withUnit(QStringLiteral("Interval maximum"), bridge));
    ChartAxes::Extent xs, ys;
    std::vector<QPointF> points;
    for (const auto& [variate, maximum] : plot.points)
    {
        points.emplace_back(variate, maximum);
        xs.include(variate);
        ys.include(maximum);
    }
    ChartSeries::addScatter(*chart, QStringLiteral("Interval maxima"), ChartPalette::lane(0), points, x, y);
    if (figures.fitted && period > 1.0)
    {
        const double low = std::min(xs.low, 0.0);
        const double high = std::max(xs.high, plot.returnVariate);
        const auto line = [&figures](double variate) { return figures.location + figures.scale * variate; };
        ChartSeries::addLine(*chart, QStringLiteral("Maximum-likelihood fit"), ChartPalette::totals(),
                             {QPointF(low, line(low)), QPointF(high, line(high))}, x, y);
        ChartSeries::addLine(
            *chart, QStringLiteral("95 % confidence interval of the return level"), ChartPalette::lane(1),
            {QPointF(plot.returnVariate, figures.low), QPointF(plot.returnVariate, figures.high)}, x, y);
        ChartSeries::addScatter(*chart, QStringLiteral("Return level"), ChartPalette::lane(1),
                                {QPointF(plot.returnVariate, figures.level)}, x, y);
        xs.include(low);
        xs.include(high);
        ys.include(line(low));
        ys.include(figures.low);
        ys.include(figures.high);
    }
    ChartAxes::fit(*x, xs.low, xs.high);
    ChartAxes::fit(*y, ys.low, ys.high);
    return {std::move(chart), QStringLiteral("gumbel")};
}

}  // namespace

QString bridgeTitle(const BridgeResults& bridge)
{
    return QStringLiteral("Bridge %1").arg(QString::fromStdString(bridge.name));
}

QString withUnit(const QString& quantity, const BridgeResults& bridge)
{
    if (bridge.unit.empty())
        return quantity;
    return QStringLiteral("%1 (%2)").arg(quantity, QString::fromStdString(bridge.unit));
}

std::vector<ResultChart> loadEffectCharts(const BridgeResults& bridge, const LoadEffectOptions& options)
{
    std::vector<ResultChart> charts;
    const int hours = LoadEffectFigures::hoursOf(bridge.rows, bridge.runStart());
    charts.push_back(hourChart(bridge, std::clamp(options.hour, 1, std::max(1, hours))));
    charts.push_back(extremesChart(bridge, 0));
    charts.push_back(histogramChart(bridge));
    charts.push_back(gumbelChart(bridge, options));
    return charts;
}
