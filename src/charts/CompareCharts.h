#pragma once
// The charts of a comparison of runs: for each flow-and-density file, the mean over the runs of
// the totals' flow, density and speed per interval with the 95 % confidence band of the mean, and
// the runs' fundamental diagrams (flow against density) overlaid, one colour per run; for each
// bridge its interval maxima and minima likewise with each run's own; per lane the runs' mean
// headways, the lane changes, and the means of the other interval files.

#include "charts/ResultCharts.h"
#include "replications/RunComparison.h"

#include <vector>

namespace CompareCharts {

// The totals' columns of a flow-and-density file.
inline constexpr const char* flowColumn = "Totals Flow (veh/hr)";
inline constexpr const char* densityColumn = "Totals Density (veh/km)";
inline constexpr const char* speedColumn = "Totals Avg. Vel. (km/h)";

inline constexpr const char* maximumColumn = "maximum";
inline constexpr const char* minimumColumn = "minimum";
inline constexpr const char* meanHeadwayColumn = "Mean headway (s)";
inline constexpr const char* headwayCountColumn = "Headways";

// The charts of one compared file; none for a flow-and-density file without the totals' columns.
std::vector<ResultChart> of(const ComparedTable& table, const std::vector<RunFolder>& runs);

}  // namespace CompareCharts
