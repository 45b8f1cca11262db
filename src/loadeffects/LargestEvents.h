#pragma once
// The largest load events of a run, each one crossing or jam rather than the many steps of it.
// An event opens at a step with vehicles on the bridge and lasts while at least one of the
// vehicles present at its highest value so far is still on the bridge; its value is that
// highest value. So no vehicle of an event's peak is on the bridge at another listed peak.

#include "loadeffects/PresentVehicle.h"

#include <cstddef>
#include <vector>

struct EventVehicle
{
    long long inputLine;  // line of the input traffic file
    short vehicleClass;
    double grossWeight;  // kN
    int lane;            // road-wide, from 1
    double frontX;       // m of road x
};

struct LoadEvent
{
    double value;
    double time;  // s
    std::vector<EventVehicle> vehicles;
};

class LargestEvents
{
public:
    static constexpr std::size_t defaultCapacity = 20;

    explicit LargestEvents(std::size_t capacity = defaultCapacity);

    // A step with vehicles on the bridge (present is not empty).
    void loaded(double value, double time, const std::vector<PresentVehicle>& present);
    // A step with nobody on the bridge: the open event ends.
    void unloaded();
    void finish() { unloaded(); }

    // Largest first; equal values in the order of their times.
    const std::vector<LoadEvent>& getEvents() const { return events; }

private:
    bool sharesPeakVehicle(const std::vector<PresentVehicle>& present) const;
    bool couldEnter(double value) const;
    void newPeak(double value, double time, const std::vector<PresentVehicle>& present);

    std::size_t capacity;
    std::vector<LoadEvent> events;

    bool open = false;
    LoadEvent current;
    bool currentListed = false;  // its vehicles were recorded: it may enter the list
    std::vector<PresentVehicle> peakVehicles;
};
