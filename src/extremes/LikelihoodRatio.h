#pragma once
// Does a GEV describe the maxima better than a Gumbel? The likelihood-ratio test of ξ = 0: the
// deviance 2 (ℓ_GEV − ℓ_Gumbel) is chi-square with one degree of freedom when the Gumbel holds.

#include "extremes/ExtremeFit.h"

struct LikelihoodRatio
{
    double deviance = 0.0;  // 2 (ℓ_GEV − ℓ_Gumbel), 0 or more
    double pValue = 1.0;    // P(χ²₁ ≥ deviance): small values speak against the Gumbel
};

namespace Extremes {
// Both fits must be of the same maxima (the same number of blocks); throws ExtremesError if not,
// or if the fits are given the wrong way round.
LikelihoodRatio gumbelAgainstGev(const ExtremeFit& gumbel, const ExtremeFit& gev);
}
