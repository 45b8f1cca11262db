#include "app/CSpaceTimeRecording.h"

#include "recorders/SpaceTimeDiagram.h"
#include "recorders/TrajectoryRecorder.h"

CSpaceTimeRecording::CSpaceTimeRecording() : interval(TrajectoryRecorder::defaultIntervalSeconds) {}

CSpaceTimeRecording::~CSpaceTimeRecording() = default;

bool CSpaceTimeRecording::setInterval(double seconds)
{
    if (!TrajectoryRecorder::isUsableInterval(seconds))
        return false;
    interval = seconds;
    return true;
}

void CSpaceTimeRecording::start(double roadLength, int lanesDir1, int lanesDir2, double startTime)
{
    // The last run's diagram goes now, not at the end of this one: only one is ever held here.
    finished.reset();
    SpaceTimeDiagram::Layout layout;
    layout.roadLength = roadLength;
    layout.lanesDir1 = lanesDir1;
    layout.lanesDir2 = lanesDir2;
    layout.startTime = startTime;
    layout.secondsPerColumn = interval;
    diagram = std::make_shared<SpaceTimeDiagram>(layout);
    recorder = std::make_unique<TrajectoryRecorder>(startTime, interval);
    recorder->addSink(*diagram);
}

void CSpaceTimeRecording::observe(double time, const VehicleLists& lanes)
{
    if (recorder)
        recorder->observe(time, lanes);
}

void CSpaceTimeRecording::finish()
{
    if (!recorder)
        return;
    recorder.reset();
    finished = std::move(diagram);
}
