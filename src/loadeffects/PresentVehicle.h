#pragma once
// A vehicle with an axle on a bridge, or straddling it, in one step: what a load event lists.

class Vehicle;

struct PresentVehicle
{
    const Vehicle* vehicle;  // valid during the step only
    long long inputLine;     // with the pointer, tells vehicles apart across steps
    int lane;                // road-wide, from 1
    double frontX;           // m of road x

    bool isSameVehicle(const PresentVehicle& other) const
    {
        return vehicle == other.vehicle && inputLine == other.inputLine;
    }
};
