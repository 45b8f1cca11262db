#pragma once
// The closing report of a headless run: the simulated start and end, the seed, the counts of steps
// and vehicles, the release order and delays and the closest gap, the wall time and where the outputs went.

#include "engine/ReleaseOrder.h"
#include "engine/RunStatistics.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

class RunSummary
{
public:
    RunSummary(const RunStatistics& statistics, double wallSeconds, std::string outputFile, std::string metricsFolder);

    // Named at the end when the run wrote trajectories.
    void setTrajectoryFiles(std::string csvFile, std::string figuresFile);
    // Named beside the release delays; file order unless set.
    void setReleaseOrder(ReleaseOrder order) { releaseOrder = order; }
    // The seed the run was given; without one the generator was seeded from the system.
    void setSeed(std::optional<std::uint32_t> given) { seed = given; }

    void print(std::ostream& out) const;

    // Seconds on the traffic files' calendar as "28803.52 s (year 0, month 1, day 1, 08:00:03.52)".
    static std::string simulatedTime(double seconds);

private:
    std::string releaseDelayWarning() const;

    RunStatistics statistics;
    ReleaseOrder releaseOrder = ReleaseOrder::file;
    std::optional<std::uint32_t> seed;
    double wallSeconds;  // s
    std::string outputFile;
    std::string metricsFolder;
    std::string trajectoriesFile;
    std::string trajectoryFiguresFile;
};
