#include "measurements/RoadLanes.h"

#include "measurements/MeasurementFolder.h"

#include <algorithm>

RoadLanes RoadLanes::of(const MeasurementFolder& folder)
{
    RoadLanes lanes;
    for (const MeasurementEntry& entry : folder.entries)
    {
        int counted = 0;
        if (const auto* flows = std::get_if<FlowDensityTable>(&entry.table))
            counted = flows->laneCount;
        else if (const auto* headways = std::get_if<HeadwayTable>(&entry.table))
            counted = static_cast<int>(headways->lanes.size());
        int& own = entry.name.directionPositive ? lanes.direction1 : lanes.direction2;
        own = std::max(own, counted);
    }
    return lanes;
}

RoadLanes RoadLanes::orElse(const RoadLanes& other) const
{
    return {direction1 > 0 ? direction1 : other.direction1, direction2 > 0 ? direction2 : other.direction2};
}

std::optional<RoadLanes::Lane> RoadLanes::ofRoadLane(int roadLane, bool directionPositive) const
{
    // Direction 1's lanes come first, from its kerb side; direction 2's end with its kerb-side lane.
    if (directionPositive)
        return roadLane >= 1 ? std::optional(Lane{1, roadLane}) : std::nullopt;
    if (direction1 <= 0 || direction2 <= 0 || roadLane <= direction1 || roadLane > direction1 + direction2)
        return std::nullopt;
    return Lane{2, direction1 + direction2 - roadLane + 1};
}
