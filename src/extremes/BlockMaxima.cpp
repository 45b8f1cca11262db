#include "extremes/BlockMaxima.h"

#include "extremes/ExtremesError.h"

#include <cmath>
#include <string>

BlockMaxima::BlockMaxima(const std::vector<double>& maxima)
{
    if (maxima.size() < Extremes::minimumBlocks)
        throw ExtremesError("a fit needs at least " + std::to_string(Extremes::minimumBlocks) +
                            " block maxima, there are " + std::to_string(maxima.size()));
    for (std::size_t i = 0; i < maxima.size(); ++i)
        if (!std::isfinite(maxima[i]))
            throw ExtremesError("the maximum of block " + std::to_string(i + 1) + " is not a finite number");

    double sum = 0.0;
    for (double x : maxima)
        sum += x;
    mean = sum / static_cast<double>(maxima.size());
    double squares = 0.0;
    for (double x : maxima)
        squares += (x - mean) * (x - mean);
    deviation = std::sqrt(squares / static_cast<double>(maxima.size() - 1));
    if (!std::isfinite(mean) || !std::isfinite(deviation))
        throw ExtremesError("the block maxima are too large to be summed in double precision");
    // A spread at the level of the values' rounding is no spread: the fit would model noise.
    if (!(deviation > 1e-12 * std::abs(mean)) || deviation == 0.0)
        throw ExtremesError("the block maxima are all equal: there is no spread to fit");

    values.reserve(maxima.size());
    for (double x : maxima)
        values.push_back((x - mean) / deviation);
}
