#include "app/CRunPacer.h"

#include "app/CRoadfluxView.h"

CRunPacer& CRunPacer::instance()
{
    static CRunPacer pacer;
    return pacer;
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
    timer.start(static_cast<int>(view->msUntilNextEvent(view->clockNow())));
}
