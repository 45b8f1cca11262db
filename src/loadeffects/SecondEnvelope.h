#pragma once
// A bridge's load effect second by second: the largest and smallest value of the steps whose
// end lies in each whole second of the run's clock, the series behind a chart of any hour. Only
// seconds with a load are kept; a second left out had an effect of 0 throughout.

#include "loadeffects/StepClock.h"

#include <vector>

struct SecondRow
{
    long long number = 0;  // from 1: the second ending at start + number
    double endTime = 0.0;  // s
    double maximum = 0.0;
    double minimum = 0.0;

    bool operator==(const SecondRow&) const = default;
};

class SecondEnvelope
{
public:
    SecondEnvelope(double startTime, double timeStep);

    // The effect after step `step` (from 1); steps come in rising order, and steps not given
    // had no load.
    void add(long long step, double effect);
    // The run ended: the second in progress is closed.
    void finish();

    // The loaded seconds closed since the last call, oldest first.
    std::vector<SecondRow> takeClosed();

private:
    void include(double effect);
    void close();

    StepClock clock;
    bool open = false;
    bool loaded = false;
    long long lastStep = 0;
    SecondRow current;
    std::vector<SecondRow> closed;
};
