#include "extremes/GevDistribution.h"

#include <cmath>
#include <limits>

namespace {
// Below this |t| the series replace log1p(t) / ξ and expm1(t) / ξ, whose division by a tiny ξ
// would lose the figures, and at ξ = 0 divide by zero. The terms kept leave an error under 1e-18.
constexpr double seriesBelow = 1e-6;

// y = log(1 + ξz) / ξ, the GEV's reduced variate: z itself in the Gumbel limit.
double reducedVariate(double shape, double z)
{
    const double t = shape * z;
    if (std::abs(t) < seriesBelow)
        return z * (1.0 - t / 2.0 + t * t / 3.0);
    return std::log1p(t) / shape;
}
}

namespace Gev {
double logLikelihood(const GevParameters& p, const std::vector<double>& maxima)
{
    constexpr double outside = -std::numeric_limits<double>::infinity();
    if (!(p.scale > 0.0))
        return outside;
    double sum = 0.0;
    for (double x : maxima)
    {
        const double z = (x - p.location) / p.scale;
        if (!(1.0 + p.shape * z > 0.0))
            return outside;
        // log f = −log σ − (1 + 1/ξ) log(1 + ξz) − (1 + ξz)^(−1/ξ), written with y = log(1 + ξz) / ξ.
        const double y = reducedVariate(p.shape, z);
        sum += -std::log(p.scale) - (1.0 + p.shape) * y - std::exp(-y);
    }
    return std::isfinite(sum) ? sum : outside;
}

double levelGrowth(double shape, double logY)
{
    const double t = -shape * logY;
    if (std::abs(t) < seriesBelow)
        return -logY * (1.0 + t / 2.0 + t * t / 6.0);
    return std::expm1(t) / shape;
}

double logReducedTail(double period)
{
    return std::log(-std::log1p(-1.0 / period));
}

double quantile(const GevParameters& p, double probability)
{
    return p.location + p.scale * levelGrowth(p.shape, std::log(-std::log(probability)));
}

double returnLevel(const GevParameters& p, double period)
{
    return p.location + p.scale * levelGrowth(p.shape, logReducedTail(period));
}

LevelGradient returnLevelGradient(const GevParameters& p, double period)
{
    const double logY = logReducedTail(period);
    const double t = -p.shape * logY;
    // dg/dξ = (t eᵗ − (eᵗ − 1)) / ξ², which cancels to t² / 2 for small t: its series is kept
    // further out, to |t| < 1e-3, where the terms left out are below 1e-14 of the sum.
    double growthBySlope = 0.0;
    if (std::abs(t) < 1e-3)
        growthBySlope = logY * logY * (0.5 + t / 3.0 + t * t / 8.0 + t * t * t / 30.0);
    else
        growthBySlope = (t * std::exp(t) - std::expm1(t)) / (p.shape * p.shape);
    return {1.0, levelGrowth(p.shape, logY), p.scale * growthBySlope};
}
}
