#pragma once
// What run control asks of the view it runs in: repaints, the progress bar's life, and the
// program-wide "a run is in progress" flag that lets only one run use the study at a time.

class CRunObserver
{
public:
    virtual ~CRunObserver() = default;

    virtual void invalidate(bool erase) = 0;
    virtual void runStarted() = 0;
    // The share of the traffic file read rose to percent.
    virtual void progressRose(int percent) = 0;
    // A visible run went at achievedWarp simulated seconds per real second of late.
    virtual void warpMeasured(double achievedWarp) = 0;
    // A visible run was paused or resumed.
    virtual void pauseChanged(bool paused) { (void)paused; }
    virtual void runEnded() = 0;
    // Another view already runs the study's one simulation.
    virtual bool otherRunInProgress() const = 0;
    virtual void simRunningChanged(bool running) = 0;
    // A run reached its end (not stopped) and the user was told.
    virtual void runFinished() {}
};
