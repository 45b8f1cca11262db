#include "loadeffects/LargestEvents.h"

#include "vehicles/Vehicle.h"

#include <algorithm>

LargestEvents::LargestEvents(std::size_t listCapacity) : capacity(listCapacity)
{
    events.reserve(capacity + 1);
}

void LargestEvents::loaded(double value, double time, const std::vector<PresentVehicle>& present)
{
    if (open && sharesPeakVehicle(present))
    {
        if (value > current.value)
            newPeak(value, time, present);
        return;
    }
    unloaded();
    open = true;
    newPeak(value, time, present);
}

void LargestEvents::unloaded()
{
    if (!open)
        return;
    open = false;
    if (!currentListed || !couldEnter(current.value))
        return;
    // After every event of equal value already listed: those came first.
    const auto place = std::upper_bound(events.begin(), events.end(), current.value,
                                        [](double value, const LoadEvent& event) { return value > event.value; });
    events.insert(place, current);
    if (events.size() > capacity)
        events.pop_back();
}

bool LargestEvents::sharesPeakVehicle(const std::vector<PresentVehicle>& present) const
{
    for (const PresentVehicle& now : present)
        for (const PresentVehicle& atPeak : peakVehicles)
            if (now.isSameVehicle(atPeak))
                return true;
    return false;
}

bool LargestEvents::couldEnter(double value) const
{
    return capacity > 0 && (events.size() < capacity || value > events.back().value);
}

void LargestEvents::newPeak(double value, double time, const std::vector<PresentVehicle>& present)
{
    peakVehicles = present;
    current.value = value;
    current.time = time;
    // The vehicles' details are kept only for a peak that can still make the list.
    currentListed = couldEnter(value);
    current.vehicles.clear();
    if (!currentListed)
        return;
    for (const PresentVehicle& vehicle : present)
        current.vehicles.push_back(
            {vehicle.inputLine, vehicle.vehicle->getClass(), vehicle.vehicle->getGVW(), vehicle.lane, vehicle.frontX});
}
