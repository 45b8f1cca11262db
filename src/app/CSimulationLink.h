#pragma once
// How run control reaches a study's simulation: set-up, one step, the clock, the share of the
// traffic file read and the reset after a run. The program forwards to the document and its Sim;
// tests put a scripted simulation in its place.

#include <string>
#include <vector>

class Vehicle;

using VehicleLists = std::vector<std::vector<Vehicle*>>;

class CSimulationLink
{
public:
    virtual ~CSimulationLink() = default;

    // The sample interval (s) of the space-time diagram the next run records, if it records one.
    virtual void setSpaceTimeInterval(double) {}
    // False when the run may not start; the refusal has been shown to the user.
    virtual bool setupSimulation() = 0;
    // One time step; clears running in the step that ends the run. The lists hold the vehicles
    // of each lane (lane number = index + 1), valid until the next step or the reset.
    virtual VehicleLists step(bool& running) = 0;
    virtual double getTime() const = 0;   // s
    virtual int getProgress() const = 0;  // % of the traffic file read
    virtual void reset() = 0;
    // A line to add to the end-of-run message, or "" (for example vehicles that could not be
    // placed on any lane of the road).
    virtual std::string runRemark() const { return {}; }
};
