#pragma once
// The measurement files written once per interval, as the measurements layer reads them, turned
// into the rows compared across runs: one row per interval, keyed by the interval's number.

#include "measurements/CompositionTable.h"
#include "measurements/FlowDensityTable.h"
#include "measurements/LaneChangeTables.h"
#include "measurements/LoadEffectTables.h"
#include "replications/RunTable.h"

#include <optional>

namespace IntervalTables {
// FD_: per lane and for the totals, density, flow and speed. runSeconds (simulated, s) bounds
// the interval length, which the file does not hold.
RunTable flowDensity(const FlowDensityTable& file, std::optional<double> runSeconds);
// Comp_: the counts of each vehicle class.
RunTable composition(const CompositionTable& file);
// LC_Comp_: lane changes of each vehicle class.
RunTable laneChangeComposition(const LaneChangeCompositionTable& file);
// LC_Rate_: lane changes per km and hour in each location bin.
RunTable laneChangeRates(const LaneChangeRateTable& file);
// LE_<bridge>.csv: the maximum and minimum of complete intervals; the run's last, shorter
// interval is left out.
RunTable loadEffectIntervals(const LoadEffectIntervalTable& file);
}
