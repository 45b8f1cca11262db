#include "vehicles/Vehicle.h"

#include "config/CConfigData.h"
#include "vehicles/SpeedUnits.h"
#include "vehicles/VehiclePool.h"
#include "vehicles/WeightUnits.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstddef>
#include <cstdio>

constexpr double secondsPerDay = 86400.0;
constexpr double secondsPerHour = 3600.0;
constexpr double secondsPerMinute = 60.0;

// Truncation toward zero that stays defined for values an int cannot hold; one short of the
// limits so that the calendar's counting from 1 cannot overflow either.
static int truncateToInt(double x)
{
    constexpr int largest = INT_MAX - 1;
    if (std::isnan(x))
        return 0;
    if (x >= static_cast<double>(largest))
        return largest;
    if (x <= static_cast<double>(-largest))
        return -largest;
    return static_cast<int>(x);
}

// Takes the whole units out of rest (s); a calendar unit of no length (a nonsense
// configuration) holds none, rather than dividing by zero.
static int takeWholeUnits(double& rest, double unitSeconds)
{
    if (!(unitSeconds > 0.0))
        return 0;
    const int whole = truncateToInt(rest / unitSeconds);
    rest -= whole * unitSeconds;
    return whole;
}

// Under AddressSanitizer vehicles come from the ordinary heap, where it sees each one's leak, use
// after free or double free; VehiclePool's own tests run under it all the same.
#if defined(__SANITIZE_ADDRESS__)
#define ROADFLUX_POOLED_VEHICLES 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ROADFLUX_POOLED_VEHICLES 0
#endif
#endif
#ifndef ROADFLUX_POOLED_VEHICLES
#define ROADFLUX_POOLED_VEHICLES 1
#endif

namespace {
bool pooled(std::size_t size, std::align_val_t alignment)
{
    return ROADFLUX_POOLED_VEHICLES && size <= VehiclePool::forVehicles().slotSize() &&
           static_cast<std::size_t>(alignment) <= alignof(Vehicle);
}
}

void* Vehicle::operator new(std::size_t size, std::align_val_t alignment)
{
    if (!pooled(size, alignment))
        return ::operator new(size, alignment);
    return VehiclePool::forVehicles().allocate();
}

void Vehicle::operator delete(void* p, std::size_t size, std::align_val_t alignment) noexcept
{
    if (!pooled(size, alignment))
        ::operator delete(p, alignment);
    else
        VehiclePool::forVehicles().release(p);
}

static void appendFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

static void appendFormat(std::string& out, const char* format, ...)
{
    char buffer[128];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (written < 0)
        return;
    if (static_cast<std::size_t>(written) < sizeof buffer)
    {
        out.append(buffer, static_cast<std::size_t>(written));
        return;
    }
    // Huge values print whole rather than cut.
    std::string wide(static_cast<std::size_t>(written) + 1, '\0');
    va_start(args, format);
    std::vsnprintf(wide.data(), wide.size(), format, args);
    va_end(args);
    out.append(wide.data(), static_cast<std::size_t>(written));
}

// An obstacle too near the road's end stops every front vehicle before it is 10 m beyond the
// end, where it would be taken off, and the run never ends: such a setting gets the default.
int Vehicle::usableObstacleDistance(int configured)
{
    return configured >= minimumObstacleDistance ? configured : CConfigData().virtualObstacleDistance;
}

Vehicle::Vehicle()
    : laneChangeInterval(theConfigData.laneChangeInterval), laneChangeMinGap(theConfigData.laneChangeMinGap),
      driver(&idm), virtualObstacleDistance(usableObstacleDistance(theConfigData.virtualObstacleDistance)),
      entryGap(theConfigData.entryGap), safeDeceleration(theConfigData.safeDeceleration),
      craneMeanSpacing(theConfigData.craneMeanSpacing),
      craneMaxSpacing(static_cast<double>(theConfigData.craneMaxSpacing)),
      lowLoaderSpacing(theConfigData.lowLoaderSpacing), smallTruckMaxAxles(theConfigData.smallTruckMaxAxles),
      daysPerMonth(theConfigData.daysPerMonth), monthsPerYear(theConfigData.monthsPerYear),
      carMaxGVW(theConfigData.carMaxGVW)
{
}

double Vehicle::getTime() const
{
    // Whole-number arithmetic in doubles: exact up to 2^53, so the same as integers wherever
    // those would not overflow, and defined for any field values.
    const double monthsInYear = monthsPerYear;
    const double daysInMonth = daysPerMonth;
    const double days = static_cast<double>(year) * monthsInYear * daysInMonth +
                        (static_cast<double>(month) - 1.0) * daysInMonth + (static_cast<double>(day) - 1.0);
    const double wholeSeconds =
        days * secondsPerDay + hour * secondsPerHour + minute * secondsPerMinute + static_cast<double>(second);
    return wholeSeconds + hundredths / 100.0;
}

void Vehicle::setTime(double seconds)
{
    const double secondsPerMonth = static_cast<double>(daysPerMonth) * secondsPerDay;
    const double secondsPerYear = static_cast<double>(monthsPerYear) * secondsPerMonth;
    double rest = seconds;
    year = takeWholeUnits(rest, secondsPerYear);
    month = takeWholeUnits(rest, secondsPerMonth);
    day = takeWholeUnits(rest, secondsPerDay);
    hour = takeWholeUnits(rest, secondsPerHour);
    minute = takeWholeUnits(rest, secondsPerMinute);
    second = takeWholeUnits(rest, 1.0);
    hundredths = truncateToInt(100.0 * rest);
    day += 1;
    month += 1;
}

int Vehicle::createAxles()
{
    const int count = std::max(axleCount, 0);
    axles.resize(axles.size() + static_cast<std::size_t>(count));
    return count;
}

void Vehicle::setAxleWeight(int i, double kN)
{
    axles.at(static_cast<std::size_t>(i)).weight = kN;
}

void Vehicle::setAxleSpacing(int i, double metres)
{
    axles.at(static_cast<std::size_t>(i)).spacing = metres;
}

double Vehicle::getAxleWeight(int i) const
{
    return axles.at(static_cast<std::size_t>(i)).weight;
}

double Vehicle::getAxleSpacing(int i) const
{
    return axles.at(static_cast<std::size_t>(i)).spacing;
}

short Vehicle::classify() const
{
    if (carMaxGVW * kNPerHundredKg > gvw && axleCount == 2)
        return classCar;
    short vehicleKind = axleCount > smallTruckMaxAxles ? classLargeTruck : classSmallTruck;

    // A record without axles has no spacings to judge.
    if (axles.empty())
        return vehicleKind;
    const std::size_t counted = std::min(static_cast<std::size_t>(std::max(axleCount, 0)), axles.size());
    double totalSpacing = 0.0;  // m
    for (std::size_t i = 0; i < counted; ++i)
        totalSpacing += axles[i].spacing;
    // The spacing at the last rise from one spacing to the next, not the largest one.
    double peakSpacing = 0.0;  // m
    for (std::size_t i = 1; i < counted; ++i)
        if (axles[i - 1].spacing < axles[i].spacing)
            peakSpacing = axles[i].spacing;

    const double meanSpacing = totalSpacing / static_cast<double>(axles.size());  // m
    if (peakSpacing < craneMaxSpacing && axleCount > 2 && meanSpacing < craneMeanSpacing)
        vehicleKind = classCrane;
    if (peakSpacing >= lowLoaderSpacing && axleCount > 2)
        vehicleKind = classLowLoader;
    return vehicleKind;
}

void Vehicle::setDriverModel(const IDM& model)
{
    idm = model;
    driver = &idm;
}

void Vehicle::setRoad(int lengthOfRoad, bool onRight)
{
    roadLength = lengthOfRoad;
    drivesOnRight = onRight;
}

void Vehicle::moveFree(double dt)
{
    advanceLaneChangeClock(dt);
    integrate(dt, accelerationFree());
}

int Vehicle::getLaneInDirection() const
{
    return directionPositive ? lane : laneCount - lane + 1;
}

std::string Vehicle::getVehicleData() const
{
    static const char separator[] = "-----------------------------------\n";
    std::string text;
    text.reserve(512 + 32 * axles.size());
    text += "Vehicle Data:\n";
    text += separator;
    text += "Direction: \t";
    text += directionPositive ? "Positive\n" : "Negative\n";
    appendFormat(text, "Lane:        \t%d\n", lane);
    appendFormat(text, "Position:    \t%4.1f m\n", roadX);
    appendFormat(text, "Gap:\t     \t%4.1f m\n", gap);
    appendFormat(text, "Velocity:    \t%3.1f km/h\n", velocity * kmhPerMetresPerSecond);
    appendFormat(text, "Acceleration:\t%2.2f m/s^2\n", acceleration);
    appendFormat(text, "Desired Vel.:\t%3.1f km/h\n", driver->getDesiredVelocity() * kmhPerMetresPerSecond);
    text += separator;
    appendFormat(text, "IDM T: \t\t%1.2f s\n", idm.getT());
    appendFormat(text, "IDM A: \t\t%2.2f m/s^2\n", idm.getA());
    appendFormat(text, "IDM B: \t\t%2.2f m/s^2\n", idm.getB());
    appendFormat(text, "IDM S0:\t\t%2.2f m\n", idm.getS0());
    appendFormat(text, "IDM S1:\t\t%2.2f m\n", idm.getS1());
    appendFormat(text, "IDM V0:\t\t%3.1f m/s\n", idm.getV0());
    appendFormat(text, "IDM Delta:\t%2.1f\n", idm.getDelta());
    appendFormat(text, "IDM Polite:\t%2.1f\n", idm.getPoliteness());
    appendFormat(text, "IDM Bias:\t%2.1f\n", idm.getBias());
    appendFormat(text, "IDM DeltaAth:\t%2.1f\n", idm.getThreshold());
    text += separator;
    appendFormat(text, "GVW:         \t%3.1f kN\n", gvw);
    appendFormat(text, "Length:      \t%2.1f m\n", length);
    appendFormat(text, "No of Axles: \t%d\n", axleCount);
    for (std::size_t i = 0; i < axles.size(); ++i)
    {
        appendFormat(text, "Axle %d:\t", static_cast<int>(i + 1));
        appendFormat(text, "%2.1f kN", axles[i].weight);
        if (i + 1 < axles.size())
            appendFormat(text, " | %2.1f m\n", axles[i].spacing);
    }
    return text;
}
