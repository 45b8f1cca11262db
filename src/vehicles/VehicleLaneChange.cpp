#include "vehicles/Vehicle.h"

#include <limits>

// An incentive has to reach this even when a driver's threshold is lower.
constexpr double minimumIncentive = 0.0001;  // m/s²
// Stands for "impossible": a gap below the minimum on either side.
constexpr double prohibitiveAcceleration = -1000000.0;  // m/s²

int Vehicle::decideLaneChange(const Vehicle* leaderLeft, const Vehicle* followerLeft,
                              const Vehicle* leaderRight, const Vehicle* followerRight,
                              bool hasLeft, bool hasRight) const
{
    // The outside lanes lie towards the middle of the road.
    const bool leftIsOutside = drivesOnRight;
    const double incentiveLeft =
        hasLeft ? laneChangeIncentive(leaderLeft, followerLeft, leftIsOutside) : 0.0;
    const double incentiveRight =
        hasRight ? laneChangeIncentive(leaderRight, followerRight, !leftIsOutside) : 0.0;
    if (incentiveLeft < minimumIncentive && incentiveRight < minimumIncentive)
        return 0;
    return incentiveLeft > incentiveRight ? 1 : 2;
}

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

double Vehicle::laneChangeIncentive(const Vehicle* newLeader, const Vehicle* newFollower,
                                    bool biasAway) const
{
    double gapAhead = entryGap;   // m
    double gapBehind = entryGap;  // m
    double followerAccNow = safeDeceleration;    // m/s²
    double followerAccAfter = safeDeceleration;  // m/s²
    double ownGain = 0.0;                        // m/s²

    if (newLeader) {
        gapAhead = newLeader->position - newLeader->length - position;
        ownGain = gapAhead < laneChangeMinGap ? prohibitiveAcceleration
                                               : accelerationBehind(*newLeader) - acceleration;
    } else {
        ownGain = accelerationFree() - acceleration;
    }

    // Each follower evaluation is two IDM accelerations; most candidates fail before they matter.
    if (driver == &idm && idm.changeCannotPay(gapAhead, ownGain, biasAway))
        return 0.0;

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
