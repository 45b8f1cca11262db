#pragma once
// The steps of a run and the block-maxima intervals they fall into. Step k (from 1) ends at
// start + k x timeStep; interval n (from 1) covers (start + (n − 1) x interval, start + n x
// interval]. Times come from the step number rather than from the run's summed clock, so that
// a run whose clock jumps over empty road gives the same times as one that steps through it.

class StepClock
{
public:
    StepClock(double startTime, double timeStep, double interval);

    // The step whose end the simulated clock `time` (s) shows.
    long long stepAt(double time) const;
    double timeOf(long long step) const { return startTime + static_cast<double>(step) * timeStep; }

    long long intervalOf(long long step) const;
    long long firstStepOf(long long interval) const;
    double intervalStart(long long interval) const { return startTime + static_cast<double>(interval - 1) * interval_; }
    double intervalEnd(long long interval) const { return startTime + static_cast<double>(interval) * interval_; }
    double interval() const { return interval_; }

private:
    double startTime;  // s, the run's first clock value
    double timeStep;   // s
    double interval_;  // s
};
