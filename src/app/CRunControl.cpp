#include "app/CRunControl.h"

#include "dialogs/CUserDialogs.h"

#include <algorithm>
#include <cstdio>

namespace {
const char* const invisibleRunQuestion =
    "Running Roadflux in this mode means:\n- only the progress bar is updated;\n- the program will "
    "appear to be unresponsive until the simulation is complete.\nAre you sure that you want to "
    "proceed in this mode?";
}

CRunControl::CRunControl(CSimulationLink& link, const CMillisecondClock& wallClock, CRunObserver& runObserver)
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
    if (!startRun(false))
        return;
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

bool CRunControl::startRun(bool visible)
{
    simulation.setSpaceTimeInterval(spaceTimeInterval);
    if (!simulation.setupSimulation())
        return false;
    observer.simRunningChanged(true);
    started = true;
    realStartMs = clock.now();
    running = true;
    paused = false;
    invisibleRun = !visible;
    simTime = 0.0;
    realElapsedMs = 0;
    lastProgressPercent = 0;
    schedule.start(realStartMs, stepIntervalMs());
    nextRedrawMs = realStartMs + redrawMs;
    restartWarpMeasure();
    observer.runStarted();
    // An invisible run draws nothing until it ends.
    if (visible)
        observer.invalidate(true);
    return true;
}

void CRunControl::onTick(std::uint32_t nowMs)
{
    if (invisibleRun)
        return;
    if (running && !paused)
        makeDueSteps(nowMs);
    if (isAfter(nowMs, nextRedrawMs))
    {
        if (running && !paused)
            measureWarp(nowMs);
        observer.invalidate(false);
        advancePast(nextRedrawMs, nowMs, redrawMs);
    }
}

void CRunControl::makeDueSteps(std::uint32_t nowMs)
{
    schedule.setInterval(stepIntervalMs());
    schedule.dropOverdue(nowMs, lateStepAllowanceMs);
    const std::uint32_t budgetEndMs = clock.now() + stepBudgetMs;
    while (schedule.isDue(nowMs))
    {
        vehicleLists = simulation.step(running);
        schedule.advance();
        updateProgress();
        if (!running)
        {
            finishRun(true);
            return;
        }
        // What is still due then waits for the next tick, which drops it if it has grown late.
        if (isAfter(clock.now(), budgetEndMs))
            return;
    }
}

void CRunControl::measureWarp(std::uint32_t nowMs)
{
    paceSamples.push_back({nowMs, simulation.getTime()});
    while (paceSamples.size() > 2 && nowMs - paceSamples[1].wallMs >= static_cast<std::uint32_t>(warpWindowMs))
        paceSamples.pop_front();
    const PaceSample& first = paceSamples.front();
    const std::uint32_t spanMs = nowMs - first.wallMs;
    // Shorter spans count too few steps to say much.
    if (paceSamples.size() < 2 || spanMs < 4 * static_cast<std::uint32_t>(redrawMs))
        return;
    achievedWarp = (paceSamples.back().simSeconds - first.simSeconds) * 1000.0 / spanMs;
    observer.warpMeasured(achievedWarp);
}

void CRunControl::restartWarpMeasure()
{
    paceSamples.clear();
    achievedWarp = -1.0;
}

void CRunControl::togglePause()
{
    if (!running || invisibleRun)
        return;
    const std::uint32_t nowMs = clock.now();
    if (paused)
    {
        realStartMs += nowMs - pauseStartMs;
        paused = false;
        // The run goes on from now: the steps of the pause are not made up.
        schedule.start(nowMs, stepIntervalMs());
    }
    else
    {
        pauseStartMs = nowMs;
        paused = true;
    }
    restartWarpMeasure();
    observer.pauseChanged(paused);
}

void CRunControl::finishRun(bool showMessage)
{
    // The step that ends a run has cleared running already; a run that never started has
    // nothing to end.
    if (!started)
        return;
    started = false;
    // The clocks the view shows after the run are those of its end, not of its last frame.
    takeClocks();
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
    observer.runFinished();
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
        std::snprintf(text, sizeof text, "Maximum time warp reached (%.2f) for this simulation.", timeWarpFactor);
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
    takeClocks();
}

void CRunControl::takeClocks()
{
    simTime = simulation.getTime();
    if (!paused)
        realElapsedMs = static_cast<int>(clock.now() - realStartMs);
}

std::uint32_t CRunControl::msUntilNextEvent(std::uint32_t nowMs) const
{
    // A due time d is reached once now > d.
    std::uint32_t untilNext = isAfter(nowMs, nextRedrawMs) ? 0u : nextRedrawMs - nowMs + 1u;
    if (running && !paused)
        untilNext = std::min(untilNext, schedule.msUntilDue(nowMs));
    return untilNext;
}

double CRunControl::stepIntervalMs() const
{
    // The warp is kept at 1 or more by the commands and the preferences; a stray value does
    // not stop the clock.
    return timeWarpFactor > 0.0 ? stepMs / timeWarpFactor : 1e9;
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
