#include "measurements/HeadwayHistogram.h"

#include "measurements/RoundStep.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct BinLayout
{
    double width = 1.0;
    std::size_t count = 0;
};

// Round bins reaching to the bin that holds the 98th percentile.
BinLayout layoutOf(std::vector<double> headways)
{
    if (headways.empty())
        return {};
    std::sort(headways.begin(), headways.end());
    std::size_t percentile = static_cast<std::size_t>(0.98 * static_cast<double>(headways.size() - 1));
    double top = std::max(headways[percentile], 0.0);
    constexpr double binsWanted = 30.0;
    BinLayout layout;
    layout.width = roundStep(top / binsWanted);
    layout.count = static_cast<std::size_t>(std::floor(top / layout.width)) + 1;
    return layout;
}

HeadwayHistogram counted(const std::vector<double>& headways, const BinLayout& layout)
{
    HeadwayHistogram histogram;
    histogram.binWidth = layout.width;
    histogram.count = static_cast<long long>(headways.size());
    const std::size_t binCount = layout.count;
    histogram.bins.assign(binCount, 0);  // an empty lane keeps the other lanes' bins, all 0
    if (headways.empty())
    {
        histogram.mean = std::numeric_limits<double>::quiet_NaN();
        return histogram;
    }
    double sum = 0.0;
    for (double headway : headways)
        sum += headway;
    histogram.mean = sum / static_cast<double>(headways.size());
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

}  // namespace

HeadwayHistogram HeadwayHistogram::of(const std::vector<double>& headways)
{
    return counted(headways, layoutOf(headways));
}

std::vector<HeadwayHistogram> HeadwayHistogram::ofLanes(const std::vector<std::vector<double>>& lanes)
{
    std::vector<double> all;
    for (const std::vector<double>& lane : lanes)
        all.insert(all.end(), lane.begin(), lane.end());
    const BinLayout layout = layoutOf(std::move(all));
    std::vector<HeadwayHistogram> histograms;
    for (const std::vector<double>& lane : lanes)
        histograms.push_back(counted(lane, layout));
    return histograms;
}
