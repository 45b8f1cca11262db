#pragma once
// A speed-limit section: drivers faster than the limit keep their ratio to their class's
// typical desired velocity, applied to the limit.

#include "vehicles/RoadSegment.h"

class SpeedLimit : public RoadSegment
{
public:
    SpeedLimit(int start, int end, double limit, bool directionPositive);
    ~SpeedLimit() override = default;

    void leave(Vehicle& vehicle) override;
    void enter(Vehicle& vehicle) override;

    double getLimit() const { return limit; }

private:
    // The class's typical desired velocity (m/s), or 0 when the road has given no set.
    double classDesiredVelocity(short vehicleClass) const;

    double limit;  // m/s
};
