#include "vehicles/Vehicle.h"

double Vehicle::incentiveWithFollower(const Vehicle* newLeader, const Vehicle* newFollower, double gapAhead,
                                      double ownGain, bool biasAway) const
{
    double gapBehind = entryGap;                 // m
    double followerAccNow = safeDeceleration;    // m/s²
    double followerAccAfter = safeDeceleration;  // m/s²
    if (newFollower)
    {
        gapBehind = position - length - newFollower->position;
        followerAccAfter =
            gapBehind < laneChangeMinGap ? prohibitiveAcceleration : newFollower->accelerationBehind(*this);
        followerAccNow = newLeader && gapAhead > laneChangeMinGap ? newFollower->accelerationBehind(*newLeader)
                                                                  : newFollower->acceleration;
    }

    return driver->laneChangeIncentive(gapAhead, gapBehind, ownGain, followerAccNow, followerAccAfter, biasAway);
}
