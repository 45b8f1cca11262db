#include "measurements/RoundStep.h"

#include <cmath>
#include <initializer_list>

double roundStep(double rough)
{
    if (!(rough > 0.0) || !std::isfinite(rough))
        return 1.0;
    double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double step : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (step * power >= rough * (1.0 - 1e-9))
            return step * power;
    return 10.0 * power;
}
