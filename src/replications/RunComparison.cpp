#include "replications/RunComparison.h"

#include "replications/ComparisonError.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace fs = std::filesystem;

namespace {
std::string name(const RunFolder& run)
{
    return run.folder.string();
}

fs::path identity(const fs::path& folder)
{
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(folder, error);
    return error ? folder.lexically_normal() : canonical;
}

void refuseRepeatedFolders(const std::vector<fs::path>& folders)
{
    for (std::size_t i = 0; i < folders.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (identity(folders[i]) == identity(folders[j]))
                throw ComparisonError("Cannot compare: " + folders[i].string() + " is given twice (as " +
                                      folders[j].string() + "); a run counted twice would narrow the intervals");
}
}

ComparedTable ComparedTable::of(std::string fileName, const std::vector<const RunTable*>& runs)
{
    ComparedTable result;
    result.fileName = std::move(fileName);
    result.runs = runs;
    std::unordered_set<std::string> seen;
    for (const RunTable* run : runs)
    {
        if (!run)
            continue;
        if (result.columns.empty())
        {
            result.keyLabel = run->keyLabel;
            result.columns = run->columns;
        }
        for (const std::string& key : run->keys)
            if (seen.insert(key).second)
                result.keys.push_back(key);
    }
    // Each run's rows by key: an interval a run did not complete counts as missing.
    std::vector<std::unordered_map<std::string, std::size_t>> rowOf(runs.size());
    for (std::size_t r = 0; r < runs.size(); ++r)
        if (runs[r])
            for (std::size_t i = 0; i < runs[r]->keys.size(); ++i)
                rowOf[r].emplace(runs[r]->keys[i], i);
    for (const std::string& key : result.keys)
    {
        std::vector<SampleStatistics> row;
        for (std::size_t c = 0; c < result.columns.size(); ++c)
        {
            std::vector<double> values;
            for (std::size_t r = 0; r < runs.size(); ++r)
            {
                const auto found = runs[r] ? rowOf[r].find(key) : rowOf[r].end();
                if (found != rowOf[r].end() && c < runs[r]->rows[found->second].size())
                    values.push_back(runs[r]->rows[found->second][c]);
            }
            row.push_back(SampleStatistics::of(values));
        }
        result.cells.push_back(std::move(row));
    }
    return result;
}

RunComparison RunComparison::of(const std::vector<fs::path>& folders)
{
    if (folders.empty())
        throw ComparisonError("Cannot compare: no run folders given");
    refuseRepeatedFolders(folders);
    RunComparison comparison;
    for (const fs::path& folder : folders)
        comparison.runFolders.push_back(RunFolder::read(folder));
    comparison.refuseRunsInProgress();
    comparison.refuseDifferences();

    const RunFolder& first = comparison.runFolders.front();
    for (const std::string& fileName : first.fileNames)
    {
        const auto firstTable = first.tables.find(fileName);
        if (firstTable == first.tables.end())
        {
            comparison.uncomparedFiles.push_back(fileName);
            continue;
        }
        std::vector<const RunTable*> tables;
        for (const RunFolder& run : comparison.runFolders)
            tables.push_back(&run.tables.at(fileName));
        comparison.comparedTables.push_back(ComparedTable::of(fileName, tables));
    }
    std::vector<const RunTable*> summaries;
    for (const RunFolder& run : comparison.runFolders)
        summaries.push_back(run.summary ? &*run.summary : nullptr);
    if (std::any_of(summaries.begin(), summaries.end(), [](const RunTable* s) { return s != nullptr; }))
        comparison.comparedTables.push_back(ComparedTable::of(summaryName, summaries));
    return comparison;
}

void RunComparison::refuseRunsInProgress() const
{
    // The runner writes summary.txt last: among runs that have one, a folder without it holds a
    // run cut short, whose measurement files would pass for those of a whole run.
    const auto withSummary = std::find_if(runFolders.begin(), runFolders.end(),
                                          [](const RunFolder& run) { return run.summary.has_value(); });
    if (withSummary == runFolders.end())
        return;
    for (const RunFolder& run : runFolders)
        if (!run.summary)
            throw ComparisonError("Cannot compare: " + name(run) + " has no summary.txt while " + name(*withSummary) +
                                  " has: a run in progress or one that failed, not a whole run");
}

void RunComparison::refuseDifferences() const
{
    const RunFolder& first = runFolders.front();
    for (const RunFolder& run : runFolders)
    {
        for (const std::string& fileName : first.fileNames)
            if (!run.fileNames.contains(fileName))
                throw ComparisonError("Cannot compare runs with other detectors: " + name(first) + " has " + fileName +
                                      ", " + name(run) + " has not");
        for (const std::string& fileName : run.fileNames)
            if (!first.fileNames.contains(fileName))
                throw ComparisonError("Cannot compare runs with other detectors: " + name(run) + " has " + fileName +
                                      ", " + name(first) + " has not");
        for (const auto& [fileName, table] : run.tables)
        {
            const RunTable& reference = first.tables.at(fileName);
            if (table.layout != reference.layout)
                throw ComparisonError("Cannot compare runs with other detectors: the header of " + fileName + " in " +
                                      name(run) + " differs from that in " + name(first) +
                                      " (other lanes, location bins or labels)");
            if (!table.interval.agreesWith(reference.interval))
                throw ComparisonError("Cannot compare runs with other intervals: " + fileName + " holds intervals of " +
                                      reference.interval.describe() + " in " + name(first) + " and of " +
                                      table.interval.describe() + " in " + name(run));
        }
    }
}

const ComparedTable* RunComparison::table(const std::string& fileName) const
{
    for (const ComparedTable& compared : comparedTables)
        if (compared.fileName == fileName)
            return &compared;
    return nullptr;
}
