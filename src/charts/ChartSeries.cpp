#include "charts/ChartSeries.h"

#include "charts/DenseSeriesItem.h"

#include <QAreaSeries>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace ChartSeries {

namespace {

bool isFinite(const QPointF& point)
{
    return std::isfinite(point.x()) && std::isfinite(point.y());
}

void attach(QChart& chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y)
{
    chart.addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

void hideFromLegend(QChart& chart, QAbstractSeries* series)
{
    for (QLegendMarker* marker : chart.legend()->markers(series))
        marker->setVisible(false);
}

}  // namespace

std::vector<QLineSeries*> addLine(QChart& chart, const QString& name, const QColor& colour,
                                  const std::vector<QPointF>& points, QAbstractAxis* x, QAbstractAxis* y)
{
    if (static_cast<std::size_t>(std::count_if(points.begin(), points.end(), isFinite)) >= denseFrom)
    {
        auto* line = new QLineSeries;
        line->setName(name.toHtmlEscaped());
        attach(chart, line, x, y);
        line->setColor(colour);
        new DenseSeriesItem(chart, *line, points);
        return {line};
    }
    std::vector<QLineSeries*> lines;
    QList<QPointF> run;
    auto closeRun = [&] {
        if (run.isEmpty())
            return;
        auto* line = new QLineSeries;
        line->setName(name.toHtmlEscaped());
        line->append(run);
        attach(chart, line, x, y);
        // After adding: the chart's theme gives a series whose pen looks unset (black) its own colour.
        line->setColor(colour);
        // A single point between two gaps would not show as a line.
        line->setPointsVisible(run.size() == 1);
        if (!lines.empty())
            hideFromLegend(chart, line);
        lines.push_back(line);
        run.clear();
    };
    for (const QPointF& point : points)
    {
        if (isFinite(point))
            run.append(point);
        else
            closeRun();
    }
    closeRun();
    return lines;
}

std::vector<QAreaSeries*> addBand(QChart& chart, const QString& name, const QColor& colour,
                                  const std::vector<QPointF>& lows, const std::vector<QPointF>& highs, QAbstractAxis* x,
                                  QAbstractAxis* y)
{
    QColor fill = colour;
    fill.setAlphaF(0.25);
    std::vector<QAreaSeries*> areas;
    const std::size_t count = std::min(lows.size(), highs.size());
    const auto known = [&](std::size_t i) { return isFinite(lows[i]) && isFinite(highs[i]); };
    std::size_t i = 0;
    while (i < count)
    {
        if (!known(i))
        {
            ++i;
            continue;
        }
        auto* area = new QAreaSeries;
        auto* upper = new QLineSeries(area);
        auto* lower = new QLineSeries(area);
        for (; i < count && known(i); ++i)
        {
            *lower << lows[i];
            *upper << highs[i];
        }
        area->setUpperSeries(upper);
        area->setLowerSeries(lower);
        area->setName(name.toHtmlEscaped());
        attach(chart, area, x, y);
        area->setColor(fill);
        area->setPen(Qt::NoPen);
        if (!areas.empty())
            hideFromLegend(chart, area);
        areas.push_back(area);
    }
    return areas;
}

QScatterSeries* addScatter(QChart& chart, const QString& name, const QColor& colour, const std::vector<QPointF>& points,
                           QAbstractAxis* x, QAbstractAxis* y)
{
    std::vector<QPointF> finite;
    std::copy_if(points.begin(), points.end(), std::back_inserter(finite), isFinite);
    const bool dense = finite.size() >= denseFrom;
    auto* scatter = new QScatterSeries;
    scatter->setName(name.toHtmlEscaped());
    scatter->setMarkerSize(finite.size() > 500 ? 5.0 : 7.0);
    if (!dense)
        scatter->append(QList<QPointF>(finite.begin(), finite.end()));
    attach(chart, scatter, x, y);
    scatter->setColor(colour);
    scatter->setBorderColor(colour);
    if (dense)
        new DenseSeriesItem(chart, *scatter, std::move(finite));
    return scatter;
}

QList<QPointF> dataOf(const QXYSeries& series)
{
    if (const DenseSeriesItem* item = DenseSeriesItem::of(series))
        return QList<QPointF>(item->points().begin(), item->points().end());
    return series.points();
}

std::vector<QAreaSeries*> addStackedBars(QChart& chart, const std::vector<double>& centres, double width,
                                         const std::vector<std::vector<double>>& heights, const QStringList& names,
                                         const QList<QColor>& colours, QAbstractAxis* x, QAbstractAxis* y)
{
    std::vector<QAreaSeries*> areas;
    std::vector<double> base(centres.size(), 0.0);
    double half = width / 2.0;
    // Bars that touch need no sides: a step outline is enough, with half the points.
    bool touching = centres.size() > 1 && width >= (centres[1] - centres[0]) * (1.0 - 1e-9);
    for (std::size_t stack = 0; stack < heights.size(); ++stack)
    {
        auto* area = new QAreaSeries;
        auto* upper = new QLineSeries(area);
        auto* lower = new QLineSeries(area);
        for (std::size_t i = 0; i < centres.size(); ++i)
        {
            double height = i < heights[stack].size() && std::isfinite(heights[stack][i]) ? heights[stack][i] : 0.0;
            double top = base[i] + height;
            double left = centres[i] - half, right = centres[i] + half;
            // Up the bar's left side, across its top and down its right side; the lower line
            // runs along the bar's base, so that the gaps between bars stay empty.
            if (touching)
            {
                *upper << QPointF(left, top) << QPointF(right, top);
                *lower << QPointF(left, base[i]) << QPointF(right, base[i]);
            }
            else
            {
                *upper << QPointF(left, base[i]) << QPointF(left, top) << QPointF(right, top)
                       << QPointF(right, base[i]);
                *lower << QPointF(left, base[i]) << QPointF(left, base[i]) << QPointF(right, base[i])
                       << QPointF(right, base[i]);
            }
            base[i] = top;
        }
        area->setUpperSeries(upper);
        area->setLowerSeries(lower);
        area->setName(stack < static_cast<std::size_t>(names.size()) ? names[static_cast<int>(stack)].toHtmlEscaped()
                                                                     : QString());
        QColor colour = stack < static_cast<std::size_t>(colours.size()) ? colours[static_cast<int>(stack)] : Qt::gray;
        attach(chart, area, x, y);
        area->setColor(colour);
        // An outline would also trace the joins between bars across the gaps.
        area->setPen(Qt::NoPen);
        areas.push_back(area);
    }
    return areas;
}

}  // namespace ChartSeries
