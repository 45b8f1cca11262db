#pragma once
// The flow, density and speed of the study's run as its flow-and-density detectors complete
// their intervals, held for the live charts until they take them: the figures come from the
// detectors themselves, not from their files. A new run starts afresh.

#include "detectors/FlowDensityObserver.h"

#include <cstddef>
#include <string>
#include <vector>

class Road;

class CLiveFigures : private FlowDensityObserver
{
public:
    struct Detector
    {
        std::string title;       // "Flow & Density, all vehicles, direction 1, at 1500 m"
        std::string shortTitle;  // "Flow & Density 1500 m dir 1"
        int laneCount = 0;
        double intervalSeconds = 0.0;
    };
    struct Interval
    {
        std::size_t detector = 0;                // index into getDetectors()
        double time = 0.0;                       // s on the calendar: the interval's end
        std::vector<FlowDensityFigures> groups;  // the lanes, then the totals
    };

    CLiveFigures() = default;
    CLiveFigures(const CLiveFigures&) = delete;
    CLiveFigures& operator=(const CLiveFigures&) = delete;
    ~CLiveFigures() override { finish(); }

    // At the start of a run, with the clock before its first step (s): listens to the road's
    // flow-and-density detectors and forgets the last run.
    void start(const Road& road, double startTime);
    // At the end of the run, before the road deletes its detectors; what was heard stays.
    void finish();

    // Rises with each run, so that a reader sees a new run even when it missed its start.
    int getRunNumber() const { return runNumber; }
    double getRunStart() const { return runStart; }
    const std::vector<Detector>& getDetectors() const { return detectors; }
    // The intervals completed since the last call, in the order they ended.
    std::vector<Interval> takeNew();

private:
    void intervalEnded(const MetricsDetector& detector, int interval,
                       std::span<const FlowDensityFigures> groups) override;

    std::vector<MetricsDetector*> heard;  // by detector index; not owned
    std::vector<Detector> detectors;
    std::vector<Interval> pending;
    int runNumber = 0;
    double runStart = 0.0;  // s
};
