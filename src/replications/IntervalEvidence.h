#pragma once
// What a measurement file of one run tells about its detector's interval length, so that runs
// whose detectors used other intervals are refused rather than averaged. Files with a time column
// give the length exactly; a flow-and-density file only bounds it: every flow is a whole number
// of vehicles per interval, and the run's length holds as many intervals as the file has rows.

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <vector>

struct IntervalEvidence
{
    double shortest = 0.0;                                     // s
    double longest = std::numeric_limits<double>::infinity();  // s
    std::optional<long long> wholeSecondsStep;                 // the length is a multiple of it (whole seconds)

    static IntervalEvidence exactly(double seconds);
    // Flows in veh/h (missing ones NaN), the number of completed intervals and, when known, the
    // simulated seconds of the run.
    static IntervalEvidence fromFlows(const std::vector<double>& flows, std::size_t intervals,
                                      std::optional<double> runSeconds);

    // Whether one interval length could have given both files.
    bool agreesWith(const IntervalEvidence& other) const;
    // "60 s", "about 60 s" or "unknown", for a message.
    std::string describe() const;
};
