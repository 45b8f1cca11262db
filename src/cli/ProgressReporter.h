#pragma once
// Shows how much of the traffic file a run has read, as "%d%% complete": one line rewritten in
// place on a terminal, one line per percent otherwise (a log file stays readable).

#include <iosfwd>

class ProgressReporter
{
public:
    ProgressReporter(std::ostream& err, bool isTerminal);

    // Shows the percentage when it differs from the last one shown.
    void update(int percent);
    // Ends the rewritten line on a terminal.
    void finish();

private:
    std::ostream& err;
    bool isTerminal;
    int lastShown = -1;
};
