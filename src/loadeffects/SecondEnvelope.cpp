#include "loadeffects/SecondEnvelope.h"

#include <algorithm>

SecondEnvelope::SecondEnvelope(double startTime, double timeStep) : clock(startTime, timeStep, 1.0) {}

void SecondEnvelope::add(long long step, double effect)
{
    const long long second = clock.intervalOf(step);
    if (open && second != current.number)
        close();
    // Steps of this second that were not given had no load.
    const bool skippedBefore = open ? step > lastStep + 1 : clock.firstStepOf(second) < step;
    if (!open)
    {
        open = true;
        loaded = false;
        current = SecondRow{second, clock.intervalEnd(second), effect, effect};
    }
    if (skippedBefore)
        include(0.0);
    include(effect);
    lastStep = step;
}

void SecondEnvelope::finish()
{
    if (open)
        close();
}

std::vector<SecondRow> SecondEnvelope::takeClosed()
{
    std::vector<SecondRow> rows;
    rows.swap(closed);
    return rows;
}

void SecondEnvelope::include(double effect)
{
    current.maximum = std::max(current.maximum, effect);
    current.minimum = std::min(current.minimum, effect);
    loaded = loaded || effect != 0.0;
}

void SecondEnvelope::close()
{
    if (loaded)
        closed.push_back(current);
    open = false;
}
