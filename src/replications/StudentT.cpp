#include "replications/StudentT.h"

#include <cmath>
#include <limits>

namespace {
// The continued fraction of the regularized incomplete beta function, evaluated by the modified
// Lentz method; converges quickly for x < (a + 1) / (a + b + 2).
double betaContinuedFraction(double a, double b, double x)
{
    constexpr double tiny = 1e-300;
    constexpr double epsilon = 1e-15;
    double c = 1.0;
    double d = 1.0 - (a + b) * x / (a + 1.0);
    d = 1.0 / (std::abs(d) < tiny ? tiny : d);
    double fraction = d;
    for (int m = 1; m <= 10000; ++m)
    {
        for (int half = 0; half < 2; ++half)
        {
            const double numerator = half == 0 ? m * (b - m) * x / ((a + 2.0 * m - 1.0) * (a + 2.0 * m))
                                               : -(a + m) * (a + b + m) * x / ((a + 2.0 * m) * (a + 2.0 * m + 1.0));
            d = 1.0 + numerator * d;
            d = 1.0 / (std::abs(d) < tiny ? tiny : d);
            c = 1.0 + numerator / c;
            if (std::abs(c) < tiny)
                c = tiny;
            const double factor = c * d;
            fraction *= factor;
            if (half == 1 && std::abs(factor - 1.0) < epsilon)
                return fraction;
        }
    }
    return fraction;
}

// I_x(a, b), the regularized incomplete beta function, for 0 <= x <= 1.
double regularizedIncompleteBeta(double a, double b, double x)
{
    if (x <= 0.0)
        return 0.0;
    if (x >= 1.0)
        return 1.0;
    const double logFront = std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log1p(-x);
    if (x < (a + 1.0) / (a + b + 2.0))
        return std::exp(logFront) * betaContinuedFraction(a, b, x) / a;
    return 1.0 - std::exp(logFront) * betaContinuedFraction(b, a, 1.0 - x) / b;
}
}

namespace StudentT {
double cdf(double t, double degreesOfFreedom)
{
    if (std::isnan(t) || !(degreesOfFreedom > 0.0))
        return std::numeric_limits<double>::quiet_NaN();
    const double x = degreesOfFreedom / (degreesOfFreedom + t * t);
    const double tail = 0.5 * regularizedIncompleteBeta(0.5 * degreesOfFreedom, 0.5, x);
    return t > 0.0 ? 1.0 - tail : tail;
}

double quantile(double probability, double degreesOfFreedom)
{
    if (!(probability > 0.0 && probability < 1.0) || !(degreesOfFreedom > 0.0))
        return std::numeric_limits<double>::quiet_NaN();
    if (probability == 0.5)
        return 0.0;
    if (probability < 0.5)
        return -quantile(1.0 - probability, degreesOfFreedom);
    // The distribution is symmetric and the cdf increasing: bracket, then bisect.
    double low = 0.0;
    double high = 1.0;
    while (cdf(high, degreesOfFreedom) < probability && high < 1e300)
        high *= 2.0;
    for (int i = 0; i < 200 && high - low > 1e-13 * high; ++i)
    {
        const double middle = 0.5 * (low + high);
        (cdf(middle, degreesOfFreedom) < probability ? low : high) = middle;
    }
    return 0.5 * (low + high);
}
}
