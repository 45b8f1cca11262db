#include "measurements/HeadwayHistogram.h"

#include "measurements/RoundStep.h"

#include <algorithm>
#include <cmath>
#include <limits>

HeadwayHistogram HeadwayHistogram::of(const std::vector<double>& headways)
{
    HeadwayHistogram histogram;
    histogram.count = static_cast<long long>(headways.size());
    if (headways.empty())
    {
        histogram.mean = std::numeric_limits<double>::quiet_NaN();
        return histogram;
    }
    double sum = 0.0;
    for (double headway : headways)
        sum += headway;
    histogram.mean = sum / static_cast<double>(headways.size());

    std::vector<double> sorted(headways);
    std::sort(sorted.begin(), sorted.end());
    std::size_t percentile = static_cast<std::size_t>(0.98 * static_cast<double>(sorted.size() - 1));
    double top = std::max(sorted[percentile], 0.0);
    constexpr double binsWanted = 30.0;
    histogram.binWidth = roundStep(top / binsWanted);
    // The bin holding the 98th percentile is the last one.
    std::size_t binCount = static_cast<std::size_t>(std::floor(top / histogram.binWidth)) + 1;
    histogram.bins.assign(binCount, 0);
    for (double headway : headways)
    {
        if (headway < 0.0)
            ++histogram.below;
        else if (headway >= histogram.upperEnd())
            ++histogram.beyond;
        else
            ++histogram.bins[std::min(binCount - 1, static_cast<std::size_t>(headway / histogram.binWidth))];
    }
    return histogram;
}
