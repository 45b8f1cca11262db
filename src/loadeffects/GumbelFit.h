#pragma once
// The Gumbel (extreme value type I) distribution fitted to block maxima by maximum likelihood:
// F(x) = exp(−exp(−(x − location) / scale)). Assumes the maxima are independent and come from
// one distribution (stationary traffic, blocks long enough for the limit to hold).

#include <optional>
#include <vector>

struct GumbelFit
{
    double location = 0.0;  // µ, in the units of the maxima
    double scale = 0.0;     // β > 0
    // Large-sample standard errors of the estimates (from the inverse Fisher information).
    double locationError = 0.0;
    double scaleError = 0.0;
    std::size_t sampleSize = 0;

    // The level exceeded on average once in `period` blocks (period > 1).
    double returnLevel(double period) const;
    // The Gumbel reduced variate −ln(−ln F) of a level: the x axis of a Gumbel probability plot.
    double reducedVariate(double level) const { return (level - location) / scale; }
};

namespace Gumbel {
// Needs two maxima or more, finite, not all equal, spread over a finite range; nothing when
// the likelihood equation has no root it can find (the summary then says there is no fit).
std::optional<GumbelFit> fit(const std::vector<double>& maxima);

// Why maxima that fit() refuses have no fit, to be said where the fit would be shown.
const char* noFitReason(const std::vector<double>& maxima);

// Plotting position of the i-th smallest (from 1) of n maxima, as a reduced variate (Gringorten).
double plottingPosition(std::size_t rank, std::size_t count);

// A return period of `years` (default 1000) counted in blocks of `interval` seconds, with the
// traffic files' year of `secondsPerYear`.
double periodInIntervals(double years, double interval, double secondsPerYear);

inline constexpr double defaultReturnYears = 1000.0;
}
