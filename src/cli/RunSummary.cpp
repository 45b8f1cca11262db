#include "cli/RunSummary.h"

#include "config/CConfigData.h"
#include "engine/RunFigureText.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>
#include <utility>

RunSummary::RunSummary(const RunStatistics& figures, double wall, std::string output, std::string metrics)
    : statistics(figures), wallSeconds(wall), outputFile(std::move(output)), metricsFolder(std::move(metrics))
{
}

void RunSummary::setTrajectoryFiles(std::string csvFile, std::string figuresFile)
{
    trajectoriesFile = std::move(csvFile);
    trajectoryFiguresFile = std::move(figuresFile);
}

std::string RunSummary::simulatedTime(double seconds)
{
    const std::int64_t hundredthsTotal = std::llround(std::max(0.0, seconds) * 100.0);
    const std::int64_t daysPerMonth = std::max(1, theConfigData.daysPerMonth);
    const std::int64_t monthsPerYear = std::max(1, theConfigData.monthsPerYear);
    const std::int64_t wholeSeconds = hundredthsTotal / 100;
    const std::int64_t days = wholeSeconds / 86400;
    char text[128];
    std::snprintf(text, sizeof text,
                  "%.2f s (year %" PRId64 ", month %" PRId64 ", day %" PRId64 ", %02" PRId64 ":%02" PRId64 ":%02" PRId64
                  ".%02" PRId64 ")",
                  seconds, days / (daysPerMonth * monthsPerYear), days / daysPerMonth % monthsPerYear + 1,
                  days % daysPerMonth + 1, wholeSeconds / 3600 % 24, wholeSeconds / 60 % 60, wholeSeconds % 60,
                  hundredthsTotal % 100);
    return text;
}

// Past this mean the time vehicles wait to enter, not the road, decides the results. The note has
// no colon, so that readers of summaries take no figure from it.
std::string RunSummary::releaseDelayWarning() const
{
    if (!(statistics.releaseDelays.meanSeconds > ReleaseDelays::longWaitSeconds))
        return {};
    if (releaseOrder == ReleaseOrder::perLane)
        return "Release delays dominate this run even per lane; the traffic file brings more vehicles than the "
               "lanes' starts can take\n";
    return "Release delays dominate this run; in file order a vehicle that cannot enter holds back every later "
           "one, and --release-order per-lane holds back only its own lane's\n";
}

void RunSummary::print(std::ostream& out) const
{
    char rate[64] = "";
    if (wallSeconds > 0.0)
        std::snprintf(rate, sizeof rate, " (%.0f vehicle-steps per second)",
                      static_cast<double>(statistics.vehicleSteps) / wallSeconds);
    char wall[32];
    std::snprintf(wall, sizeof wall, "%.3f s", wallSeconds);

    out << "Simulated start:     " << simulatedTime(statistics.startTime) << '\n'
        << "Simulated end:       " << simulatedTime(statistics.currentTime) << '\n'
        << "Seed:                " << (seed ? std::to_string(*seed) : "none given (from the system, not repeatable)")
        << '\n'
        << "Steps:               " << statistics.steps << '\n'
        << "Vehicles released:   " << statistics.vehiclesReleased << '\n'
        << "Vehicles written:    " << statistics.recordsWritten << '\n'
        << "Vehicle-steps:       " << statistics.vehicleSteps << '\n'
        << "Skipped vehicles:    " << statistics.skippedVehicles << '\n'
        << "Release order:       " << releaseOrderName(releaseOrder) << '\n'
        << summaryLine(releaseDelayLabel, releaseDelayText(statistics.releaseDelays)) << releaseDelayWarning()
        << summaryLine(minimumGapLabel, minimumGapText(statistics.gaps)) << "Wall time:           " << wall << rate
        << '\n'
        << "Output traffic file: " << outputFile << '\n'
        << "Metrics folder:      " << metricsFolder << '\n';
    if (!trajectoriesFile.empty())
        out << "Trajectories:        " << trajectoriesFile << '\n'
            << "Trajectory figures:  " << trajectoryFiguresFile << '\n';
}
