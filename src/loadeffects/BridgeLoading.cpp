#include "loadeffects/BridgeLoading.h"

#include "vehicles/Vehicle.h"

#include <utility>

namespace {
// m from the front axle to the last one.
double axleExtent(const Vehicle& vehicle)
{
    double extent = 0.0;
    for (std::size_t i = 0; i + 1 < vehicle.axles.size(); ++i)
        extent += vehicle.axles[i].spacing;
    return extent;
}
}

BridgeLoading::BridgeLoading(const Bridge& bridge, InfluenceLine influence, const RoadLayout& road)
    : line(std::move(influence))
{
    for (int lane = 1; lane <= road.totalLanes(); ++lane)
    {
        const int direction = road.directionOfLane(lane);
        if (!bridge.carries(direction))
            continue;
        CarriedLane carried{};
        carried.index = static_cast<std::size_t>(lane - 1);
        carried.factor = bridge.laneFactor(lane);
        if (direction == 1)
        {
            carried.from = bridge.start;
            carried.to = bridge.start + bridge.length();
            carried.sign = 1.0;
            carried.offset = -bridge.start;
            carried.roadXSign = 1.0;
            carried.roadXOffset = 0.0;
        }
        else
        {
            // Direction 2 counts from the road's far end: road x = L − position.
            carried.from = road.length - bridge.start - bridge.length();
            carried.to = road.length - bridge.start;
            carried.sign = -1.0;
            carried.offset = road.length - bridge.start;
            carried.roadXSign = -1.0;
            carried.roadXOffset = road.length;
        }
        lanes.push_back(carried);
    }
}

double BridgeLoading::effect(const std::vector<std::vector<Vehicle*>>& laneLists,
                             std::vector<PresentVehicle>& present) const
{
    present.clear();
    double total = 0.0;
    for (const CarriedLane& lane : lanes)
    {
        if (lane.index >= laneLists.size())
            continue;
        for (const Vehicle* vehicle : laneLists[lane.index])
        {
            const double front = vehicle->position;
            // Front-most first: from here on no vehicle has reached the bridge.
            if (front < lane.from)
                break;
            if (front - axleExtent(*vehicle) > lane.to)
                continue;
            total += lane.factor * vehicleEffect(*vehicle, lane);
            present.push_back({vehicle, vehicle->inputLine, static_cast<int>(lane.index) + 1,
                               lane.roadXSign * front + lane.roadXOffset});
        }
    }
    return total;
}

double BridgeLoading::vehicleEffect(const Vehicle& vehicle, const CarriedLane& lane) const
{
    double sum = 0.0;
    double position = vehicle.position;
    for (const Axle& axle : vehicle.axles)
    {
        sum += axle.weight * line.ordinate(lane.sign * position + lane.offset);
        position -= axle.spacing;
    }
    return sum;
}
