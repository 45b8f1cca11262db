#pragma once
// Series for the result charts: lines broken where a value is missing, scatter points without
// the missing ones, and stacked bars drawn as filled areas at their data coordinates.

#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>

#include <vector>

class QAbstractAxis;
class QAreaSeries;
class QChart;
class QLineSeries;
class QScatterSeries;

// Series names are plain text; they are escaped here because the legend renders HTML.
namespace ChartSeries {

// One line per run of finite points; a point with a missing (not-a-number) coordinate leaves a
// gap. Only the first line shows in the legend. Returns the lines in order.
std::vector<QLineSeries*> addLine(QChart& chart, const QString& name, const QColor& colour,
                                  const std::vector<QPointF>& points, QAbstractAxis* x, QAbstractAxis* y);

// Points with a missing coordinate are left out. Beyond `thinFrom` points, points that would
// fall on the same spot of a 500 × 500 grid over the data (finer than a chart's pixels against
// markers several pixels wide) are drawn once.
QScatterSeries* addScatter(QChart& chart, const QString& name, const QColor& colour, const std::vector<QPointF>& points,
                           QAbstractAxis* x, QAbstractAxis* y, std::size_t thinFrom = 4000);
constexpr std::size_t thinningGrid = 500;
std::vector<QPointF> thinned(const std::vector<QPointF>& points, std::size_t grid);

// Stacked bars centred on `centres`, `width` wide in data units: stack s of bar i spans from the
// sum of heights[0..s-1][i] to the sum of heights[0..s][i]. One filled area per stack. Bars at
// least as wide as their spacing touch and are drawn as steps.
std::vector<QAreaSeries*> addStackedBars(QChart& chart, const std::vector<double>& centres, double width,
                                         const std::vector<std::vector<double>>& heights, const QStringList& names,
                                         const QList<QColor>& colours, QAbstractAxis* x, QAbstractAxis* y);

}  // namespace ChartSeries
