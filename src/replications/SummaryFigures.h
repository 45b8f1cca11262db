#pragma once
// The figures of a run's summary.txt, found by their labels so that lines added later are taken
// up and lines a runner does not write are simply absent: "Vehicles written:   1265" gives the
// figure "Vehicles written"; "Release delay (s): mean 0.70, maximum 1.40" gives
// "Release delay (s): mean" and "Release delay (s): maximum". The wall time and the seed are left
// out: the one measures the machine, the other names the run.

#include "outputfiles/CsvText.h"
#include "replications/RunTable.h"

#include <optional>
#include <string>
#include <utility>

namespace SummaryFigures {
RunTable read(const CsvText& summary);
// What the "Seed:" line says: the number, or that the run had none.
std::optional<std::string> seedOf(const CsvText& summary);
// The simulated seconds from the start to the end of the run, when the summary has both.
std::optional<double> runSeconds(const RunTable& figures);
// The simulated start and end (s on the traffic files' clock), when the summary has both in order.
std::optional<std::pair<double, double>> simulatedSpan(const RunTable& figures);
}
