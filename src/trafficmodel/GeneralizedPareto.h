#pragma once
// The generalized Pareto distribution of excesses over a high threshold, fitted by maximum
// likelihood: the upper tail of gross weights, so that long simulations can bring heavier
// vehicles than the recorded weeks held.

#include "trafficmodel/TrafficModel.h"

#include <vector>

namespace GeneralizedPareto {
// Σ log f(yᵢ) of the excesses (each ≥ 0); minus infinity outside the support or for σ ≤ 0.
double logLikelihood(double scale, double shape, const std::vector<double>& excesses);

// The fit with standard errors (0 where the curvature gives none). The shape is kept at or above
// −1, where the likelihood is bounded. Throws TrafficModelError when the excesses are fewer than
// ten, not finite, negative or without spread, or when the maximum is not found.
TrafficModel::ParetoTail fit(const std::vector<double>& excesses);
}
