#pragma once
// Time measured in expected arrivals: the integral of a rate that is constant within each hour
// (a lane's mean flow of cars or of trucks). Fitting turns the gaps between trucks into such
// amounts; drawing turns amounts back into gaps, so the two agree exactly.

#include <cmath>
#include <optional>

namespace TrafficModel {
// ∫ rate(t) dt from `from` to `to` (s, from ≤ to); rate(t) per s.
template <class Rate>
double expectedArrivals(const Rate& rate, double from, double to)
{
    double total = 0.0;
    double t = from;
    while (t < to)
    {
        const double hourEnd = (std::floor(t / 3600.0) + 1.0) * 3600.0;
        const double end = hourEnd < to ? hourEnd : to;
        total += rate(t) * (end - t);
        t = end;
    }
    return total;
}

// The time after `from` by which `amount` arrivals are expected; nothing when that is after
// `until` (s). Hours without arrivals are passed over, so the loop ends by `until` at the latest.
template <class Rate>
std::optional<double> afterArrivals(const Rate& rate, double from, double amount, double until)
{
    double t = from;
    double left = amount;
    while (t < until)
    {
        const double hourEnd = (std::floor(t / 3600.0) + 1.0) * 3600.0;
        const double perSecond = rate(t);
        const double inHour = perSecond * (hourEnd - t);
        if (perSecond > 0.0 && inHour >= left)
            return t + left / perSecond;
        left -= inHour;
        t = hourEnd;
    }
    return std::nullopt;
}
}
