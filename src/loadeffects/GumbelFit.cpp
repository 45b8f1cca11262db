#include "loadeffects/GumbelFit.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

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

double solveScale(const ScaleEquation& g, double guess)
{
    double low = guess;
    double high = guess;
    while (g(low) > 0.0)
        low /= 2.0;
    while (g(high) < 0.0)
        high *= 2.0;
    for (int i = 0; i < 200 && high - low > 1e-14 * high; ++i)
    {
        const double middle = 0.5 * (low + high);
        (g(middle) < 0.0 ? low : high) = middle;
    }
    return 0.5 * (low + high);
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
    const double n = static_cast<double>(maxima.size());
    const double mean = std::accumulate(maxima.begin(), maxima.end(), 0.0) / n;
    double squares = 0.0;
    for (double x : maxima)
        squares += (x - mean) * (x - mean);
    // The moment estimate starts the search.
    const double momentScale = std::sqrt(squares / (n - 1.0)) * std::sqrt(6.0) / std::numbers::pi;

    const ScaleEquation equation{maxima, mean, *lowest};
    GumbelFit result;
    result.scale = solveScale(equation, momentScale);
    double weights = 0.0;
    for (double x : maxima)
        weights += std::exp(-(x - *lowest) / result.scale);
    result.location = *lowest - result.scale * std::log(weights / n);
    // The inverse Fisher information: var µ = (1 + 6 (1 − γ)² / π²) β²/n ≈ 1.1087 β²/n and
    // var β = 6/π² β²/n ≈ 0.6079 β²/n, γ Euler's constant.
    const double gammaTerm = 1.0 - std::numbers::egamma;
    result.locationError =
        result.scale * std::sqrt((1.0 + 6.0 * gammaTerm * gammaTerm / (std::numbers::pi * std::numbers::pi)) / n);
    result.scaleError = result.scale * std::sqrt(6.0 / (std::numbers::pi * std::numbers::pi) / n);
    result.sampleSize = maxima.size();
    return result;
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
