#pragma once
// The value under the pointer as text in an axis's units: a time as hh:mm (the time of day, or
// the time since the start of the run as h:mm), any other value with the unit of the axis's
// title and as many digits as the shown range can tell apart.

#include <QString>

class QValueAxis;

namespace PointerReadout {

// "Flow 1234.5 veh/h", "Time of day 07:35".
QString of(const QValueAxis& axis, double value);
// hh:mm to the nearest minute, with the day from the second day on when `timeOfDay`; else h:mm since the start.
QString timeText(double seconds, bool timeOfDay);
// True for the result charts' time axes, whose values are seconds; `timeOfDay` says which clock.
bool isTimeAxis(const QValueAxis& axis, bool* timeOfDay = nullptr);

}  // namespace PointerReadout
