#pragma once
// The pages roadflux-report writes: one run's report, the comparison of a sweep's runs and the
// extremes of runs.
// Each checks and claims its files first, prints where the page went and returns the program's
// exit status (0 written, 1 refused or failed), with a message on stderr.

#include "report/ReportRequest.h"

int writeRunReport(const ReportRequest& request);
int writeComparison(const ReportRequest& request);
int writeExtremes(const ReportRequest& request);
