#pragma once
// A sample of block maxima checked for a fit and brought to a standard scale: the fits work on
// (x − centre) / unit, centre the mean and unit the standard deviation, so that the optimiser's
// steps and tolerances suit a bending moment in kN·m as well as a deflection in metres.

#include <cstddef>
#include <vector>

namespace Extremes {
// Fewer maxima than this are refused: three parameters fitted to three or four values leave no
// freedom to judge the fit, and their standard errors are meaningless.
inline constexpr std::size_t minimumBlocks = 5;
}

class BlockMaxima
{
public:
    // Throws ExtremesError for fewer than minimumBlocks maxima, a value that is not finite (by
    // its block, counted from 1) or maxima without spread (all equal to their rounding).
    explicit BlockMaxima(const std::vector<double>& maxima);

    const std::vector<double>& standardised() const { return values; }
    std::size_t blocks() const { return values.size(); }
    double centre() const { return mean; }
    double unit() const { return deviation; }

private:
    std::vector<double> values;
    double mean = 0.0;
    double deviation = 1.0;
};
