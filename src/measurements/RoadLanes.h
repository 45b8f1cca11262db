#pragma once
// How many lanes each direction of the road has, as far as a run's files or its study say: what
// turns the road-wide lane numbers of the traffic and lane-change files into a direction and a
// lane counted from the kerb, as the flow, density and headway files count them.

#include <optional>

struct MeasurementFolder;

struct RoadLanes
{
    int direction1 = 0;  // 0: not known
    int direction2 = 0;

    // The lanes counted by the folder's flow-and-density and headway files, per direction.
    static RoadLanes of(const MeasurementFolder& folder);
    // These counts where known, else `other`'s.
    RoadLanes orElse(const RoadLanes& other) const;

    // A road-wide lane number of a direction's file as the direction and the lane from its kerb
    // (1 the kerb-side lane); nothing when the road's lanes are not known well enough.
    struct Lane
    {
        int direction = 1;
        int fromKerb = 1;
    };
    std::optional<Lane> ofRoadLane(int roadLane, bool directionPositive) const;
};
