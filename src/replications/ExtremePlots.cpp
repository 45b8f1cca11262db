#include "replications/ExtremePlots.h"

#include "extremes/ExtremesError.h"
#include "extremes/GevDistribution.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Enough for smooth curves; each GEV point costs a profile-likelihood search.
constexpr int curveSteps = 24;

std::vector<double> sorted(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values;
}

// A fit's quantile at a Gumbel reduced variate y: F = exp(−exp(−y)), so log(−log F) = −y.
double quantileAt(const GevParameters& parameters, double variate)
{
    return parameters.location + parameters.scale * Gev::levelGrowth(parameters.shape, -variate);
}

std::vector<PlotPoint> quantileLine(const GevParameters& parameters, double from, double to, int steps)
{
    std::vector<PlotPoint> line;
    for (int i = 0; i <= steps; ++i)
    {
        const double variate = from + (to - from) * i / steps;
        line.push_back({variate, quantileAt(parameters, variate)});
    }
    return line;
}

// Log-spaced periods (blocks) from `from` to `to`, with the periods asked among them.
std::vector<double> periodGrid(double from, double to, const std::vector<ReturnPeriod>& asked)
{
    std::vector<double> grid;
    const double ratio = std::log(to / from);
    for (int i = 0; i <= curveSteps; ++i)
        grid.push_back(from * std::exp(ratio * i / curveSteps));
    for (const ReturnPeriod& period : asked)
        grid.push_back(period.blocks);
    std::sort(grid.begin(), grid.end());
    grid.erase(std::unique(grid.begin(), grid.end()), grid.end());
    return grid;
}

BandPoint deltaPoint(const ExtremeFit& fit, double blocks, double blocksPerYear)
{
    const ReturnLevel level = Extremes::returnLevel(fit, blocks);
    return {blocks / blocksPerYear, blocks, level.level, level.low, level.high, false};
}

// The profile's bounds where found; a side it does not bound takes the delta method's.
BandPoint gevPoint(const ExtremeFit& gev, double blocks, double blocksPerYear,
                   const std::optional<ProfileInterval>& profile)
{
    BandPoint point = deltaPoint(gev, blocks, blocksPerYear);
    if (!profile)
        return point;
    point.low = profile->low.value_or(point.low);
    point.high = profile->high.value_or(point.high);
    point.profiled = profile->low && profile->high;
    return point;
}

// The table's interval at a period asked, so that curve and table agree; a new search elsewhere.
std::optional<ProfileInterval> profileAt(const std::vector<double>& maxima, const BlockMaximaFits& fits,
                                         const std::vector<ReturnPeriod>& periods, double blocks)
{
    for (std::size_t i = 0; i < periods.size() && i < fits.gevProfiles.size(); ++i)
        if (periods[i].blocks == blocks)
            return fits.gevProfiles[i];
    try
    {
        return Extremes::profileInterval(maxima, *fits.gev, blocks);
    }
    catch (const ExtremesError&)
    {
        return std::nullopt;  // the delta method's interval stands, and the band says so
    }
}

}  // namespace

bool LevelCurve::anyProfiled() const
{
    return std::any_of(points.begin(), points.end(), [](const BandPoint& p) { return p.profiled; });
}

bool LevelCurve::anyDelta() const
{
    return std::any_of(points.begin(), points.end(), [](const BandPoint& p) { return !p.profiled; });
}

namespace ExtremePlots {

double reducedVariate(std::size_t rank, std::size_t count)
{
    return -std::log(-std::log(static_cast<double>(rank) / static_cast<double>(count + 1)));
}

double empiricalPeriod(std::size_t rank, std::size_t count)
{
    return static_cast<double>(count + 1) / static_cast<double>(count + 1 - rank);
}

ProbabilityPlot probabilityPlot(const std::vector<double>& maxima, const BlockMaximaFits& fits)
{
    ProbabilityPlot plot;
    const std::vector<double> ordered = sorted(maxima);
    const std::size_t n = ordered.size();
    for (std::size_t i = 1; i <= n; ++i)
        plot.maxima.push_back({reducedVariate(i, n), ordered[i - 1]});
    if (!fits.gumbel || plot.maxima.empty())
        return plot;
    // A little past the outermost points, so that the lines are seen to run through them.
    const double from = plot.maxima.front().x - 0.5;
    const double to = plot.maxima.back().x + 0.5;
    plot.gumbel = quantileLine(fits.gumbel->parameters, from, to, 1);
    if (fits.gev)
        plot.gev = quantileLine(fits.gev->parameters, from, to, 4 * curveSteps);
    return plot;
}

ReturnLevelPlot returnLevelPlot(const std::vector<double>& maxima, const BlockMaximaFits& fits,
                                const std::vector<ReturnPeriod>& periods, BlockLength length)
{
    ReturnLevelPlot plot;
    const double perYear = ReturnPeriods::blocksPerYear(length);
    const std::vector<double> ordered = sorted(maxima);
    const std::size_t n = ordered.size();
    for (std::size_t i = 1; i <= n; ++i)
        plot.observed.push_back({empiricalPeriod(i, n) / perYear, ordered[i - 1]});
    if (!fits.gumbel || n == 0)
        return plot;
    double longest = empiricalPeriod(n, n);
    for (const ReturnPeriod& period : periods)
        longest = std::max(longest, period.blocks);
    const std::vector<double> grid = periodGrid(empiricalPeriod(1, n), longest, periods);
    for (double blocks : grid)
        plot.gumbel.points.push_back(deltaPoint(*fits.gumbel, blocks, perYear));
    if (fits.gev)
        for (double blocks : grid)
            plot.gev.points.push_back(gevPoint(*fits.gev, blocks, perYear, profileAt(maxima, fits, periods, blocks)));
    return plot;
}

}  // namespace ExtremePlots
