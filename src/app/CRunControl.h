#pragma once
// Starts, paces, pauses, speeds up, slows down and stops the runs of one view. A visible run makes
// the steps that have fallen due by the time warp at each tick, as many as the processor allows,
// measures the warp it achieves and asks for a repaint every 50 ms; an invisible run steps to the
// end in one loop.

#include "app/CMillisecondClock.h"
#include "app/CRunObserver.h"
#include "app/CSimulationLink.h"
#include "app/CStepSchedule.h"
#include "recorders/TrajectoryRecorder.h"

#include <cstdint>
#include <deque>

class CRunControl
{
public:
    CRunControl(CSimulationLink& simulation, const CMillisecondClock& clock, CRunObserver& observer);

    void runVisible();
    void runInvisible();
    // Starts either kind of run; false when the set-up refused it.
    bool startRun(bool visible = true);
    // One tick of a visible run at wall-clock time nowMs.
    void onTick(std::uint32_t nowMs);
    void togglePause();
    // The end of every run, finished or stopped.
    void finishRun(bool showMessage);
    void speedUp();
    void slowDown();
    void checkTimeWarp();
    void updateProgress();
    // Brings the clocks up to date before a frame shows them.
    void refreshClocks();

    // Milliseconds until the next step or repaint of a visible run is due (0: now).
    std::uint32_t msUntilNextEvent(std::uint32_t nowMs) const;
    // Real time between two steps of a visible run: stepMs / timeWarpFactor (ms).
    double stepIntervalMs() const;
    // Simulated seconds per real second over the last second of the visible run; negative
    // until it has been measured.
    double getAchievedWarp() const { return achievedWarp; }

    bool isRunning() const { return running; }
    bool isPaused() const { return paused; }
    bool isInvisibleRun() const { return invisibleRun; }
    double getTimeWarpFactor() const { return timeWarpFactor; }
    void setTimeWarpFactor(double factor) { timeWarpFactor = factor; }
    // s of simulated time between the samples of the space-time diagram a run records.
    double getSpaceTimeInterval() const { return spaceTimeInterval; }
    void setSpaceTimeInterval(double seconds) { spaceTimeInterval = seconds; }
    int getStepMs() const { return stepMs; }
    void setStepMs(int ms) { stepMs = ms; }
    double getSimTime() const { return simTime; }
    int getRealElapsedMs() const { return realElapsedMs; }
    int getLastProgressPercent() const { return lastProgressPercent; }
    const VehicleLists& getVehicleLists() const { return vehicleLists; }

    static constexpr double maxTimeWarp = 1000.0;
    static constexpr int redrawMs = 50;
    // A tick ends its steps after this long, so that input and repaints wait no longer.
    static constexpr int stepBudgetMs = 20;
    // Steps overdue by more than this were missed while the program was busy elsewhere (a
    // pause, a dialog, a slow frame) and are not made up.
    static constexpr double lateStepAllowanceMs = 5.0;
    // The achieved warp is measured over about this much real time.
    static constexpr int warpWindowMs = 1000;

private:
    void makeDueSteps(std::uint32_t nowMs);
    void measureWarp(std::uint32_t nowMs);
    void restartWarpMeasure();
    void takeClocks();
    // Moves a due time past nowMs in whole intervals: missed steps and repaints are not made up.
    static void advancePast(std::uint32_t& due, std::uint32_t nowMs, int intervalMs);
    static bool isAfter(std::uint32_t a, std::uint32_t b);

    CSimulationLink& simulation;
    const CMillisecondClock& clock;
    CRunObserver& observer;

    bool running = false;
    bool paused = false;
    bool invisibleRun = false;
    bool started = false;  // from the start of a run until finishRun
    int stepMs = 100;
    double timeWarpFactor = 1.0;
    double spaceTimeInterval = TrajectoryRecorder::defaultIntervalSeconds;  // s
    std::uint32_t realStartMs = 0;
    std::uint32_t pauseStartMs = 0;
    int realElapsedMs = 0;
    double simTime = 0.0;
    VehicleLists vehicleLists;
    int lastProgressPercent = 0;
    CStepSchedule schedule;
    std::uint32_t nextRedrawMs = 0;
    struct PaceSample
    {
        std::uint32_t wallMs;
        double simSeconds;
    };
    std::deque<PaceSample> paceSamples;
    double achievedWarp = -1.0;
};
