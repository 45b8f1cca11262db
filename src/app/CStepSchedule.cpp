#include "app/CStepSchedule.h"

#include <algorithm>
#include <cmath>

namespace {
// A pace below a nanosecond per step could never be kept and would stall the schedule's sums.
constexpr double shortestIntervalMs = 1e-6;
}

void CStepSchedule::start(std::uint32_t nowMs, double intervalMs)
{
    anchorMs = nowMs;
    setInterval(intervalMs);
    dueMs = interval;
}

void CStepSchedule::setInterval(double intervalMs)
{
    const double previous = interval;
    interval = std::isfinite(intervalMs) ? std::max(intervalMs, shortestIntervalMs) : 1e9;
    // The next step comes one new interval after the last one made.
    dueMs += interval - previous;
}

bool CStepSchedule::isDue(std::uint32_t nowMs) const
{
    return msSinceAnchor(nowMs) > dueMs;
}

void CStepSchedule::advance()
{
    dueMs += interval;
    reanchor();
}

void CStepSchedule::dropOverdue(std::uint32_t nowMs, double allowanceMs)
{
    const double lateBy = msSinceAnchor(nowMs) - dueMs;
    if (lateBy <= allowanceMs)
        return;
    dueMs += std::floor((lateBy - allowanceMs) / interval) * interval;
    reanchor();
}

std::uint32_t CStepSchedule::msUntilDue(std::uint32_t nowMs) const
{
    const double wait = dueMs - msSinceAnchor(nowMs);
    if (wait < 0.0)
        return 0;
    // Due once the clock is past the step's time: the first whole millisecond after it.
    return static_cast<std::uint32_t>(std::min(std::floor(wait) + 1.0, 4.0e9));
}

double CStepSchedule::msSinceAnchor(std::uint32_t nowMs) const
{
    return static_cast<double>(static_cast<std::int32_t>(nowMs - anchorMs));
}

void CStepSchedule::reanchor()
{
    const double whole = std::floor(dueMs);
    if (std::fabs(whole) < 65536.0)
        return;
    anchorMs += static_cast<std::uint32_t>(static_cast<std::int64_t>(whole));
    dueMs -= whole;
}
