#include "cli/SyntheticRandom.h"

#include <algorithm>
#include <cmath>

double SyntheticRandom::uniform()
{
    return (static_cast<double>(engine()) + 0.5) / 4294967296.0;
}

double SyntheticRandom::uniform(double low, double high)
{
    return low + (high - low) * uniform();
}

int SyntheticRandom::uniformInt(int low, int high)
{
    const int pick = low + static_cast<int>(uniform() * (high - low + 1));
    return std::min(pick, high);
}

double SyntheticRandom::normal(double mean, double standardDeviation)
{
    // Box-Muller without a cached second value, so each draw takes exactly two uniforms.
    const double radius = std::sqrt(-2.0 * std::log(uniform()));
    const double angle = 2.0 * 3.141592653589793 * uniform();
    return mean + standardDeviation * radius * std::cos(angle);
}

double SyntheticRandom::exponential(double mean)
{
    return -mean * std::log(uniform());
}

double SyntheticRandom::boundedNormal(double mean, double standardDeviation, double low, double high)
{
    for (int attempt = 0; attempt < 8; ++attempt)
    {
        const double value = normal(mean, standardDeviation);
        if (value >= low && value <= high)
            return value;
    }
    return std::clamp(mean, low, high);
}
