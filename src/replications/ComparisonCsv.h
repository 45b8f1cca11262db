#pragma once
// The comparison written as comma-separated files in a folder of the user's: one per compared
// measurement file, under its name, with per row and column the number of runs, the mean, the
// standard deviation and the 95 % confidence interval of the mean; summary.csv for the
// summaries' figures and replications.csv for the runs needed. Missing values are empty cells.

#include "replications/ReplicationFigures.h"
#include "replications/RunComparison.h"

#include <filesystem>
#include <vector>

// The files written. Throws ComparisonError when the folder is one of the runs' own folders
// (their measurement files would be replaced) or a file cannot be written.
// The files writeComparisonCsv() writes into `folder`, in its order.
std::vector<std::filesystem::path> comparisonCsvPaths(const RunComparison& comparison,
                                                      const std::filesystem::path& folder);

// Makes the folder for the comparison's files; refuses a run's own folder.
void makeComparisonFolder(const RunComparison& comparison, const std::filesystem::path& folder);

std::vector<std::filesystem::path> writeComparisonCsv(const RunComparison& comparison,
                                                      const std::vector<ReplicationEstimate>& replications,
                                                      const std::filesystem::path& folder);
