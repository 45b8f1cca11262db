#pragma once
// The five vehicle classes. A vehicle's class follows from its weight and axles, not from
// whether it was created as a Car or a Truck.

enum VehicleClass : short
{
    classCar = 0,
    classSmallTruck = 1,
    classLargeTruck = 2,
    classCrane = 3,
    classLowLoader = 4,
};
