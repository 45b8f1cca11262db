#include "replications/CompareRuns.h"

#include "files/FileClaims.h"
#include "replications/ComparisonCsv.h"
#include "replications/ComparisonError.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <vector>

namespace fs = std::filesystem;

namespace {
std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", value);
    return text;
}

std::string runsText(std::size_t runs)
{
    return std::to_string(runs) + (runs == 1 ? " run" : " runs");
}

void printReplication(const ReplicationEstimate& e, std::ostream& out)
{
    out << "  " << e.figure.fileName << ", " << e.figure.name << ": ";
    if (e.statistics.runs == 0)
    {
        out << "no run has a value\n";
        return;
    }
    out << "mean " << number(e.statistics.mean) << " over " << runsText(e.statistics.runs);
    if (e.statistics.runs < 2)
    {
        out << "; its spread needs two runs at least\n";
        return;
    }
    out << ", 95 % CI ± " << number(e.statistics.halfWidth);
    if (std::isfinite(e.relativeHalfWidth()))
        out << " (± " << number(100.0 * e.relativeHalfWidth()) << " %)";
    if (e.runsNeeded)
        out << "; " << runsText(*e.runsNeeded) << " needed\n";
    else
        out << "; the runs needed cannot be told (a mean of 0)\n";
}
}

namespace {
void addCsvInputs(FileClaims& files, const fs::path& folder)
{
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        if (entry.path().extension() == ".csv")
            files.addInput(entry.path().string(), "the run's file " + entry.path().string());
}

// Every file of the runs is an input: the comparison's outputs (and the caller's page) may be
// none of them, nor one another; all are locked before the first is written.
void claimFiles(CompareRunsResult& result, const CompareRunsOptions& options)
{
    FileClaims files;
    for (const RunFolder& run : result.comparison.runs())
    {
        files.addInput((run.folder / "summary.txt").string(),
                       "the run's summary " + (run.folder / "summary.txt").string());
        addCsvInputs(files, run.metricsFolder);
    }
    if (!options.csvFolder.empty())
    {
        makeComparisonFolder(result.comparison, options.csvFolder);
        for (const fs::path& path : comparisonCsvPaths(result.comparison, options.csvFolder))
            files.addOutput(path.string(), "the comparison file " + path.string(), FileClaims::Writing::replacedWhole);
    }
    files.add(options.callerFiles);
    result.claim = std::make_shared<FileClaim>();
    if (auto problem = files.claim(*result.claim))
        throw ComparisonError(*problem);
}
}

CompareRunsResult compareRuns(const CompareRunsOptions& options)
{
    if (!(options.relativePrecision > 0.0 && options.relativePrecision < 1.0))
        throw ComparisonError("the precision must lie between 0 and 100 % of the mean");
    CompareRunsResult result{RunComparison::of(options.runFolders), {}, {}, {}};
    std::vector<FigureChoice> figures;
    for (const std::string& text : options.figures)
        figures.push_back(FigureChoice::parse(text));
    if (figures.empty())
        figures = defaultFigures(result.comparison);
    for (const FigureChoice& figure : figures)
        result.replications.push_back(estimateReplications(result.comparison, figure, options.relativePrecision));
    claimFiles(result, options);
    if (!options.csvFolder.empty())
        result.csvFiles = writeComparisonCsv(result.comparison, result.replications, options.csvFolder);
    return result;
}

void printComparison(const CompareRunsResult& result, std::ostream& out)
{
    const RunComparison& comparison = result.comparison;
    out << "Runs compared: " << comparison.runs().size() << '\n';
    for (const RunFolder& run : comparison.runs())
        out << "  " << run.folder.string() << '\n';
    out << "Files compared:\n";
    for (const ComparedTable& table : comparison.tables())
        out << "  " << table.fileName << ": " << table.keys.size() << ' '
            << (table.keyLabel == "Interval No." ? "intervals" : "rows") << " of " << table.columns.size()
            << " columns\n";
    for (const std::string& name : comparison.uncompared())
        out << "  " << name << ": not compared\n";
    if (!result.replications.empty())
    {
        const double percent = 100.0 * result.replications.front().relativePrecision;
        out << "Runs needed for a 95 % confidence interval of the mean within ± " << number(percent) << " %:\n";
        std::vector<const ReplicationEstimate*> fixed;
        for (const ReplicationEstimate& estimate : result.replications)
            if (estimate.sameInEveryRun())
                fixed.push_back(&estimate);
            else
                printReplication(estimate, out);
        if (const ReplicationEstimate* most = mostDemanding(result.replications))
            out << "Most runs needed: " << runsText(*most->runsNeeded) << ", for " << most->figure.fileName << ", "
                << most->figure.name << '\n';
        if (!fixed.empty())
        {
            out << "The same in every run, so set by the input and not by chance (no runs needed):\n";
            for (const ReplicationEstimate* estimate : fixed)
                out << "  " << estimate->figure.fileName << ", " << estimate->figure.name << ": "
                    << number(estimate->statistics.mean) << '\n';
        }
    }
    if (!result.csvFiles.empty())
        out << "CSV files: " << result.csvFiles.size() << " in " << result.csvFiles.front().parent_path().string()
            << '\n';
}
