#pragma once
// A vehicle read from a record lighter than the car weight limit. Its class is still decided
// by classification; the object kind has no other effect.

#include "vehicles/Vehicle.h"

class Car : public Vehicle
{
public:
    Car();
    ~Car() override = default;
};
