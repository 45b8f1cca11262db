#pragma once
// The closest any vehicle came to its leader in a run: the smallest net gap (m) at the end of a
// step, and how many vehicles ended a step with a gap of 0 m or less (a collision).

#include <algorithm>
#include <cstdint>
#include <limits>

struct GapFigures
{
    double minimumGap = std::numeric_limits<double>::infinity();  // m; infinite when no vehicle followed another
    std::int64_t nonPositiveGaps = 0;

    void count(double gap)
    {
        minimumGap = std::min(minimumGap, gap);
        nonPositiveGaps += gap <= 0.0 ? 1 : 0;
    }
    bool any() const { return minimumGap != std::numeric_limits<double>::infinity(); }
    void merge(const GapFigures& other)
    {
        minimumGap = std::min(minimumGap, other.minimumGap);
        nonPositiveGaps += other.nonPositiveGaps;
    }
};
