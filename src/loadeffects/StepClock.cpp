#include "loadeffects/StepClock.h"

#include <algorithm>
#include <cmath>

namespace {
// A step that ends on an interval's end belongs to it, though k x step / interval may come out
// a rounding above a whole number.
constexpr double boundaryTolerance = 1e-9;
}

StepClock::StepClock(double start, double step, double intervalLength)
    : startTime(start), timeStep(step), interval_(intervalLength)
{
}

long long StepClock::intervalOf(long long step) const
{
    const double ratio = static_cast<double>(step) * timeStep / interval_;
    return std::max(1LL, static_cast<long long>(std::ceil(ratio - boundaryTolerance)));
}

long long StepClock::firstStepOf(long long intervalNumber) const
{
    long long step = std::max(
        1LL, static_cast<long long>(std::floor(static_cast<double>(intervalNumber - 1) * interval_ / timeStep)));
    while (step > 1 && intervalOf(step - 1) >= intervalNumber)
        --step;
    while (intervalOf(step) < intervalNumber)
        ++step;
    return step;
}
