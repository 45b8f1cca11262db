#include "engine/ReleaseDelays.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {
// Delays are counted in hundredths of a second. Below 2^exactBits hundredths every value has
// its own bucket; above, each doubling of the delay is split into 2^(exactBits - 1) buckets.
constexpr int exactBits = 11;
constexpr std::uint64_t exactLimit = std::uint64_t{1} << exactBits;
constexpr std::uint64_t bucketsPerDoubling = exactLimit / 2;
constexpr double hundredthsPerSecond = 100.0;
// 2^50 hundredths is some 357 years: anything longer lands in the last bucket.
constexpr std::uint64_t largestHundredths = std::uint64_t{1} << 50;

std::size_t bucketOf(std::uint64_t hundredths)
{
    if (hundredths < exactLimit)
        return static_cast<std::size_t>(hundredths);
    const int shift = std::bit_width(hundredths) - exactBits;
    const std::uint64_t mantissa = hundredths >> shift;  // in [exactLimit / 2, exactLimit)
    return static_cast<std::size_t>(exactLimit + static_cast<std::uint64_t>(shift - 1) * bucketsPerDoubling +
                                    (mantissa - bucketsPerDoubling));
}

// The largest delay (hundredths) that falls into a bucket.
std::uint64_t upperEdgeOf(std::size_t bucket)
{
    if (bucket < exactLimit)
        return bucket;
    const std::uint64_t above = bucket - exactLimit;
    const std::uint64_t shift = above / bucketsPerDoubling + 1;
    const std::uint64_t mantissa = above % bucketsPerDoubling + bucketsPerDoubling;
    return ((mantissa + 1) << shift) - 1;
}
}

void ReleaseDelays::add(double delaySeconds)
{
    const double delay = delaySeconds > 0.0 ? delaySeconds : 0.0;
    const double hundredths = std::min(std::round(delay * hundredthsPerSecond), static_cast<double>(largestHundredths));
    const std::size_t bucket = bucketOf(static_cast<std::uint64_t>(hundredths));
    if (bucket >= buckets.size())
        buckets.resize(bucket + 1, 0);
    ++buckets[bucket];
    ++count;
    sumSeconds += delay;
    maximumSeconds = std::max(maximumSeconds, delay);
    if (delay > longWaitSeconds)
        ++longWaits;
}

double ReleaseDelays::percentileSeconds(double share) const
{
    const auto rank = static_cast<std::int64_t>(std::ceil(share * static_cast<double>(count)));
    std::int64_t seen = 0;
    for (std::size_t bucket = 0; bucket < buckets.size(); ++bucket)
    {
        seen += buckets[bucket];
        if (seen >= rank)
            // The bucket's top, but never more than the longest delay actually seen.
            return std::min(static_cast<double>(upperEdgeOf(bucket)) / hundredthsPerSecond, maximumSeconds);
    }
    return maximumSeconds;
}

ReleaseDelayFigures ReleaseDelays::figures() const
{
    ReleaseDelayFigures result;
    result.released = count;
    result.waitedOverTenSeconds = longWaits;
    if (count == 0)
        return result;
    result.meanSeconds = sumSeconds / static_cast<double>(count);
    result.percentile95Seconds = percentileSeconds(0.95);
    result.maximumSeconds = maximumSeconds;
    return result;
}

void ReleaseDelays::clear()
{
    *this = ReleaseDelays();
}
