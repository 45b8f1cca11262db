#pragma once
// What is known of the run that wrote a folder's files, beyond the files: when it started, which
// places the files that count time from the start at the time of day, and its lanes, which name
// the road-wide lane numbers of the lane-change files.

#include "measurements/RoadLanes.h"

#include <optional>

struct RunContext
{
    std::optional<double> start;  // s on the traffic files' calendar
    RoadLanes lanes{};
};
