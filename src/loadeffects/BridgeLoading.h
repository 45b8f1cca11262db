#pragma once
// The load effect on one bridge from the vehicles of one step: the sum over the axles on it of
// lane factor x axle weight (kN) x influence ordinate. A vehicle's first axle is at its front,
// each following one behind the one before by that one's spacing.

#include "loadeffects/Bridge.h"
#include "loadeffects/InfluenceLine.h"
#include "loadeffects/PresentVehicle.h"
#include "loadeffects/RoadLayout.h"

#include <cstddef>
#include <vector>

class Vehicle;

class BridgeLoading
{
public:
    BridgeLoading(const Bridge& bridge, InfluenceLine line, const RoadLayout& road);

    // `lanes`: a step's vehicles, one list per road-wide lane, front-most first. `present` is
    // cleared and receives each vehicle whose axles reach onto the bridge.
    double effect(const std::vector<std::vector<Vehicle*>>& lanes, std::vector<PresentVehicle>& present) const;

private:
    struct CarriedLane
    {
        std::size_t index;  // in the per-lane lists
        double factor;
        // The bridge in the lane's own coordinate (m from its direction's start).
        double from;
        double to;
        // Distance from the bridge's start = sign x position + offset (m).
        double sign;
        double offset;
        double roadXSign;  // road x of a position = roadXSign x position + roadXOffset (m)
        double roadXOffset;
    };

    double vehicleEffect(const Vehicle& vehicle, const CarriedLane& lane) const;

    std::vector<CarriedLane> lanes;
    InfluenceLine line;
};
