#pragma once
// The runs of a sweep side by side: for each file they all have, per row and column, the
// statistics of the runs' values. Runs that differ in their detectors or intervals are refused.

#include "replications/RunFolder.h"
#include "replications/SampleStatistics.h"

#include <filesystem>
#include <string>
#include <vector>

// One file (or the summary) over all runs.
struct ComparedTable
{
    std::string fileName;
    std::string keyLabel;
    std::vector<std::string> columns;
    std::vector<std::string> keys;                     // every row of any run, in order
    std::vector<std::vector<SampleStatistics>> cells;  // [row][column]
    std::vector<const RunTable*> runs;                 // the runs' own tables; null where a run has none

    static ComparedTable of(std::string fileName, const std::vector<const RunTable*>& runs);
};

class RunComparison
{
public:
    // Throws BadFile for a file that cannot be read, ComparisonError for a folder that cannot be
    // read, a run given twice, runs with
    // other measurement files or headers (other detectors, lanes or bins), or other intervals, and
    // runs in progress (a folder NAME.partial, or one without summary.txt among runs with one).
    static RunComparison of(const std::vector<std::filesystem::path>& folders);
    // The compared tables point into the runs: moved, never copied.
    RunComparison(RunComparison&&) = default;
    RunComparison& operator=(RunComparison&&) = default;
    RunComparison(const RunComparison&) = delete;
    RunComparison& operator=(const RunComparison&) = delete;

    const std::vector<RunFolder>& runs() const { return runFolders; }
    // The compared measurement files by name, then the summary's figures when the runs have any.
    const std::vector<ComparedTable>& tables() const { return comparedTables; }
    const ComparedTable* table(const std::string& fileName) const;
    // Measurement files every run has but that are not compared, e.g. LC_ST_ (the LC_All_ events).
    const std::vector<std::string>& uncompared() const { return uncomparedFiles; }

    static constexpr const char* summaryName = "summary.txt";

private:
    RunComparison() = default;
    void refuseRunsInProgress() const;
    void refuseDifferences() const;

    std::vector<RunFolder> runFolders;
    std::vector<ComparedTable> comparedTables;
    std::vector<std::string> uncomparedFiles;
};
