#pragma once
// Every kind of file a run writes into its metrics folder: the detectors' measurement files and
// the bridges' load-effect files.

enum class MeasurementKind
{
    flowDensity,            // FD_: per interval, flow, density and speed per lane
    headway,                // Head_: every headway per lane
    composition,            // Comp_: per interval, vehicles per class
    laneChangeEvents,       // LC_All_: every lane change
    laneChangeComposition,  // LC_Comp_: per interval, changes per class
    laneChangeSpaceTime,    // LC_ST_: the same events as points in time and space
    laneChangeRates,        // LC_Rate_: per interval, changes per km and hour in location bins
    loadEffectIntervals,    // LE_<bridge>.csv: per interval, the extremes
    loadEffectSeconds,      // LE_<bridge>_seconds.csv: the loaded seconds
    loadEffectEvents,       // LE_<bridge>_events.csv: the run's largest events
};

// The files of a point detector, which carry its road x in their names.
constexpr bool isPointDetectorKind(MeasurementKind kind)
{
    return kind == MeasurementKind::flowDensity || kind == MeasurementKind::headway ||
           kind == MeasurementKind::composition;
}

constexpr bool isLoadEffectKind(MeasurementKind kind)
{
    return kind == MeasurementKind::loadEffectIntervals || kind == MeasurementKind::loadEffectSeconds ||
           kind == MeasurementKind::loadEffectEvents;
}

constexpr bool isLaneChangeKind(MeasurementKind kind)
{
    return !isPointDetectorKind(kind) && !isLoadEffectKind(kind);
}

// Whether runs are compared file by file in this kind. The space-time points repeat the events,
// the loaded seconds differ from run to run by nature, and the largest events are single ones.
constexpr bool isComparedAcrossRuns(MeasurementKind kind)
{
    return kind != MeasurementKind::laneChangeSpaceTime && kind != MeasurementKind::loadEffectSeconds &&
           kind != MeasurementKind::loadEffectEvents;
}
