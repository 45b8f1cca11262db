#include "charts/ExtremeCharts.h"

#include "charts/ChartAxes.h"
#include "charts/ChartPalette.h"
#include "charts/ChartSeries.h"

#include <QChart>
#include <QLogValueAxis>
#include <QScatterSeries>
#include <QValueAxis>

namespace {

QString adjective(BlockLength length)
{
    return length == BlockLength::week ? QStringLiteral("weekly") : QStringLiteral("daily");
}

QString capitalised(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

std::vector<QPointF> pointsOf(const std::vector<PlotPoint>& points)
{
    std::vector<QPointF> result;
    for (const PlotPoint& point : points)
        result.emplace_back(point.x, point.y);
    return result;
}

// The level, low and high of a curve against the period in years.
struct CurveLines
{
    std::vector<QPointF> levels, lows, highs;
};

CurveLines linesOf(const LevelCurve& curve, ChartAxes::Extent& ys)
{
    CurveLines lines;
    for (const BandPoint& point : curve.points)
    {
        lines.levels.emplace_back(point.years, point.level);
        lines.lows.emplace_back(point.years, point.low);
        lines.highs.emplace_back(point.years, point.high);
        ys.include(point.low);
        ys.include(point.high);
    }
    return lines;
}

// Legends are short: five entries share one row under the chart.
QString gevBandName(const LevelCurve& curve)
{
    if (!curve.anyDelta())
        return QStringLiteral("GEV 95 % (profile likelihood)");
    if (!curve.anyProfiled())
        return QStringLiteral("GEV 95 % (delta method)");
    return QStringLiteral("GEV 95 % (profile; delta in part)");
}

}  // namespace

namespace ExtremeCharts {

QString maximumTitle(BlockLength length)
{
    return capitalised(adjective(length)) + QStringLiteral(" maximum (in the load effect's unit)");
}

ResultChart probabilityChart(const ProbabilityPlot& plot, const QString& bridge, BlockLength length)
{
    auto chart = newResultChart(
        QStringLiteral("Probability plot of %1 %2 maxima").arg(plot.maxima.size()).arg(adjective(length)), bridge);
    QValueAxis* x =
        ChartAxes::add(*chart, Qt::AlignBottom, QStringLiteral("Gumbel reduced variate −ln(−ln p), p = i/(n + 1)"));
    QValueAxis* y = ChartAxes::add(*chart, Qt::AlignLeft, maximumTitle(length));
    ChartAxes::Extent xs, ys;
    for (const std::vector<PlotPoint>* points : {&plot.maxima, &plot.gumbel, &plot.gev})
        for (const PlotPoint& point : *points)
        {
            xs.include(point.x);
            ys.include(point.y);
        }
    if (!plot.gumbel.empty())
        ChartSeries::addLine(*chart, QStringLiteral("Gumbel fit"), ChartPalette::lane(0), pointsOf(plot.gumbel), x, y);
    if (!plot.gev.empty())
        ChartSeries::addLine(*chart, QStringLiteral("GEV fit"), ChartPalette::lane(1), pointsOf(plot.gev), x, y);
    ChartSeries::addScatter(*chart, capitalised(adjective(length)) + QStringLiteral(" maxima"), ChartPalette::totals(),
                            pointsOf(plot.maxima), x, y);
    ChartAxes::fit(*x, xs.low, xs.high);
    ChartAxes::fit(*y, ys.low, ys.high);
    return {std::move(chart), QStringLiteral("probability-plot")};
}

ResultChart returnLevelChart(const ReturnLevelPlot& plot, const QString& bridge, BlockLength length)
{
    auto chart = newResultChart(QStringLiteral("Return levels of the %1 maxima with 95 % bands").arg(adjective(length)),
                                QStringLiteral("%1; the i-th smallest of n maxima at (n + 1)/(n + 1 − i) %2s")
                                    .arg(bridge, QString::fromLatin1(CalendarBlocks::nameOf(length))));
    QLogValueAxis* x =
        ChartAxes::addLog(*chart, Qt::AlignBottom,
                          QStringLiteral("Return period (years of 365.25 days, log scale; blocks of one %1)")
                              .arg(QString::fromLatin1(CalendarBlocks::nameOf(length))));
    QValueAxis* y = ChartAxes::add(*chart, Qt::AlignLeft, QStringLiteral("Return level (in the load effect's unit)"));
    ChartAxes::Extent xs, ys;
    for (const PlotPoint& point : plot.observed)
    {
        xs.include(point.x);
        ys.include(point.y);
    }
    for (const LevelCurve* curve : {&plot.gumbel, &plot.gev})
        for (const BandPoint& point : curve->points)
            xs.include(point.years);
    const CurveLines gumbel = linesOf(plot.gumbel, ys);
    const CurveLines gev = linesOf(plot.gev, ys);
    if (!gumbel.levels.empty())
        ChartSeries::addBand(*chart, QStringLiteral("Gumbel 95 % (delta method)"), ChartPalette::lane(0), gumbel.lows,
                             gumbel.highs, x, y);
    if (!gev.levels.empty())
        ChartSeries::addBand(*chart, gevBandName(plot.gev), ChartPalette::lane(1), gev.lows, gev.highs, x, y);
    if (!gumbel.levels.empty())
        ChartSeries::addLine(*chart, QStringLiteral("Gumbel fit"), ChartPalette::lane(0), gumbel.levels, x, y);
    if (!gev.levels.empty())
        ChartSeries::addLine(*chart, QStringLiteral("GEV fit"), ChartPalette::lane(1), gev.levels, x, y);
    ChartSeries::addScatter(*chart, capitalised(adjective(length)) + QStringLiteral(" maxima"), ChartPalette::totals(),
                            pointsOf(plot.observed), x, y);
    ChartAxes::fitLog(*x, xs.low, xs.high);
    ChartAxes::fit(*y, ys.low, ys.high);
    return {std::move(chart), QStringLiteral("return-levels")};
}

std::vector<ResultChart> of(const BridgeBlocks& blocks, const BlockMaximaFits& fits,
                            const std::vector<ReturnPeriod>& periods, BlockLength length)
{
    std::vector<ResultChart> charts;
    if (!fits.gumbel)
        return charts;
    const QString bridge = QStringLiteral("Bridge %1, %2 runs in %3 series")
                               .arg(QString::fromStdString(blocks.bridge))
                               .arg(blocks.runs)
                               .arg(blocks.series);
    const std::vector<double> maxima = blocks.maxima();
    charts.push_back(probabilityChart(ExtremePlots::probabilityPlot(maxima, fits), bridge, length));
    charts.push_back(returnLevelChart(ExtremePlots::returnLevelPlot(maxima, fits, periods, length), bridge, length));
    return charts;
}

}  // namespace ExtremeCharts
