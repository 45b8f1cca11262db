#pragma once
// The Gumbel and the GEV distribution fitted to block maxima by maximum likelihood, with the
// standard errors of the estimates from the observed information (the inverse of the matrix of
// second derivatives of −log L at its minimum). Assumes the maxima are independent and come from
// one distribution: stationary traffic, blocks long enough for the limit to hold.

#include "extremes/GevDistribution.h"

#include <array>
#include <cstddef>
#include <vector>

enum class ExtremeModel
{
    Gumbel,  // ξ fixed at 0: two parameters
    Gev      // ξ estimated too: three parameters
};

struct ExtremeFit
{
    ExtremeModel model = ExtremeModel::Gev;
    GevParameters parameters;      // the estimates, in the units of the maxima; shape 0 for Gumbel
    GevParameters standardErrors;  // of each estimate, same units; shape 0 for Gumbel (not estimated)
    // Covariance of (location, scale, shape) in those units, squared; the shape's row and
    // column are 0 for Gumbel.
    std::array<std::array<double, 3>, 3> covariance{};
    double logLikelihood = 0.0;  // the maximised log-likelihood of the maxima in their own units
    std::size_t blocks = 0;      // the number of maxima fitted

    std::size_t parameterCount() const { return model == ExtremeModel::Gumbel ? 2 : 3; }
};

namespace Extremes {
// Both throw ExtremesError with the reason when the maxima cannot be fitted (see BlockMaxima) or
// the likelihood's maximum is not found or not a proper one (no positive definite information).
ExtremeFit fitGumbel(const std::vector<double>& maxima);
// The shape is kept at −1 or above, where the likelihood has a maximum; a fit that runs to that
// bound (maxima crowding against an upper end point) is refused.
ExtremeFit fitGev(const std::vector<double>& maxima);
}
