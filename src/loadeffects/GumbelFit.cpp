#include "loadeffects/GumbelFit.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <optional>

namespace {
// The likelihood equation for the scale, with the location eliminated:
// g(β) = β − mean(x) + Σ xᵢ wᵢ / Σ wᵢ, wᵢ = exp(−(xᵢ − min x) / β). g rises through one zero:
// it tends to min x − mean x < 0 as β → 0 and grows like β for large β.
struct ScaleEquation
{
    const std::vector<double>& x;
    double mean;
    double smallest;

    double weightedMean(double scale) const
    {
        double weights = 0.0;
        double weighted = 0.0;
        for (double value : x)
        {
            const double w = std::exp(-(value - smallest) / scale);
            weights += w;
            weighted += w * (value - smallest);
        }
        return smallest + weighted / weights;
    }
    double operator()(double scale) const { return scale - mean + weightedMean(scale); }
};

// Halvings or doublings enough to go from any positive double to any other.
constexpr int largestBracketSteps = 2200;

// The root of g, or nothing when it cannot be bracketed (a guess or a g that is not finite).
std::optional<double> solveScale(const ScaleEquation& g, double guess)
{
    if (!(guess > 0.0) || !std::isfinite(guess))
        return std::nullopt;
    double low = guess;
    double high = guess;
    for (int steps = 0; g(low) > 0.0 && steps < largestBracketSteps; ++steps)
        low /= 2.0;
    for (int steps = 0; g(high) < 0.0 && steps < largestBracketSteps; ++steps)
        high *= 2.0;
    if (!(g(low) <= 0.0 && g(high) >= 0.0 && low > 0.0 && std::isfinite(high)))
        return std::nullopt;
    for (int i = 0; i < 200 && high - low > 1e-14 * high; ++i)
    {
        const double middle = 0.5 * (low + high);
        (g(middle) < 0.0 ? low : high) = middle;
    }
    return 0.5 * (low + high);
}

// Location and scale of maxima whose squared deviations stay finite; nothing when they do not.
std::optional<GumbelFit> fitLocationAndScale(const std::vector<double>& maxima, double lowest)
{
    const double n = static_cast<double>(maxima.size());
    const double mean = std::accumulate(maxima.begin(), maxima.end(), 0.0) / n;
    double squares = 0.0;
    for (double x : maxima)
        squares += (x - mean) * (x - mean);
    // The moment estimate starts the search.
    const double momentScale = std::sqrt(squares / (n - 1.0)) * std::sqrt(6.0) / std::numbers::pi;

    const ScaleEquation equation{maxima, mean, lowest};
    const std::optional<double> scale = solveScale(equation, momentScale);
    if (!scale)
        return std::nullopt;
    GumbelFit result;
    result.scale = *scale;
    double weights = 0.0;
    for (double x : maxima)
        weights += std::exp(-(x - lowest) / result.scale);
    result.location = lowest - result.scale * std::log(weights / n);
    if (!std::isfinite(result.location))
        return std::nullopt;
    return result;
}
}

double GumbelFit::returnLevel(double period) const
{
    // −ln(1 − 1/T) through log1p keeps its digits for return periods of millions of blocks.
    return location - scale * std::log(-std::log1p(-1.0 / period));
}

namespace Gumbel {
std::optional<GumbelFit> fit(const std::vector<double>& maxima)
{
    if (maxima.size() < 2 || !std::all_of(maxima.begin(), maxima.end(), [](double x) { return std::isfinite(x); }))
        return std::nullopt;
    const auto [lowest, highest] = std::minmax_element(maxima.begin(), maxima.end());
    if (*lowest == *highest)
        return std::nullopt;
    // Spread over more than about 1e154, the squares overflow: the maxima are then measured as
    // fractions of their range above the smallest (the law's location and scale follow such a
    // change of units) and the fit carried back. A range that is itself not finite has no fit.
    std::optional<GumbelFit> found = fitLocationAndScale(maxima, *lowest);
    if (!found)
    {
        const double range = *highest - *lowest;
        if (!std::isfinite(range))
            return std::nullopt;
        std::vector<double> fractions;
        fractions.reserve(maxima.size());
        for (double x : maxima)
            fractions.push_back((x - *lowest) / range);
        found = fitLocationAndScale(fractions, 0.0);
        if (!found)
            return std::nullopt;
        found->location = *lowest + found->location * range;
        found->scale *= range;
        if (!std::isfinite(found->location) || !std::isfinite(found->scale))
            return std::nullopt;
    }
    GumbelFit result = *found;
    const double n = static_cast<double>(maxima.size());
    // The inverse Fisher information: var µ = (1 + 6 (1 − γ)² / π²) β²/n ≈ 1.1087 β²/n and
    // var β = 6/π² β²/n ≈ 0.6079 β²/n, γ Euler's constant.
    const double gammaTerm = 1.0 - std::numbers::egamma;
    result.locationError =
        result.scale * std::sqrt((1.0 + 6.0 * gammaTerm * gammaTerm / (std::numbers::pi * std::numbers::pi)) / n);
    result.scaleError = result.scale * std::sqrt(6.0 / (std::numbers::pi * std::numbers::pi) / n);
    result.sampleSize = maxima.size();
    return result;
}

const char* noFitReason(const std::vector<double>& maxima)
{
    const bool finite = std::all_of(maxima.begin(), maxima.end(), [](double x) { return std::isfinite(x); });
    const auto [lowest, highest] = std::minmax_element(maxima.begin(), maxima.end());
    if (maxima.size() < 2 || !finite || *lowest == *highest)
        return "it needs two complete intervals or more with different maxima";
    return "the maxima are spread too widely for one";
}

double plottingPosition(std::size_t rank, std::size_t count)
{
    const double probability = (static_cast<double>(rank) - 0.44) / (static_cast<double>(count) + 0.12);
    return -std::log(-std::log(probability));
}

double periodInIntervals(double years, double interval, double secondsPerYear)
{
    return years * secondsPerYear / interval;
}
}
