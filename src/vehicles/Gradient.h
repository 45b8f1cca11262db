#pragma once
// A gradient section: longer headways on every slope; uphill, less acceleration, more
// braking and a lower desired velocity; downhill, more acceleration.

#include "vehicles/RoadSegment.h"

class Gradient : public RoadSegment
{
public:
    Gradient(int start, int end, double gradient, bool directionPositive);
    ~Gradient() override = default;

    void leave(Vehicle& vehicle) override;
    void enter(Vehicle& vehicle) override;

    double getGradient() const { return gradient; }

private:
    double gradient;  // %, positive uphill in the direction of travel
};
