#include "app/CRunControl.h"

#include "dialogs/CUserDialogs.h"

#include <algorithm>
#include <cstdio>

namespace
{
const char* const invisibleRunQuestion =
    "Running Roadflux in this mode means:\n- only the progress bar is updated;\n- the program will "
    "appear to be unresponsive until the simulation is complete.\nAre you sure that you want to "
    "proceed in this mode?";
}

CRunControl::CRunControl(CSimulationLink& link, const CMillisecondClock& wallClock,
                         CRunObserver& runObserver)
    : simulation(link), clock(wallClock), observer(runObserver)
{
}

void CRunControl::runVisible()
{
    if (running)
    {
        if (paused && !invisibleRun)
            togglePause();
        else
            userDialogs().warn("Simulation already running");
        return;
    }
    if (observer.otherRunInProgress())
    {
        userDialogs().warn("Simulation already running");
        return;
    }
    startRun();
}

void CRunControl::runInvisible()
{
    if (running || observer.otherRunInProgress())
    {
        userDialogs().warn("Simulation already running");
        return;
    }
    if (!userDialogs().ask(invisibleRunQuestion))
        return;
    if (!startRun())
        return;
    invisibleRun = true;
    bool stillRunning = true;
    while (stillRunning)
    {
        simulation.step(stillRunning);
        updateProgress();
    }
    simTime = simulation.getTime();
    realElapsedMs = static_cast<int>(clock.now() - realStartMs);
    finishRun(true);
}

bool CRunControl::startRun()
{
    if (!simulation.setupSimulation())
        return false;
    observer.simRunningChanged(true);
    started = true;
    realStartMs = clock.now();
    running = true;
    paused = false;
    invisibleRun = false;
    simTime = 0.0;
    realElapsedMs = 0;
    lastProgressPercent = 0;
    nextStepMs = realStartMs + static_cast<std::uint32_t>(stepIntervalMs());
    nextRedrawMs = realStartMs + redrawMs;
    observer.runStarted();
    observer.invalidate(true);
    return true;
}

void CRunControl::onTick(std::uint32_t nowMs)
{
    if (invisibleRun)
        return;
    const int stepInterval = stepIntervalMs();
    if (running && !paused && isAfter(nowMs, nextStepMs))
    {
        vehicleLists = simulation.step(running);
        updateProgress();
        if (!running)
            finishRun(true);
        advancePast(nextStepMs, nowMs, stepInterval);
    }
    if (isAfter(nowMs, nextRedrawMs))
    {
        observer.invalidate(false);
        advancePast(nextRedrawMs, nowMs, redrawMs);
    }
}

void CRunControl::togglePause()
{
    if (!running || invisibleRun)
        return;
    if (paused)
    {
        realStartMs += clock.now() - pauseStartMs;
        paused = false;
    }
    else
    {
        pauseStartMs = clock.now();
        paused = true;
    }
}

void CRunControl::finishRun(bool showMessage)
{
    // The step that ends a run has cleared running already; a run that never started has
    // nothing to end.
    if (!started)
        return;
    started = false;
    observer.invalidate(true);
    running = false;
    invisibleRun = false;
    observer.simRunningChanged(false);
    observer.runEnded();
    // The lists point at vehicles the reset deletes.
    vehicleLists.clear();
    simulation.reset();
    lastProgressPercent = 0;
    if (!showMessage)
        return;
    std::string message = "The simulation has finished.";
    const std::string remark = simulation.runRemark();
    if (!remark.empty())
        message += "\n" + remark;
    userDialogs().inform(message);
}

void CRunControl::speedUp()
{
    if (!running)
        return;
    timeWarpFactor += 1.0;
    checkTimeWarp();
}

void CRunControl::slowDown()
{
    if (!running)
        return;
    timeWarpFactor -= 1.0;
    checkTimeWarp();
}

void CRunControl::checkTimeWarp()
{
    if (timeWarpFactor > maxTimeWarp)
    {
        timeWarpFactor = maxTimeWarp;
        char text[128];
        std::snprintf(text, sizeof text, "Maximum time warp reached (%.2f) for this simulation.",
                      timeWarpFactor);
        userDialogs().inform(text);
    }
    if (timeWarpFactor < 0.5)
    {
        timeWarpFactor = 1.0;
        userDialogs().inform("Half of real-time speed is the minimum time warp.");
    }
}

void CRunControl::updateProgress()
{
    const int percent = simulation.getProgress();
    if (percent <= lastProgressPercent)
        return;
    lastProgressPercent = percent;
    observer.progressRose(percent);
}

void CRunControl::refreshClocks()
{
    if (!running || invisibleRun)
        return;
    simTime = simulation.getTime();
    if (!paused)
        realElapsedMs = static_cast<int>(clock.now() - realStartMs);
}

std::uint32_t CRunControl::msUntilNextEvent(std::uint32_t nowMs) const
{
    // A due time d is reached once now > d.
    auto wait = [nowMs](std::uint32_t due) -> std::uint32_t {
        return isAfter(nowMs, due) ? 0u : due - nowMs + 1u;
    };
    std::uint32_t untilNext = wait(nextRedrawMs);
    if (running && !paused)
        untilNext = std::min(untilNext, wait(nextStepMs));
    return untilNext;
}

int CRunControl::stepIntervalMs() const
{
    // The warp is kept at 1 or more by the commands and the preferences; the clamp only keeps a
    // stray value from overflowing the conversion.
    const double interval = timeWarpFactor > 0.0 ? stepMs / timeWarpFactor + 0.5 : 1e9;
    return std::clamp(static_cast<int>(std::min(interval, 1e9)), 1, 1000000000);
}

void CRunControl::advancePast(std::uint32_t& due, std::uint32_t nowMs, int intervalMs)
{
    if (!isAfter(nowMs, due))
        return;
    const std::uint32_t interval = static_cast<std::uint32_t>(std::max(intervalMs, 1));
    const std::uint32_t behind = nowMs - due;
    due += ((behind + interval - 1) / interval) * interval;
}

bool CRunControl::isAfter(std::uint32_t a, std::uint32_t b)
{
    return static_cast<std::int32_t>(a - b) > 0;
}
