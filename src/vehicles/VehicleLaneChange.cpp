#include "vehicles/Vehicle.h"

#include <limits>

bool Vehicle::changeCannotPayOnAnyRoad(bool toLeft) const
{
    if (driver != &idm)
        return false;
    // The outside lanes lie towards the middle of the road.
    const bool biasAway = toLeft == drivesOnRight;
    // No leader can raise the acceleration above the free-road bound, so a gain that fails
    // with the bound fails with every leader; the rounding keeps that order.
    const double bestGain = idm.accelerationBound(velocity) - acceleration;  // m/s²
    return idm.changeCannotPay(std::numeric_limits<double>::infinity(), bestGain, biasAway);
}

double Vehicle::incentiveWithFollower(const Vehicle* newLeader, const Vehicle* newFollower, double gapAhead,
                                      double ownGain, bool biasAway) const
{
    double gapBehind = entryGap;  // m
    double followerAccNow = safeDeceleration;    // m/s²
    double followerAccAfter = safeDeceleration;  // m/s²
    if (newFollower) {
        gapBehind = position - length - newFollower->position;
        followerAccAfter = gapBehind < laneChangeMinGap ? prohibitiveAcceleration
                                                         : newFollower->accelerationBehind(*this);
        followerAccNow = newLeader && gapAhead > laneChangeMinGap
                             ? newFollower->accelerationBehind(*newLeader)
                             : newFollower->acceleration;
    }

    return driver->laneChangeIncentive(gapAhead, gapBehind, ownGain, followerAccNow,
                                       followerAccAfter, biasAway);
}
