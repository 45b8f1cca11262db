#pragma once
// Figures of the last run for a summary: counts of steps and vehicles, the simulated clock,
// release delays and the closest gaps.

#include "engine/GapFigures.h"
#include "engine/ReleaseDelays.h"

#include <cstdint>
#include <string>
#include <vector>

struct RunStatistics
{
    std::int64_t steps = 0;
    std::int64_t vehiclesReleased = 0;
    // Records handed to the output traffic file by both output detectors.
    std::int64_t recordsWritten = 0;
    // Sum over the steps of the vehicles on the road as each step's moves began.
    std::int64_t vehicleSteps = 0;
    // Vehicles whose lane is not a lane of their direction on this road; never released.
    std::int64_t skippedVehicles = 0;
    double startTime = 0.0;    // s, the first arrival time
    double currentTime = 0.0;  // s
    int percentRead = 0;       // % of the input traffic file
    // Records were lost: the output traffic file refused a write (a full disk, say).
    bool outputWriteFailed = false;
    // Measurement files that could not be created or lost lines (a full disk).
    std::vector<std::string> lostMeasurementFiles;
    ReleaseDelayFigures releaseDelays;
    GapFigures gaps;
};
