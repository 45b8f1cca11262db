#pragma once
// Records the space-time diagram of the desktop program's runs, visible or invisible: sampled at
// the interval the user set, in the analysis layer's bounded diagram, and kept after the run for
// the Results window. A new run's diagram replaces the last one.

#include "app/CSimulationLink.h"

#include <memory>

class SpaceTimeDiagram;
class TrajectoryRecorder;

class CSpaceTimeRecording
{
public:
    CSpaceTimeRecording();
    ~CSpaceTimeRecording();

    // s; a number that is not a usable interval (not positive, not finite) is refused: false.
    bool setInterval(double seconds);
    double getInterval() const { return interval; }

    // At the start of a run, with the road's length (m) and lanes and the clock before the
    // first step (s).
    void start(double roadLength, int lanesDir1, int lanesDir2, double startTime);
    // After each step, with the clock at its end and the lists the step returned.
    void observe(double time, const VehicleLists& lanes);
    // At the run's end, finished or stopped: the diagram is kept for the Results window.
    void finish();

    // Forgets the last run's diagram (another study was opened).
    void clear() { finished.reset(); }

    // The last run's diagram once it has ended; null before any run and during one.
    std::shared_ptr<const SpaceTimeDiagram> getDiagram() const { return finished; }

private:
    double interval;  // s
    std::unique_ptr<TrajectoryRecorder> recorder;
    std::shared_ptr<SpaceTimeDiagram> diagram;
    std::shared_ptr<const SpaceTimeDiagram> finished;
};
