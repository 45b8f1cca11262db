#include "charts/LiveTimeChart.h"

#include "charts/ChartAxes.h"
#include "charts/ChartPalette.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// The time axis at least this many intervals wide, so that the first points do not fill it.
constexpr double firstIntervalsShown = 10.0;
// When a point passes an axis's end, the end moves this far beyond it: few rescalings per run.
constexpr double growth = 1.5;
}

LiveTimeChart::LiveTimeChart(QChart& chart, const QString& valueTitle, const QStringList& groups, double runStart,
                             double intervalSeconds)
    : target(chart), start(runStart)
{
    x = ChartAxes::addTime(chart, ChartAxes::Clock::calendar());
    y = ChartAxes::add(chart, Qt::AlignLeft, valueTitle);
    const double firstSpan = intervalSeconds > 0.0 ? firstIntervalsShown * intervalSeconds : 600.0;
    timeHigh = start + firstSpan;
    ChartAxes::fitTime(*x, start, timeHigh);
    ChartAxes::fit(*y, 0.0, 1.0);
    valueHigh = y->max();
    totalsGroup = groups.size() > 1 ? static_cast<int>(groups.size()) - 1 : -1;
    for (int group = 0; group < groups.size(); ++group)
    {
        lines.push_back({groups[group], {}, true, {}});
        // An empty first piece gives the legend its entry before the first point.
        newPiece(lines.back(), group, false);
        lines.back().broken = false;
    }
}

QLineSeries* LiveTimeChart::newPiece(Line& line, int group, bool continues)
{
    auto* piece = new QLineSeries;
    piece->setName(line.name.toHtmlEscaped());
    target.addSeries(piece);
    piece->attachAxis(x);
    piece->attachAxis(y);
    // After adding: the chart's theme would colour it otherwise.
    piece->setColor(group == totalsGroup ? ChartPalette::totals() : ChartPalette::lane(group));
    if (!line.pieces.empty())
        for (QLegendMarker* marker : target.legend()->markers(piece))
            marker->setVisible(false);
    line.pieces.push_back({piece, continues});
    return piece;
}

void LiveTimeChart::append(Line& line, int group, const QList<QPointF>& stretch)
{
    qsizetype from = 0;
    while (from < stretch.size())
    {
        QLineSeries* piece = nullptr;
        if (line.broken)
            piece = newPiece(line, group, false);
        else if (line.pieces.back().series->count() >= pointsPerPiece)
        {
            // A full piece is left as drawn; the next goes on from its last point.
            const QPointF last = line.pieces.back().series->points().constLast();
            piece = newPiece(line, group, true);
            piece->append(last);
        }
        else
            piece = line.pieces.back().series;
        line.broken = false;
        const qsizetype room = pointsPerPiece - piece->count();
        const qsizetype taken = std::min(room, stretch.size() - from);
        piece->append(stretch.mid(from, taken));
        from += taken;
        // A lone point between two breaks shows as a dot.
        piece->setPointsVisible(piece->count() == 1);
    }
}

void LiveTimeChart::add(int group, double time, double value)
{
    if (group < 0 || group >= static_cast<int>(lines.size()) || !std::isfinite(time))
        return;
    lines[static_cast<std::size_t>(group)].queued.append(QPointF(time, value));
}

void LiveTimeChart::flush()
{
    double latestTime = -std::numeric_limits<double>::infinity();
    double highestValue = 0.0;
    for (std::size_t group = 0; group < lines.size(); ++group)
    {
        Line& line = lines[group];
        if (line.queued.isEmpty())
            continue;
        QList<QPointF> stretch;
        auto draw = [&] {
            append(line, static_cast<int>(group), stretch);
            stretch.clear();
        };
        for (const QPointF& point : line.queued)
        {
            latestTime = std::max(latestTime, point.x());
            if (std::isfinite(point.y()))
            {
                stretch.append(point);
                highestValue = std::max(highestValue, point.y());
                continue;
            }
            draw();
            line.broken = true;
        }
        draw();
        line.queued.clear();
    }
    widenAxes(latestTime, highestValue);
}

void LiveTimeChart::widenAxes(double latestTime, double highestValue)
{
    if (latestTime > timeHigh)
    {
        timeHigh = start + growth * (latestTime - start);
        ChartAxes::fitTime(*x, start, timeHigh);
    }
    if (highestValue > valueHigh)
    {
        ChartAxes::fit(*y, 0.0, growth * highestValue);
        valueHigh = y->max();
    }
}

QList<QPointF> LiveTimeChart::drawn(int group) const
{
    QList<QPointF> points;
    if (group < 0 || group >= static_cast<int>(lines.size()))
        return points;
    for (const Piece& piece : lines[static_cast<std::size_t>(group)].pieces)
    {
        const QList<QPointF> own = piece.series->points();
        points.append(piece.continues ? own.mid(1) : own);
    }
    return points;
}
