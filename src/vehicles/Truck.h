#pragma once
// A vehicle read from a record at or above the car weight limit. Its class is still decided
// by classification; the object kind has no other effect.

#include "vehicles/Vehicle.h"

class Truck : public Vehicle
{
public:
    Truck() = default;
    ~Truck() override = default;
};
