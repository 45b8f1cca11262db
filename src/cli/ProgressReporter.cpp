#include "cli/ProgressReporter.h"

#include <cstdio>
#include <ostream>

ProgressReporter::ProgressReporter(std::ostream& errStream, bool terminal) : err(errStream), isTerminal(terminal) {}

void ProgressReporter::update(int percent)
{
    if (percent == lastShown)
        return;
    lastShown = percent;
    char text[32];
    std::snprintf(text, sizeof text, "%d%% complete", percent);
    if (isTerminal)
        err << '\r' << text << std::flush;
    else
        err << text << '\n';
}

void ProgressReporter::finish()
{
    if (isTerminal && lastShown >= 0)
        err << '\n' << std::flush;
}
