#include "loadeffects/BridgeMonitor.h"

#include <algorithm>
#include <utility>

BridgeMonitor::BridgeMonitor(const Bridge& watched, InfluenceLine line, const RoadLayout& road, double startTime)
    : bridge(watched), loading(watched, std::move(line), road), clock(startTime, road.timeStep, watched.interval)
{
}

void BridgeMonitor::observe(long long step, double time, const std::vector<std::vector<Vehicle*>>& lanes)
{
    lastEffect = loading.effect(lanes, present);
    const bool firstOfInterval = !intervalOpen || clock.intervalOf(step) != current.number;
    if (firstOfInterval)
        enterInterval(step);
    record(lastEffect, time);
    for (const PresentVehicle& vehicle : present)
    {
        const bool arrived = firstOfInterval ||
                             std::none_of(previous.begin(), previous.end(),
                                          [&](const PresentVehicle& before) { return before.isSameVehicle(vehicle); });
        if (arrived)
            ++current.vehicles;
    }
    if (present.empty())
        events.unloaded();
    else
        events.loaded(lastEffect, time, present);
    std::swap(previous, present);
}

void BridgeMonitor::observeEmpty(long long first, long long last, SummedClock summed)
{
    if (first > last)
        return;
    events.unloaded();
    previous.clear();
    lastEffect = 0.0;
    // Only the first empty step of each interval can change its maximum or minimum: the rest
    // repeat its value, and a repeated value keeps the earlier time.
    for (long long step = first; step <= last; step = clock.firstStepOf(clock.intervalOf(step) + 1))
    {
        if (!intervalOpen || clock.intervalOf(step) != current.number)
            enterInterval(step);
        record(0.0, summed.timeAfter(step));
    }
}

void BridgeMonitor::finish(long long lastStep, double lastTime)
{
    events.finish();
    if (!intervalOpen)
        return;
    if (clock.intervalOf(lastStep + 1) != current.number)
    {
        closeInterval(clock.intervalEnd(current.number), clock.interval(), true);
        return;
    }
    closeInterval(lastTime, lastTime - clock.intervalStart(current.number), false);
}

std::vector<IntervalRow> BridgeMonitor::takeClosedIntervals()
{
    std::vector<IntervalRow> rows;
    rows.swap(closed);
    return rows;
}

void BridgeMonitor::enterInterval(long long step)
{
    if (intervalOpen)
        closeInterval(clock.intervalEnd(current.number), clock.interval(), true);
    intervalOpen = true;
    current = IntervalRow{};
    current.number = clock.intervalOf(step);
    intervalHasValue = false;
}

void BridgeMonitor::record(double value, double time)
{
    const bool first = !intervalHasValue;
    intervalHasValue = true;
    if (first || value > current.maximum)
    {
        current.maximum = value;
        current.maximumTime = time;
    }
    if (first || value < current.minimum)
    {
        current.minimum = value;
        current.minimumTime = time;
    }
}

void BridgeMonitor::closeInterval(double endTime, double duration, bool complete)
{
    current.endTime = endTime;
    current.duration = duration;
    if (complete)
        completeMaxima.push_back(current.maximum);
    closed.push_back(current);
    intervalOpen = false;
}
