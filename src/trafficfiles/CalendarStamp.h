#pragma once
// A vehicle's time stamp from hundredths of a second of the traffic files' calendar, with the
// configuration's days per month and months per year: the one conversion the generators share.

#include <cstdint>

class Vehicle;

void stampCalendarTime(Vehicle& vehicle, std::int64_t hundredthsOfCalendar);
