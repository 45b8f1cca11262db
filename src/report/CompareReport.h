#pragma once
// The comparison of a sweep's runs as one self-contained HTML page: the runs and files compared,
// the replications needed for each chosen figure with the current half-width of its confidence
// interval, and for each flow-and-density file the mean over the runs with its 95 % band over
// time and the runs' fundamental diagrams overlaid. Like the run report, the page is also XML.

#include "replications/CompareRuns.h"

#include <QString>

namespace CompareReport {

QString build(const CompareRunsResult& result);

}  // namespace CompareReport
