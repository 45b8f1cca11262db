#pragma once
// The generalized extreme value (GEV) distribution of block maxima,
//   F(x) = exp(−(1 + ξ (x − µ) / σ)^(−1/ξ))  where 1 + ξ (x − µ) / σ > 0,
// and its Gumbel limit exp(−exp(−(x − µ) / σ)) at ξ = 0. ξ > 0 is a heavy upper tail, ξ < 0 a
// tail bounded above by µ − σ / ξ. Near ξ = 0 every formula takes its series form, so shapes
// of 1e-12 and 0 give the same figures to rounding.

#include <vector>

struct GevParameters
{
    double location = 0.0;  // µ, in the units of the maxima
    double scale = 1.0;     // σ > 0, in the units of the maxima
    double shape = 0.0;     // ξ, without unit; 0 is the Gumbel distribution
};

namespace Gev {
// Σ log f(xᵢ) of the maxima; minus infinity when a maximum lies outside the support or σ ≤ 0.
double logLikelihood(const GevParameters& parameters, const std::vector<double>& maxima);

// The level x with F(x) = probability, for 0 < probability < 1.
double quantile(const GevParameters& parameters, double probability);

// The level exceeded with probability 1 / period in one block, for a period of more than one block.
double returnLevel(const GevParameters& parameters, double period);

// ∂ returnLevel / ∂ (µ, σ, ξ): the gradient the delta method carries the covariance through.
struct LevelGradient
{
    double location = 1.0;
    double scale = 0.0;
    double shape = 0.0;
};
LevelGradient returnLevelGradient(const GevParameters& parameters, double period);

// The return level of a period expressed through log y, y = −log(1 − 1/period): x = µ + σ g(ξ),
// g(ξ) = ((y^−ξ) − 1) / ξ, with g(0) = −log y. Exposed for the profile likelihood, which fixes x
// and solves for µ.
double levelGrowth(double shape, double logY);
double logReducedTail(double period);
}
