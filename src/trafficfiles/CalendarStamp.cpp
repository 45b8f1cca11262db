#include "trafficfiles/CalendarStamp.h"

#include "config/CConfigData.h"
#include "vehicles/Vehicle.h"

#include <algorithm>

void stampCalendarTime(Vehicle& vehicle, std::int64_t total)
{
    // Whole numbers throughout: a day's hundredths never round into the next.
    const std::int64_t daysPerMonth = std::max(1, theConfigData.daysPerMonth);
    const std::int64_t monthsPerYear = std::max(1, theConfigData.monthsPerYear);
    const std::int64_t seconds = total / 100;
    const std::int64_t days = seconds / 86400;
    vehicle.hundredths = static_cast<int>(total % 100);
    vehicle.second = static_cast<int>(seconds % 60);
    vehicle.minute = static_cast<int>(seconds / 60 % 60);
    vehicle.hour = static_cast<int>(seconds / 3600 % 24);
    vehicle.day = static_cast<int>(days % daysPerMonth) + 1;
    vehicle.month = static_cast<int>(days / daysPerMonth % monthsPerYear) + 1;
    vehicle.year = static_cast<int>(days / (daysPerMonth * monthsPerYear));
}
