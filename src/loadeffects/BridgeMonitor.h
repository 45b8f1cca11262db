#pragma once
// Follows one bridge through a run: its load effect at every step, the maximum and minimum of
// each interval and the largest events. Closed intervals wait in takeClosedIntervals() until the
// caller writes them.

#include "loadeffects/BridgeLoading.h"
#include "loadeffects/IntervalRow.h"
#include "loadeffects/LargestEvents.h"
#include "loadeffects/StepClock.h"

#include <vector>

class BridgeMonitor
{
public:
    BridgeMonitor(const Bridge& bridge, InfluenceLine line, const RoadLayout& road, double startTime);

    // Step `step`, the clock after it (s) and its per-lane vehicle lists; steps come in rising order.
    void observe(long long step, double time, const std::vector<std::vector<Vehicle*>>& lanes);
    // Steps first .. last (inclusive) over an empty road: what stepping through them would give.
    // `summed` stands at the step before `first`.
    void observeEmpty(long long first, long long last, SummedClock summed);
    // The run ended after `lastStep`, at `lastTime` (s): closes the open interval and event.
    void finish(long long lastStep, double lastTime);

    // The intervals closed since the last call, oldest first.
    std::vector<IntervalRow> takeClosedIntervals();
    // Maxima of every complete interval so far: the sample for the Gumbel fit.
    const std::vector<double>& getCompleteMaxima() const { return completeMaxima; }
    const LargestEvents& getEvents() const { return events; }
    const Bridge& getBridge() const { return bridge; }
    double getLastEffect() const { return lastEffect; }

private:
    void enterInterval(long long step);
    void record(double value, double time);
    void closeInterval(double endTime, double duration, bool complete);

    Bridge bridge;
    BridgeLoading loading;
    StepClock clock;
    LargestEvents events;

    bool intervalOpen = false;
    bool intervalHasValue = false;
    IntervalRow current;
    std::vector<IntervalRow> closed;
    std::vector<double> completeMaxima;

    std::vector<PresentVehicle> present;
    std::vector<PresentVehicle> previous;  // on the bridge at the step before
    double lastEffect = 0.0;
};
