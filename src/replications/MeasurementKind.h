#pragma once
// Which measurement files are compared across runs, and how, told by their names.

#include <optional>
#include <string>

enum class MeasurementKind
{
    flowDensity,            // FD_: per interval
    composition,            // Comp_: per interval
    headways,               // Head_: per lane, the run's count and mean
    laneChangeEvents,       // LC_All_: the run's counts of lane changes
    laneChangeComposition,  // LC_Comp_: per interval
    laneChangeRates,        // LC_Rate_: per interval
    laneChangeSpaceTime,    // LC_ST_: the same events as LC_All_, not compared again
    loadEffectIntervals,    // LE_<bridge>.csv: per interval, the extremes
    loadEffectSeconds,      // LE_<bridge>_seconds.csv: the loaded seconds, which differ from run to run; not compared
    loadEffectEvents,       // LE_<bridge>_events.csv: the run's largest events, not compared
};

// Nothing for a file that no detector or bridge writes.
std::optional<MeasurementKind> measurementKindOf(const std::string& fileName);
bool isCompared(MeasurementKind kind);
