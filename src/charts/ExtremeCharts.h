#pragma once
// The charts of a bridge's block maxima across runs: the probability plot (the sorted maxima on
// the Gumbel reduced-variate axis, with both fitted distributions) and the return-level plot
// (each fit's level over the return period on a log axis with its 95 % band, and the maxima at
// their empirical return periods).

#include "charts/ResultCharts.h"
#include "replications/ExtremePlots.h"

#include <QString>

#include <vector>

namespace ExtremeCharts {

ResultChart probabilityChart(const ProbabilityPlot& plot, const QString& bridge, BlockLength length);
ResultChart returnLevelChart(const ReturnLevelPlot& plot, const QString& bridge, BlockLength length);

// Both charts of a fitted bridge; none for a bridge without a Gumbel fit.
std::vector<ResultChart> of(const BridgeBlocks& blocks, const BlockMaximaFits& fits,
                            const std::vector<ReturnPeriod>& periods, BlockLength length);

// "Daily maximum (in the load effect's unit)": the maxima's axis title.
QString maximumTitle(BlockLength length);

}  // namespace ExtremeCharts
