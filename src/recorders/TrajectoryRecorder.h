#pragma once
// Samples a run's vehicles at a fixed interval of simulated time and hands each snapshot to its
// sinks (a CSV file, a space-time diagram). Fed after every Sim::step with Sim::getTime() and the
// lists the step returned; costs almost nothing in the steps it does not sample.
//
// The samples fall on the grid startTime + k * interval (k = 1, 2, ...): a step is sampled when
// its end is the nearest step end to the next grid point. When the clock jumps (over an empty
// road, say), the first step after the jump is sampled, then the grid's next point.

#include "recorders/TrajectorySample.h"

#include <cstdint>
#include <vector>

class TrajectorySink;
class Vehicle;

class TrajectoryRecorder
{
public:
    static constexpr double defaultIntervalSeconds = 1.0;

    // startTime (s) is the clock before the first step; interval (s) must be positive and
    // finite (std::invalid_argument otherwise).
    explicit TrajectoryRecorder(double startTime, double intervalSeconds = defaultIntervalSeconds);

    // Not owned; must outlive the recorder's last observe().
    void addSink(TrajectorySink& sink);

    // The run's time step (s): a sample's acceleration is then its step's change of speed over
    // the step, as an observer would measure it. Without it, the driver model's acceleration.
    void setStepLength(double seconds) { stepLength = seconds; }

    // After each step: the clock at its end and the per-lane lists (lane number = index + 1,
    // front-most first). True when this step was sampled.
    bool observe(double time, const std::vector<std::vector<Vehicle*>>& lanes);

    double getInterval() const { return interval; }
    std::int64_t getSnapshotCount() const { return snapshots; }

    static bool isUsableInterval(double seconds);

private:
    bool isDue(double time, double tolerance) const;
    void takeSnapshot(double time, const std::vector<std::vector<Vehicle*>>& lanes);

    double startTime;         // s
    double interval;          // s
    double previousTime;      // s, the clock at the end of the last observed step
    double stepLength = 0.0;  // s; 0 when not known
    std::int64_t nextIndex = 1;
    std::int64_t snapshots = 0;
    std::vector<TrajectorySample> buffer;  // reused from snapshot to snapshot
    std::vector<TrajectorySink*> sinks;
};
