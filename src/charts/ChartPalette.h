#pragma once
// The colours of the result charts: one per lane, black for the totals, and the vehicle classes
// in the colours of the configuration file.

#include <QColor>

namespace ChartPalette {

// Lane n (0-based); the colours repeat after eight lanes.
QColor lane(int n);
QColor totals();
// Class 0 to 4 as configured; other codes take class 0's colour.
QColor vehicleClass(int vehicleClass);
// The colour scale of heat maps: dark blue at 0 through green to yellow at 1.
QColor scale(double fraction);

}  // namespace ChartPalette
