#pragma once
// The rows of a flow-and-density file: per interval and lane the density, flow and space-mean
// speed, and the totals. A lane without vehicles has a not-a-number density and speed.

#include "outputfiles/CsvText.h"

#include <optional>
#include <string>
#include <vector>

struct LaneFlow
{
    double density = 0.0;  // veh/km
    double flow = 0.0;     // veh/h
    double speed = 0.0;    // km/h
};

struct FlowDensityRow
{
    long long interval = 0;  // 1 for the first interval
    std::vector<LaneFlow> lanes;
    LaneFlow totals;  // summed density and flow, plain mean of the lane speeds
};

struct FlowDensityTable
{
    int laneCount = 0;
    std::string header;  // the two header lines as written
    std::vector<FlowDensityRow> rows;

    static FlowDensityTable read(const CsvText& text);

    // The interval length, s, recovered from the flows: each vehicle adds 3600 / interval veh/h
    // to its lane's flow. The smallest whole number of seconds that makes every flow a whole
    // count; nothing when no vehicle was counted.
    std::optional<double> estimatedIntervalSeconds() const;
};
