#include "replications/SampleStatistics.h"

#include "replications/StudentT.h"

#include <algorithm>
#include <cmath>

double confidenceHalfWidth(double standardDeviation, std::size_t runs)
{
    if (runs < 2)
        return std::numeric_limits<double>::quiet_NaN();
    const double n = static_cast<double>(runs);
    return StudentT::quantile(0.5 + confidenceLevel / 2.0, n - 1.0) * standardDeviation / std::sqrt(n);
}

SampleStatistics SampleStatistics::of(const std::vector<double>& values)
{
    SampleStatistics result;
    double sum = 0.0;
    for (double value : values)
        if (std::isfinite(value))
        {
            sum += value;
            ++result.runs;
        }
    if (result.runs == 0)
        return result;
    const double n = static_cast<double>(result.runs);
    result.mean = sum / n;
    if (result.runs < 2)
        return result;
    // Two passes: the squares of deviations, not of values; equal values give exactly 0.
    double squares = 0.0;
    bool allEqual = true;
    double firstValue = std::numeric_limits<double>::quiet_NaN();
    for (double value : values)
        if (std::isfinite(value))
        {
            squares += (value - result.mean) * (value - result.mean);
            if (std::isnan(firstValue))
                firstValue = value;
            allEqual = allEqual && value == firstValue;
        }
    if (allEqual)
        result.mean = firstValue;
    result.standardDeviation = allEqual ? 0.0 : std::sqrt(squares / (n - 1.0));
    result.halfWidth = confidenceHalfWidth(result.standardDeviation, result.runs);
    return result;
}

std::optional<std::size_t> replicationsNeeded(const SampleStatistics& statistics, double relativePrecision)
{
    if (statistics.runs < 2 || !std::isfinite(statistics.standardDeviation) || statistics.mean == 0.0 ||
        !(relativePrecision > 0.0))
        return std::nullopt;
    const double target = relativePrecision * std::abs(statistics.mean);
    // The normal quantile is below every t quantile, so the normal estimate is a lower bound.
    const double normalRatio = 1.959963984540054 * statistics.standardDeviation / target;
    constexpr double limit = 1e12;
    if (normalRatio * normalRatio > limit)
        return std::nullopt;
    std::size_t runs = std::max<std::size_t>(2, static_cast<std::size_t>(normalRatio * normalRatio));
    while (confidenceHalfWidth(statistics.standardDeviation, runs) > target)
        ++runs;
    return runs;
}
