#pragma once
// Return levels of a fit, the level exceeded with probability 1 / T in one block for a return
// period of T blocks, with 95 % confidence intervals: by the delta method for either fit, and
// by the profile likelihood for the GEV, whose interval follows the likelihood's own skew (the
// upper side of a heavy tail is much longer than the lower).

#include "extremes/ExtremeFit.h"

#include <optional>
#include <string>
#include <vector>

inline constexpr double returnLevelConfidence = 0.95;

struct ReturnLevel
{
    double period = 0.0;         // T, in blocks
    double level = 0.0;          // in the units of the maxima
    double standardError = 0.0;  // by the delta method, same units
    double low = 0.0;            // level ∓ 1.96 standard errors
    double high = 0.0;
};

// The profile-likelihood interval: the levels whose deviance 2 (ℓ̂ − ℓₚ(level)) stays under the
// chi-square(1) 0.95 quantile, 3.8415. A side whose deviance does not reach it within
// searchedLow..searchedHigh has no bound; `missing` then says so in words.
struct ProfileInterval
{
    double period = 0.0;
    double level = 0.0;  // the estimate, where the deviance is 0
    std::optional<double> low;
    std::optional<double> high;
    double searchedLow = 0.0;  // how far the search went on each side
    double searchedHigh = 0.0;
    std::string missing;  // empty when both bounds were found
};

namespace Extremes {
// Throws ExtremesError for a period of one block or less.
ReturnLevel returnLevel(const ExtremeFit& fit, double period);

// The deviance of a return level for a GEV fit of these maxima (the fit fitGev gave for them).
// Throws ExtremesError for a period of one block or less, a fit that is not of a GEV or not of
// these maxima, or a profile whose maximum is not found.
double profileDeviance(const std::vector<double>& maxima, const ExtremeFit& gev, double period, double level);
ProfileInterval profileInterval(const std::vector<double>& maxima, const ExtremeFit& gev, double period);
}
