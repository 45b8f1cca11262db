#pragma once
// Driver models and vehicles with the parameters of the worked examples.

#include "vehicles/IDM.h"
#include "vehicles/Truck.h"

#include <memory>

constexpr double kmhFactor = 0.27777778;

// T 1.5 s, a 1 m/s², b 2 m/s², s0 2 m, v0 30 m/s, delta 4; s1 and the lane-change
// parameters as given.
inline IDM workedIDM(double s1 = 0.0, double politeness = 0.5, double bias = 0.3, double threshold = 0.2)
{
    IDM model;
    model.setT(1.5);
    model.setA(1.0);
    model.setB(2.0);
    model.setS0(2.0);
    model.setS1(s1);
    model.setV0(30.0 / kmhFactor);
    model.setDelta(4.0);
    model.setPoliteness(politeness);
    model.setBias(bias);
    model.setThreshold(threshold);
    return model;
}

inline std::unique_ptr<Vehicle> vehicleAt(double position, double velocity, double length = 5.0,
                                          const IDM& model = workedIDM())
{
    auto vehicle = std::make_unique<Truck>();
    vehicle->setDriverModel(model);
    vehicle->setRoad(5000, true);
    vehicle->position = position;
    vehicle->roadX = position;
    vehicle->velocity = velocity;
    vehicle->length = length;
    return vehicle;
}
