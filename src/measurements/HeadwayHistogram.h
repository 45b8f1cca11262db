#pragma once
// Headways of one lane counted into bins of a round width, with their mean and count. The bins
// reach to the 98th percentile, so that a few long gaps in light traffic do not squeeze the rest
// into one bar; the headways beyond are counted apart.

#include <vector>

struct HeadwayHistogram
{
    double binWidth = 1.0;        // s
    std::vector<long long> bins;  // bin k: [k × binWidth, (k + 1) × binWidth)
    long long beyond = 0;         // headways at or beyond the last bin's end
    long long below = 0;          // negative headways (vehicles recorded out of order)
    long long count = 0;          // every headway
    double mean = 0.0;            // s, of every headway; not-a-number without any

    static HeadwayHistogram of(const std::vector<double>& headways);
    // One histogram per lane in the same bins, chosen from all lanes' headways together, so that
    // lanes drawn side by side compare bar by bar.
    static std::vector<HeadwayHistogram> ofLanes(const std::vector<std::vector<double>>& lanes);

    double upperEnd() const { return binWidth * static_cast<double>(bins.size()); }
};
