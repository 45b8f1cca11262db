#include "trafficmodel/GeneralizedPareto.h"

#include "extremes/ExtremesError.h"
#include "extremes/Minimiser.h"
#include "trafficmodel/TrafficModelError.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace GeneralizedPareto {
double logLikelihood(double scale, double shape, const std::vector<double>& excesses)
{
    constexpr double minusInfinity = -std::numeric_limits<double>::infinity();
    if (!(scale > 0.0) || !std::isfinite(shape))
        return minusInfinity;
    const double n = static_cast<double>(excesses.size());
    if (std::abs(shape) < 1e-9)
        return -n * std::log(scale) - std::accumulate(excesses.begin(), excesses.end(), 0.0) / scale;
    double sum = 0.0;
    for (double y : excesses)
    {
        const double z = 1.0 + shape * y / scale;
        if (!(z > 0.0))
            return minusInfinity;
        sum += std::log(z);
    }
    return -n * std::log(scale) - (1.0 + 1.0 / shape) * sum;
}

TrafficModel::ParetoTail fit(const std::vector<double>& excesses)
{
    const auto n = static_cast<double>(excesses.size());
    if (excesses.size() < 10)
        throw TrafficModelError("a tail needs at least 10 excesses, there are " + std::to_string(excesses.size()));
    for (double y : excesses)
        if (!std::isfinite(y) || y < 0.0)
            throw TrafficModelError("an excess over the threshold is negative or not a number");
    const double mean = std::accumulate(excesses.begin(), excesses.end(), 0.0) / n;
    double variance = 0.0;
    for (double y : excesses)
        variance += (y - mean) * (y - mean);
    variance /= n - 1.0;
    if (!(mean > 0.0) || !(variance > 0.0))
        throw TrafficModelError("the excesses over the threshold have no spread");

    // The method of moments gives a start inside the support.
    const double ratio = mean * mean / variance;
    const double startShape = std::clamp(0.5 * (1.0 - ratio), -0.5, 0.5);
    const double largest = *std::max_element(excesses.begin(), excesses.end());
    const double startScale = std::max(0.5 * mean * (ratio + 1.0), -startShape * largest * 1.01);
    const auto minusLogLikelihood = [&](const Extremes::Point& p) { return -logLikelihood(p[0], p[1], excesses); };
    Extremes::MinimiserSetup setup;
    setup.start = {startScale, startShape};
    setup.steps = {0.1 * startScale, 0.1};
    setup.lower = {1e-9 * startScale, -1.0};
    Extremes::Minimum best;
    try
    {
        best = Extremes::minimise(minusLogLikelihood, setup, "the generalized Pareto tail");
    }
    catch (const ExtremesError& error)
    {
        throw TrafficModelError(error.what());
    }
    TrafficModel::ParetoTail tail;
    tail.scale = best.at[0];
    tail.shape = best.at[1];
    tail.exceedances = static_cast<int>(excesses.size());
    const Extremes::Matrix curvature =
        Extremes::secondDerivatives(minusLogLikelihood, best.at, {1e-4 * tail.scale, 1e-4});
    Extremes::Matrix covariance;
    if (tail.shape > -0.5 && Extremes::invertPositiveDefinite(curvature, covariance))
    {
        tail.scaleError = std::sqrt(covariance[0][0]);
        tail.shapeError = std::sqrt(covariance[1][1]);
    }
    return tail;
}
}
