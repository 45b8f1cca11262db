#pragma once
// The comparison of a sweep's runs in one call, for the command line and the report: reads the
// runs, refuses those that differ, estimates the replications needed and writes the CSV files.

#include "replications/ReplicationFigures.h"
#include "replications/RunComparison.h"

#include "files/FileClaims.h"

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

struct CompareRunsOptions
{
    std::vector<std::filesystem::path> runFolders;
    std::filesystem::path csvFolder;   // nothing is written when empty
    std::vector<std::string> figures;  // FILE:NAME; empty: the mean flow of each flow-and-density file
    double relativePrecision = 0.05;   // of the mean, for the replications needed
    FileClaims callerFiles;  // what the caller reads (a configuration) and writes (a page), claimed with the rest
};

struct CompareRunsResult
{
    RunComparison comparison;
    std::vector<ReplicationEstimate> replications;
    std::vector<std::filesystem::path> csvFiles;
    std::shared_ptr<FileClaim> claim;  // the lock on every output, held while the caller writes its own
};

// Throws ComparisonError with a message naming the runs, the file or the figure at fault, and
// BadFile for a file of a run that cannot be read.
CompareRunsResult compareRuns(const CompareRunsOptions& options);

// What was compared and the replications needed, as plain text.
void printComparison(const CompareRunsResult& result, std::ostream& out);
