#pragma once
// The spread of one figure over the runs of a sweep: how many runs gave a value, their mean,
// the sample standard deviation and the 95 % confidence interval of the mean (Student's t).

#include <cstddef>
#include <limits>
#include <optional>
#include <vector>

struct SampleStatistics
{
    std::size_t runs = 0;
    double mean = std::numeric_limits<double>::quiet_NaN();               // NaN without runs
    double standardDeviation = std::numeric_limits<double>::quiet_NaN();  // NaN below two runs
    double halfWidth = std::numeric_limits<double>::quiet_NaN();          // of the 95 % interval

    double low() const { return mean - halfWidth; }
    double high() const { return mean + halfWidth; }

    // Values that are not finite (a missing cell) are left out and not counted.
    static SampleStatistics of(const std::vector<double>& values);
};

// The confidence level of every interval of the comparison.
inline constexpr double confidenceLevel = 0.95;

// t × s / √n: the half-width of the confidence interval of a mean of n values with deviation s.
double confidenceHalfWidth(double standardDeviation, std::size_t runs);

// The smallest number of runs whose confidence interval, with the mean and deviation at hand,
// is within ± relativePrecision × |mean|. Nothing below two runs or for a zero mean.
std::optional<std::size_t> replicationsNeeded(const SampleStatistics& statistics, double relativePrecision);
