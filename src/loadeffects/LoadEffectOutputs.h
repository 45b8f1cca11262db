#pragma once
// Reading back a bridge's output files, LE_<name>.csv, _seconds.csv and _events.csv, for charts and
// reports after a run. A file that does not hold what a run writes gives a problem naming the
// file and the line.

#include "loadeffects/IntervalRow.h"
#include "loadeffects/LargestEvents.h"
#include "loadeffects/SecondEnvelope.h"

#include <string>
#include <vector>

struct IntervalRowsResult
{
    std::vector<IntervalRow> rows;
    std::string problem;  // empty when the file was read whole
};

struct SecondRowsResult
{
    std::vector<SecondRow> rows;
    std::string problem;
};

struct LoadEventsResult
{
    std::vector<LoadEvent> events;  // largest first, as listed
    std::string problem;
};

namespace LoadEffectOutputs {
IntervalRowsResult readIntervals(const std::string& path);
LoadEventsResult readEvents(const std::string& path);
// LE_<name>_seconds.csv: the loaded seconds; a second not listed had an effect of 0.
SecondRowsResult readSeconds(const std::string& path);

// The maxima of the rows that cover a whole interval of `interval` seconds: the last row of a
// run is usually shorter and would bias the fit low.
std::vector<double> completeMaxima(const std::vector<IntervalRow>& rows, double interval);
}
