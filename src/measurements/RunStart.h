#pragma once
// The clock at a run's start, which the files that count time from it (and the charts of those
// that count nothing) need to be placed at the time of day: the "Simulated start" line of the
// run's summary.

#include <filesystem>
#include <optional>
#include <string>

namespace RunStart {

// s on the traffic files' calendar; nothing when the summary has no readable start.
std::optional<double> ofSummary(const std::string& summary);

struct Found
{
    std::optional<double> seconds;
    std::filesystem::path summary;  // the file it came from
};

// From the summary.txt of the folder or, for a run's metrics folder, of the run's folder above it.
// A summary that cannot be read gives nothing.
Found ofFolder(const std::filesystem::path& measurementFolder);

}  // namespace RunStart
