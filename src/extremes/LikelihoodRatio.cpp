#include "extremes/LikelihoodRatio.h"

#include "extremes/ExtremesError.h"

#include <algorithm>
#include <boost/math/distributions/chi_squared.hpp>

namespace Extremes {
LikelihoodRatio gumbelAgainstGev(const ExtremeFit& gumbel, const ExtremeFit& gev)
{
    if (gumbel.model != ExtremeModel::Gumbel || gev.model != ExtremeModel::Gev)
        throw ExtremesError("the likelihood-ratio test compares a Gumbel fit with a GEV fit");
    if (gumbel.blocks != gev.blocks)
        throw ExtremesError("the Gumbel and the GEV fit are not of the same maxima");
    LikelihoodRatio test;
    // The GEV contains the Gumbel, so its maximum is no lower; what rounding leaves below 0 is 0.
    test.deviance = std::max(0.0, 2.0 * (gev.logLikelihood - gumbel.logLikelihood));
    test.pValue = boost::math::cdf(boost::math::complement(boost::math::chi_squared(1.0), test.deviance));
    return test;
}
}
