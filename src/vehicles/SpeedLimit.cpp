#include "vehicles/SpeedLimit.h"

#include "config/CIDMParameterSet.h"
#include "vehicles/SpeedUnits.h"
#include "vehicles/Vehicle.h"

#include <algorithm>
#include <cmath>

SpeedLimit::SpeedLimit(int segmentStart, int segmentEnd, double limitMetresPerSecond, bool positive)
    : RoadSegment(segmentStart, segmentEnd, positive), limit(limitMetresPerSecond)
{
}

double SpeedLimit::classDesiredVelocity(short vehicleClass) const
{
    const CIDMParameterSet* set = getParameterSet(vehicleClass);
    if (!set)
        return 0.0;
    return set->getParamV0().getDistribution().getLocation() * metresPerSecondPerKmh;
}

void SpeedLimit::enter(Vehicle& vehicle)
{
    DriverModel& driver = *vehicle.getDriverModel();
    const double desired = driver.getDesiredVelocity();  // m/s
    double limited = desired;                            // m/s
    if (desired > limit)
    {
        const double typical = classDesiredVelocity(vehicle.getClass());
        // Without a usable class figure the driver simply keeps to the limit; and a class
        // slower than the limit must not make its drivers faster inside it.
        limited = std::isfinite(typical) && typical > 0.0 ? std::min(desired, desired / typical * limit) : limit;
    }
    // A corrupt limit (not above 0) must not bring traffic to a standstill.
    if (!(limited > 0.0) || !std::isfinite(limited))
        limited = desired;
    driver.enterSpeedLimit(limited);
}

void SpeedLimit::leave(Vehicle& vehicle)
{
    vehicle.getDriverModel()->leaveSpeedLimit();
}
