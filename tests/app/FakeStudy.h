#pragma once
// A study for view tests: a fixed road shape and scene, a manual wall clock, and a scripted
// simulation whose steps hand out vehicles the test built and report a given progress.

#include "app/CMillisecondClock.h"
#include "app/CViewDocument.h"
#include "vehicles/Vehicle.h"

#include <memory>
#include <vector>

class ManualClock : public CMillisecondClock
{
public:
    std::uint32_t now() const override { return time; }
    std::uint32_t time = 100000;
};

class ScriptedSimulation : public CSimulationLink
{
public:
    void setSpaceTimeInterval(double seconds) override { spaceTimeInterval = seconds; }
    bool setupSimulation() override
    {
        ++setups;
        intervalAtSetup = spaceTimeInterval;
        return setupResult;
    }
    VehicleLists step(bool& running) override
    {
        ++steps;
        if (clock)
            clock->time += msPerStep;
        simTime += 0.1;
        if (!progressScript.empty())
        {
            progress = progressScript.front();
            progressScript.erase(progressScript.begin());
        }
        if (steps >= stepsUntilEnd)
            running = false;
        return lists;
    }
    double getTime() const override { return simTime; }
    std::string runRemark() const override { return remark; }
    int getProgress() const override { return progress; }
    void reset() override
    {
        ++resets;
        simTime = 0.0;
        steps = 0;
    }

    bool setupResult = true;
    int setups = 0;
    double spaceTimeInterval = 0.0;  // s, as the last run was told
    double intervalAtSetup = 0.0;    // s
    int steps = 0;
    int resets = 0;
    int stepsUntilEnd = 1000000;
    int progress = 0;
    std::vector<int> progressScript;
    double simTime = 0.0;
    std::string remark;
    VehicleLists lists;
    // When set, each step takes this long on the clock.
    ManualClock* clock = nullptr;
    std::uint32_t msPerStep = 0;
};

class FakeStudy : public CViewDocument
{
public:
    CStudyShape shape() const override { return studyShape; }
    CRoadScene scene() const override { return roadScene; }
    CSimulationLink& simulation() override { return sim; }

    // A vehicle in lane list lane - 1; kept alive by the study.
    Vehicle& addVehicle(int lane, bool positive, double roadX, double length, int vehicleClass, double velocity = 20.0)
    {
        auto vehicle = std::make_unique<Vehicle>();
        vehicle->lane = lane;
        vehicle->direction = positive ? 1 : 2;
        vehicle->directionPositive = positive;
        vehicle->roadX = roadX;
        vehicle->length = length;
        vehicle->vehicleClass = static_cast<short>(vehicleClass);
        vehicle->velocity = velocity;
        if (sim.lists.size() < static_cast<std::size_t>(lane))
            sim.lists.resize(static_cast<std::size_t>(lane));
        sim.lists[static_cast<std::size_t>(lane - 1)].push_back(vehicle.get());
        vehicles.push_back(std::move(vehicle));
        return *vehicles.back();
    }

    CStudyShape studyShape;
    CRoadScene roadScene;
    ScriptedSimulation sim;
    std::vector<std::unique_ptr<Vehicle>> vehicles;
};
