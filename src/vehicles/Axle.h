#pragma once
// One axle of a vehicle record: its load and the distance to the next axle.

class Axle
{
public:
    Axle() = default;
    Axle(const Axle&) = default;
    Axle& operator=(const Axle&) = default;
    virtual ~Axle() = default;

    double spacing = 0.0;  // m, to the next axle; normally 0 for the last one
    double weight = 0.0;   // kN
};
