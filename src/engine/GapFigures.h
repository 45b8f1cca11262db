#pragma once
// The closest any vehicle came to its leader in a run: the smallest net gap (m) seen after a
// car-following move, and how many such moves ended with a gap of 0 m or less (a collision).

#include <algorithm>
#include <cstdint>
#include <limits>

struct GapFigures
{
    double minimumGap = std::numeric_limits<double>::infinity();  // m; infinite when no vehicle followed another
    std::int64_t nonPositiveGaps = 0;

    bool any() const { return minimumGap != std::numeric_limits<double>::infinity(); }
    void merge(const GapFigures& other)
    {
        minimumGap = std::min(minimumGap, other.minimumGap);
        nonPositiveGaps += other.nonPositiveGaps;
    }
};
