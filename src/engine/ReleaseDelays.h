#pragma once
// Release delays of a run (s): how long each released vehicle waited past its record's arrival
// time for room at its lane's start. Memory stays bounded for a run of any length: the delays
// go into a histogram that is exact to 0.01 s up to 20.47 s and within 0.1 % beyond.

#include <cstdint>
#include <vector>

struct ReleaseDelayFigures
{
    std::int64_t released = 0;
    double meanSeconds = 0.0;
    double percentile95Seconds = 0.0;  // nearest rank: at least 95 % waited no longer
    double maximumSeconds = 0.0;
    std::int64_t waitedOverTenSeconds = 0;
};

class ReleaseDelays
{
public:
    // A negative delay (a clock that ran ahead of itself) counts as none.
    void add(double delaySeconds);
    ReleaseDelayFigures figures() const;
    void clear();

    static constexpr double longWaitSeconds = 10.0;

private:
    double percentileSeconds(double share) const;

    std::vector<std::int64_t> buckets;  // grown on demand
    std::int64_t count = 0;
    double sumSeconds = 0.0;
    double maximumSeconds = 0.0;
    std::int64_t longWaits = 0;
};
