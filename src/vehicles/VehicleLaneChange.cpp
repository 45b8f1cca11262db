#include "vehicles/Vehicle.h"

double Vehicle::exactIncentive(const Vehicle* newLeader, const Vehicle* newFollower, bool biasAway) const
{
    double gapAhead = entryGap;  // m
    double ownGain = 0.0;        // m/s²
    if (newLeader)
    {
        gapAhead = newLeader->position - newLeader->length - position;
        if (gapAhead < laneChangeMinGap)
            ownGain = prohibitiveAcceleration;
        else
        {
            if (driver == &idm)
            {
                const double bound = idm.accelerationBoundBehind(velocity, velocity - newLeader->velocity, gapAhead);
                if (idm.changeCannotPay(gapAhead, bound - acceleration, biasAway))
                    return 0.0;
            }
            ownGain = accelerationBehind(*newLeader) - acceleration;
        }
    }
    else
    {
        ownGain = accelerationFree() - acceleration;
    }

    // Each follower evaluation is two IDM accelerations; most candidates fail before they matter.
    if (driver == &idm && idm.changeCannotPay(gapAhead, ownGain, biasAway))
        return 0.0;
    return incentiveWithFollower(newLeader, newFollower, gapAhead, ownGain, biasAway);
}

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
