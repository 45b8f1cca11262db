#pragma once
// The block-maxima intervals of a run's steps. Step k (from 1) is the run's k-th step; interval n
// (from 1) holds the steps whose end lies in (start + (n − 1) x interval, start + n x interval]
// on a clock of k x timeStep, so that the share of steps is the same however long the run.

class StepClock
{
public:
    StepClock(double startTime, double timeStep, double interval);

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

// The simulated clock as the engine keeps it, a step added at a time: the times of the steps a
// run did not show because its clock jumped over empty road, as stepping through them gives.
class SummedClock
{
public:
    // `time`: the clock after step `step`.
    SummedClock(long long step, double time, double timeStep) : step(step), time(time), timeStep(timeStep) {}

    // The clock after step `later` (not before the last one asked for).
    double timeAfter(long long later)
    {
        for (; step < later; ++step)
            time += timeStep;
        return time;
    }

private:
    long long step;
    double time;      // s
    double timeStep;  // s
};
