#pragma once
// One run of a sweep as the comparison reads it: the figures of its summary.txt and every
// measurement file of its metrics folder (RUN/metrics, or RUN itself when it has none).

#include "replications/RunTable.h"

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>

struct RunFolder
{
    std::filesystem::path folder;
    std::filesystem::path metricsFolder;
    std::optional<RunTable> summary;
    std::optional<std::string> seed;         // as its summary states it
    std::map<std::string, RunTable> tables;  // the compared files, by name
    std::set<std::string> fileNames;         // every measurement file, compared or not

    // Throws ComparisonError naming a folder that is no run's, BadFile for a file that cannot be
    // read.
    static RunFolder read(const std::filesystem::path& folder);

    // A sweep's folder of a run in progress or one that failed (NAME.partial, also behind a link
    // or "."): its files would pass for a whole run's.
    static bool isInProgress(const std::filesystem::path& folder);
};
