#pragma once
// Value axes for the result charts, with titles that carry units, and the unit of a time axis
// chosen for the span it shows.

#include <QString>

#include <limits>

class QChart;
class QValueAxis;

namespace ChartAxes {

// Adds a value axis along `alignment` (Qt::AlignBottom or Qt::AlignLeft). The title is plain text:
// an axis title renders HTML, and units and names come from files.
QValueAxis* add(QChart& chart, Qt::Alignment alignment, const QString& title);
// Shows [low, high] with round tick values; an empty or degenerate range shows [0, 1] or widens.
void fit(QValueAxis& axis, double low, double high);
// Shows exactly [low, high], with ticks at round values (multiples of `step` when given): for
// time axes and for cells that must fill the plot.
void fitExactly(QValueAxis& axis, double low, double high, double step = 0.0);

// A running minimum and maximum of finite values.
struct Extent
{
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();

    void include(double value);
    bool isEmpty() const { return low > high; }
};

// Seconds shown in minutes, or in hours when the span is longer than six hours.
struct TimeUnit
{
    double seconds = 60.0;  // s per unit
    QString name = QStringLiteral("min");

    static TimeUnit forSpan(double spanSeconds);
    double of(double secondsValue) const { return secondsValue / seconds; }
};

}  // namespace ChartAxes
