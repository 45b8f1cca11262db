#pragma once
// The comparison of a sweep's runs in one call, for the command line and the report: reads the
// runs, refuses those that differ, estimates the replications needed and writes the CSV files.

#include "replications/ReplicationFigures.h"
#include "replications/RunComparison.h"

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

struct CompareRunsOptions
{
    std::vector<std::filesystem::path> runFolders;
    std::filesystem::path csvFolder;   // nothing is written when empty
    std::vector<std::string> figures;  // FILE:NAME; empty: the mean flow of each flow-and-density file
    double relativePrecision = 0.05;   // of the mean, for the replications needed
};

struct CompareRunsResult
{
    RunComparison comparison;
    std::vector<ReplicationEstimate> replications;
    std::vector<std::filesystem::path> csvFiles;
};

// Throws ComparisonError with a message naming the runs, the file or the figure at fault.
CompareRunsResult compareRuns(const CompareRunsOptions& options);

// What was compared and the replications needed, as plain text.
void printComparison(const CompareRunsResult& result, std::ostream& out);
