#include "app/CRunPacer.h"

#include "app/CRoadfluxView.h"

#include <algorithm>

CRunPacer& CRunPacer::instance()
{
    // Never destroyed: its timer must not outlive the application object at exit.
    static CRunPacer* const pacer = new CRunPacer;
    return *pacer;
}

CRunPacer::CRunPacer()
{
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &CRunPacer::onIdle);
}

void CRunPacer::wake()
{
    timer.start(0);
}

void CRunPacer::onIdle()
{
    CRoadfluxView* view = CRoadfluxView::viewRunning();
    if (!view)
        return;
    ++ticks;
    view->onTick(view->clockNow());
    // The tick may have ended the run, and the end-of-run message may have let a new one start.
    view = CRoadfluxView::viewRunning();
    if (!view)
        return;
    // A step that comes a little late keeps its place in the schedule, so the run's pace does
    // not suffer from the timer's millisecond grain.
    const std::uint32_t wait = view->msUntilNextEvent(view->clockNow());
    timer.start(static_cast<int>(std::min<std::uint32_t>(wait, 1000000)));
}
