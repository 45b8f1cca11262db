#pragma once
// Vehicles placed by hand for detector tests: just the state a detector reads.

#include "vehicles/Vehicle.h"

#include <memory>

inline std::unique_ptr<Vehicle> placedVehicle(double position, double velocity, short vehicleClass = 0, int lane = 1,
                                              int laneCount = 2, bool directionPositive = true)
{
    auto vehicle = std::make_unique<Vehicle>();
    vehicle->position = position;
    vehicle->roadX = position;
    vehicle->velocity = velocity;
    vehicle->vehicleClass = vehicleClass;
    vehicle->lane = lane;
    vehicle->laneCount = laneCount;
    vehicle->directionPositive = directionPositive;
    vehicle->direction = directionPositive ? 1 : 2;
    return vehicle;
}
