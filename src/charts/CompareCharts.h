#pragma once
// The charts of a comparison of runs: for each flow-and-density file, the mean over the runs of
// the totals' flow, density and speed per interval with the 95 % confidence band of the mean, and
// the runs' fundamental diagrams (flow against density) overlaid, one colour per run.

#include "charts/ResultCharts.h"
#include "replications/RunComparison.h"

#include <vector>

namespace CompareCharts {

// The totals' columns of a flow-and-density file.
inline constexpr const char* flowColumn = "Totals Flow (veh/hr)";
inline constexpr const char* densityColumn = "Totals Density (veh/km)";
inline constexpr const char* speedColumn = "Totals Avg. Vel. (km/h)";

// The charts of one compared flow-and-density file; none for a table without the totals' columns.
std::vector<ResultChart> of(const ComparedTable& table, const std::vector<RunFolder>& runs);

}  // namespace CompareCharts
