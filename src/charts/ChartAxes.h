#pragma once
// Value axes for the result charts, with titles that carry units, and the unit of a time axis
// chosen for the span it shows.

#include <QString>

#include <limits>
#include <optional>

class QChart;
class QLogValueAxis;
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

// A base-10 logarithmic axis, labelled with plain numbers; fitLog shows whole decades around
// [low, high] (both above 0).
QLogValueAxis* addLog(QChart& chart, Qt::Alignment alignment, const QString& title);
void fitLog(QLogValueAxis& axis, double low, double high);

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

// The one time axis of every chart: values in seconds, labelled h:mm at round times. When the
// run's start is known, the values are seconds on the traffic files' calendar and the labels the
// time of day; otherwise they are the seconds since the start of the run.
struct Clock
{
    double origin = 0.0;     // s on the calendar at the value 0 of the data: the run's start
    bool timeOfDay = false;  // the axis shows calendar time

    // Time since the start of the run, placed at the time of day when the start is known.
    static Clock since(std::optional<double> runStart) { return runStart ? Clock{*runStart, true} : Clock{}; }
    // Data already in seconds on the calendar.
    static Clock calendar() { return Clock{0.0, true}; }

    // The axis value of `seconds` since the start of the run.
    double at(double seconds) const { return (timeOfDay ? origin : 0.0) + seconds; }
    QString title() const;
};

// A time axis along the bottom, labelled as Clock says; fitTime gives its range.
QValueAxis* addTime(QChart& chart, const Clock& clock);
// Shows exactly [low, high] (axis values, s) with labels at round times: 1, 2, 5, 10, 15 or 30
// minutes, or 1, 2, 3, 6 or 12 hours, or days apart. A time of day whose range crosses midnight
// names the day in its labels and says so in its title.
void fitTime(QValueAxis& axis, double low, double high);
// "07:35"; "d2 07:35" with the day of the traffic files' calendar (day 1 from 0 s); "1:05" since the start.
QString timeLabel(double value, bool timeOfDay, bool withDay);
// The title of a time-of-day axis whose labels carry the day.
QString dayTitle();

// The one distance axis: road x, along which direction 1 travels away from 0 and direction 2
// towards it. The title names the direction the chart shows, short as the lane names: "D2".
QString roadXTitle(int direction);

}  // namespace ChartAxes
