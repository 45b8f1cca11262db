#pragma once
// Vehicles placed by hand on the lanes of a road, for the load-effect tests.

#include "vehicles/Vehicle.h"

#include <memory>
#include <utility>
#include <vector>

struct TestAxle
{
    double weight;   // kN
    double spacing;  // m to the next axle
};

inline std::unique_ptr<Vehicle> makeVehicle(const std::vector<TestAxle>& axles, int direction, int lane,
                                            long long inputLine = 0)
{
    auto vehicle = std::make_unique<Vehicle>();
    vehicle->direction = direction;
    vehicle->directionPositive = direction == 1;
    vehicle->lane = lane;
    vehicle->inputLine = inputLine;
    vehicle->axleCount = static_cast<int>(axles.size());
    vehicle->createAxles();
    double weight = 0.0;
    for (std::size_t i = 0; i < axles.size(); ++i)
    {
        vehicle->setAxleWeight(static_cast<int>(i), axles[i].weight);
        vehicle->setAxleSpacing(static_cast<int>(i), axles[i].spacing);
        weight += axles[i].weight;
    }
    vehicle->gvw = weight;
    vehicle->vehicleClass = vehicle->classify();
    return vehicle;
}

// The per-lane lists of one step, front-most first, as the engine hands them out.
class TestLanes
{
public:
    explicit TestLanes(int laneCount) : lanes(static_cast<std::size_t>(laneCount)) {}

    void clear()
    {
        for (auto& lane : lanes)
            lane.clear();
    }
    // Vehicles of one lane are given front-most first.
    void place(Vehicle& vehicle, double position)
    {
        vehicle.position = position;
        lanes[static_cast<std::size_t>(vehicle.lane - 1)].push_back(&vehicle);
    }
    const std::vector<std::vector<Vehicle*>>& lists() const { return lanes; }

private:
    std::vector<std::vector<Vehicle*>> lanes;
};
