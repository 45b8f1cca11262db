#pragma once
// Makes the vehicles of a synthetic traffic file: axle layouts, weights, lengths and speeds
// typical of each vehicle class, chosen so that the classification (with the default limits)
// gives each vehicle its intended class back.

#include "cli/SyntheticRandom.h"
#include "vehicles/Vehicle.h"

#include <memory>
#include <vector>

class SyntheticVehicleFactory
{
public:
    // fileFormat decides the weight unit: VORK records hold whole kilonewtons.
    SyntheticVehicleFactory(SyntheticRandom& random, unsigned short fileFormat);

    // A vehicle of the class, without time stamp, direction or lane.
    std::unique_ptr<Vehicle> make(short vehicleClass);

private:
    // Everything in the traffic files' own units, so that writing loses nothing.
    struct Layout
    {
        std::vector<int> spacingsDm;     // 0.1 m, one per axle, the last one 0
        std::vector<double> loadShares;  // share of the gross weight on each axle
        int grossWeight = 0;             // units of 100 kg
        int lengthDm = 0;                // 0.1 m
        double speedKmh = 0.0;           // km/h
        bool isCar = false;              // read back as a Car object rather than a Truck
    };

    Layout carLayout();
    Layout smallTruckLayout();
    Layout largeTruckLayout();
    Layout craneLayout();
    Layout lowLoaderLayout();
    std::vector<int> axleWeights(const Layout& layout);
    std::unique_ptr<Vehicle> build(const Layout& layout);
    double truckSpeedKmh();

    SyntheticRandom& random;
    bool weightsInKilonewtons;
};
