#include "replications/IntervalEvidence.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace {
// Steps of up to 2 s decide when an interval closes and when the run ends.
constexpr double timeStepSlack = 2.0;              // s
constexpr long long longestInterval = 10'000'000;  // s

bool isWholeCount(double flow, long long seconds)
{
    const double count = flow * static_cast<double>(seconds) / 3600.0;
    // The files hold six significant digits.
    return std::abs(count - std::round(count)) <= 1e-5 * std::max(1.0, count);
}

// The shortest whole number of seconds at which every flow is a whole count of vehicles.
std::optional<long long> flowStep(const std::vector<double>& flows)
{
    double smallest = std::numeric_limits<double>::infinity();
    for (double flow : flows)
        if (std::isfinite(flow) && flow > 0.0)
            smallest = std::min(smallest, flow);
    if (!std::isfinite(smallest))
        return std::nullopt;
    // The smallest flow is a few vehicles per interval in any real file.
    for (long long vehicles = 1; vehicles <= 10000; ++vehicles)
    {
        const double seconds = static_cast<double>(vehicles) * 3600.0 / smallest;
        if (seconds > static_cast<double>(longestInterval))
            return std::nullopt;
        const long long whole = std::llround(seconds);
        if (whole < 1 || std::abs(seconds - static_cast<double>(whole)) > 1e-4 * seconds)
            continue;
        if (std::all_of(flows.begin(), flows.end(),
                        [whole](double flow) { return !std::isfinite(flow) || isWholeCount(flow, whole); }))
            return whole;
    }
    return std::nullopt;
}
}

IntervalEvidence IntervalEvidence::exactly(double seconds)
{
    IntervalEvidence evidence;
    evidence.shortest = seconds;
    evidence.longest = seconds;
    return evidence;
}

IntervalEvidence IntervalEvidence::fromFlows(const std::vector<double>& flows, std::size_t intervals,
                                             std::optional<double> runSeconds)
{
    IntervalEvidence evidence;
    evidence.wholeSecondsStep = flowStep(flows);
    if (runSeconds && *runSeconds > 0.0)
    {
        // The run completed `intervals` intervals and not one more.
        const double n = static_cast<double>(intervals);
        evidence.shortest = std::max(0.0, *runSeconds / (n + 1.0) - timeStepSlack);
        if (intervals > 0)
            evidence.longest = *runSeconds / n + timeStepSlack;
    }
    return evidence;
}

bool IntervalEvidence::agreesWith(const IntervalEvidence& other) const
{
    const double low = std::max(shortest, other.shortest);
    const double high = std::min(longest, other.longest);
    const double tolerance = 1e-6 * std::max(1.0, std::abs(low));
    if (low > high + tolerance)
        return false;
    if (!wholeSecondsStep && !other.wholeSecondsStep)
        return true;
    long long step = 0;
    if (wholeSecondsStep && other.wholeSecondsStep)
        step = std::lcm(*wholeSecondsStep, *other.wholeSecondsStep);
    else
        step = wholeSecondsStep ? *wholeSecondsStep : *other.wholeSecondsStep;
    if (step > longestInterval)
        return false;
    // Some multiple of the step must lie in [low, high].
    const double first = std::ceil((low - tolerance) / static_cast<double>(step)) * static_cast<double>(step);
    return std::max(first, static_cast<double>(step)) <= high + tolerance;
}

std::string IntervalEvidence::describe() const
{
    char text[64];
    if (shortest == longest)
    {
        std::snprintf(text, sizeof text, "%g s", shortest);
        return text;
    }
    if (wholeSecondsStep && std::isfinite(longest))
    {
        const double step = static_cast<double>(*wholeSecondsStep);
        const double first = std::max(step, std::ceil(shortest / step) * step);
        if (first <= longest)
        {
            std::snprintf(text, sizeof text, "about %g s", first);
            return text;
        }
    }
    if (std::isfinite(longest))
    {
        std::snprintf(text, sizeof text, "%g to %g s", shortest, longest);
        return text;
    }
    return "unknown";
}
