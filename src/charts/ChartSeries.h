#pragma once
// Series for the result charts: lines broken where a value is missing, scatter points without
// the missing ones, and stacked bars drawn as filled areas at their data coordinates.

#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>

#include <cstddef>
#include <vector>

class QAbstractAxis;
class QAreaSeries;
class QChart;
class QLineSeries;
class QScatterSeries;
class QXYSeries;

// Series names are plain text; they are escaped here because the legend renders HTML.
namespace ChartSeries {

// From this many points on, a series is drawn by a DenseSeriesItem: its Qt Charts series stays
// empty, for the legend and axes, and dataOf gives its points.
constexpr std::size_t denseFrom = 2000;

// One line per run of finite points; a point with a missing (not-a-number) coordinate leaves a
// gap. Only the first line shows in the legend. Returns the lines in order; a dense line is one
// series, gaps and all.
std::vector<QLineSeries*> addLine(QChart& chart, const QString& name, const QColor& colour,
                                  const std::vector<QPointF>& points, QAbstractAxis* x, QAbstractAxis* y);

// Points with a missing coordinate are left out.
QScatterSeries* addScatter(QChart& chart, const QString& name, const QColor& colour, const std::vector<QPointF>& points,
                           QAbstractAxis* x, QAbstractAxis* y);

// The points a series was given, whether it draws them itself or a DenseSeriesItem does.
QList<QPointF> dataOf(const QXYSeries& series);

// The band between the lows and highs (the same x in each), filled in a light shade of `colour`:
// one area per run of points where both are finite, only the first named in the legend.
std::vector<QAreaSeries*> addBand(QChart& chart, const QString& name, const QColor& colour,
                                  const std::vector<QPointF>& lows, const std::vector<QPointF>& highs, QAbstractAxis* x,
                                  QAbstractAxis* y);

// Stacked bars centred on `centres`, `width` wide in data units: stack s of bar i spans from the
// sum of heights[0..s-1][i] to the sum of heights[0..s][i]. One filled area per stack. Bars at
// least as wide as their spacing touch and are drawn as steps.
std::vector<QAreaSeries*> addStackedBars(QChart& chart, const std::vector<double>& centres, double width,
                                         const std::vector<std::vector<double>>& heights, const QStringList& names,
                                         const QList<QColor>& colours, QAbstractAxis* x, QAbstractAxis* y);

}  // namespace ChartSeries
