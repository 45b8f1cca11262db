#pragma once
// What the two plots of a bridge's block maxima show, worked out from its fits so that a chart
// only draws: the probability plot (the sorted maxima against their Gumbel reduced variates, with
// the quantiles of each fit) and the return-level plot (each fit's level over the return period
// with its 95 % band, and the maxima at their empirical return periods).

#include "replications/BlockMaximaFits.h"

#include <cstddef>
#include <vector>

struct PlotPoint
{
    double x = 0.0;
    double y = 0.0;
};

struct ProbabilityPlot
{
    std::vector<PlotPoint> maxima;  // (−ln(−ln p), the i-th smallest maximum), p = i / (n + 1)
    std::vector<PlotPoint> gumbel;  // the fitted Gumbel's quantiles over the variates: a straight line
    std::vector<PlotPoint> gev;     // the GEV's, curved; empty without a GEV fit
};

// A fit's return level at one period with its 95 % interval.
struct BandPoint
{
    double years = 0.0;
    double blocks = 0.0;
    double level = 0.0;
    double low = 0.0;
    double high = 0.0;
    bool profiled = false;  // both bounds from the profile likelihood; otherwise the delta method's
};

struct LevelCurve
{
    std::vector<BandPoint> points;  // periods rising
    bool anyProfiled() const;
    bool anyDelta() const;
};

struct ReturnLevelPlot
{
    std::vector<PlotPoint> observed;  // (empirical return period in years, maximum): (n + 1) / (n + 1 − i) blocks
    LevelCurve gumbel;                // delta method throughout
    LevelCurve gev;                   // profile likelihood where its bounds are found; empty without a GEV fit
};

namespace ExtremePlots {
// −ln(−ln(rank / (count + 1))): the Gumbel reduced variate of the rank-th smallest of count maxima.
double reducedVariate(std::size_t rank, std::size_t count);
// (count + 1) / (count + 1 − rank) blocks: the period the rank-th smallest maximum is exceeded once in.
double empiricalPeriod(std::size_t rank, std::size_t count);

// Both need the fits of these maxima; without a Gumbel fit the plots hold the maxima alone.
ProbabilityPlot probabilityPlot(const std::vector<double>& maxima, const BlockMaximaFits& fits);
// The curves run from the shortest empirical period to the longest period asked (or observed),
// through every period asked, so that they meet the table's figures.
ReturnLevelPlot returnLevelPlot(const std::vector<double>& maxima, const BlockMaximaFits& fits,
                                const std::vector<ReturnPeriod>& periods, BlockLength length);
}
