#include "app/CRunPacer.h"

#include "app/CRoadfluxView.h"

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
    // The clock counts whole milliseconds: a timer for the full wait could wake just after a
    // millisecond began and lose most of one. Sleeping one less and then ticking at every pass
    // of the event loop catches the next step on the millisecond it falls due.
    const std::uint32_t wait = view->msUntilNextEvent(view->clockNow());
    timer.start(wait <= 1 ? 0 : static_cast<int>(wait - 1));
}
