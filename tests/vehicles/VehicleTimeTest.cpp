#include "vehicles/Truck.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

static void expectCalendar(const Vehicle& v, int year, int month, int day, int hour, int minute, int second,
                           int hundredths)
{
    EXPECT_EQ(v.year, year);
    EXPECT_EQ(v.month, month);
    EXPECT_EQ(v.day, day);
    EXPECT_EQ(v.hour, hour);
    EXPECT_EQ(v.minute, minute);
    EXPECT_EQ(v.second, second);
    EXPECT_EQ(v.hundredths, hundredths);
}

TEST(VehicleTime, CalendarToSeconds)
{
    Truck v;
    EXPECT_EQ(v.getTime(), 0.0);
    v.year = 1;
    EXPECT_EQ(v.getTime(), 21600000.0);
    v.year = 0;
    v.month = 3;
    v.day = 4;
    v.hour = 5;
    v.minute = 6;
    v.second = 7;
    v.hundredths = 89;
    EXPECT_DOUBLE_EQ(v.getTime(), (2 * 25 + 3) * 86400.0 + 5 * 3600 + 6 * 60 + 7 + 0.89);

    // Late years pass the range of 32-bit seconds.
    Truck late;
    late.year = 99;
    late.month = 10;
    late.day = 25;
    late.hour = 23;
    EXPECT_EQ(late.getTime(), (99 * 250 + 9 * 25 + 24) * 86400.0 + 23 * 3600.0);
}

TEST(VehicleTime, SecondsToCalendar)
{
    Truck v;
    v.setTime(0.0);
    expectCalendar(v, 0, 1, 1, 0, 0, 0, 0);
    v.setTime(21600000.0 + 2 * 25 * 86400.0 + 3 * 86400.0 + 5 * 3600 + 6 * 60 + 7.5);
    expectCalendar(v, 1, 3, 4, 5, 6, 7, 50);
    Truck back;
    back.setTime(v.getTime());
    expectCalendar(back, 1, 3, 4, 5, 6, 7, 50);
}

TEST(VehicleTime, TruncationCanLoseAHundredth)
{
    Truck v;
    v.second = 59;
    v.hundredths = 1;
    v.setTime(v.getTime());
    expectCalendar(v, 0, 1, 1, 0, 0, 59, 0);
}

TEST(VehicleTime, NonsenseCalendarsAndTimesStayDefined)
{
    Truck noMonths;
    noMonths.monthsPerYear = 0;
    noMonths.setTime(3 * 86400.0 + 10.0);
    EXPECT_EQ(noMonths.year, 0);
    EXPECT_EQ(noMonths.month, 1);
    EXPECT_EQ(noMonths.day, 4);
    noMonths.setTime(100 * 86400.0);
    EXPECT_EQ(noMonths.getTime(), 100 * 86400.0);

    Truck noDays;
    noDays.daysPerMonth = 0;
    noDays.setTime(3 * 86400.0 + 10.0);
    EXPECT_EQ(noDays.year, 0);
    EXPECT_EQ(noDays.month, 1);
    EXPECT_EQ(noDays.day, 4);
    EXPECT_EQ(noDays.getTime(), 3 * 86400.0 + 10.0);

    Truck wild;
    wild.setTime(std::numeric_limits<double>::quiet_NaN());
    wild.setTime(1.0e300);
    wild.setTime(-1.0e300);
    wild.year = std::numeric_limits<int>::max();
    wild.month = std::numeric_limits<int>::min();
    wild.second = std::numeric_limits<int>::max();
    EXPECT_FALSE(std::isnan(wild.getTime()));
}
