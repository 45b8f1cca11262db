#include "replications/ComparisonCsv.h"

#include "config/FigureText.h"
#include "files/AtomicFileWriter.h"
#include "replications/ComparisonError.h"

#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>

namespace fs = std::filesystem;

namespace {
std::string cell(const std::string& text)
{
    if (text.find_first_of(",\"\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// Six significant digits, as the measurement files; a missing value is an empty cell.
std::string number(double value)
{
    if (!std::isfinite(value))
        return "";
    return figureText(value);
}

void writeTable(std::ostream& out, const ComparedTable& table)
{
    out << cell(table.keyLabel);
    for (const std::string& column : table.columns)
        for (const char* statistic : {": runs", ": mean", ": std. dev.", ": 95 % CI low", ": 95 % CI high"})
            out << ',' << cell(column + statistic);
    out << '\n';
    for (std::size_t r = 0; r < table.keys.size(); ++r)
    {
        out << cell(table.keys[r]);
        for (const SampleStatistics& s : table.cells[r])
            out << ',' << s.runs << ',' << number(s.mean) << ',' << number(s.standardDeviation) << ','
                << number(s.low()) << ',' << number(s.high());
        out << '\n';
    }
}

void writeReplications(std::ostream& out, const std::vector<ReplicationEstimate>& replications)
{
    out << "File,Figure,Runs,Mean,Std. Dev.,95 % CI half-width,Half-width (% of mean),Precision (% of mean),Runs "
           "needed\n";
    for (const ReplicationEstimate& e : replications)
        out << cell(e.figure.fileName) << ',' << cell(e.figure.name) << ',' << e.statistics.runs << ','
            << number(e.statistics.mean) << ',' << number(e.statistics.standardDeviation) << ','
            << number(e.statistics.halfWidth) << ',' << number(100.0 * e.relativeHalfWidth()) << ','
            << number(100.0 * e.relativePrecision) << ',' << (e.runsNeeded ? std::to_string(*e.runsNeeded) : "")
            << '\n';
}

template <typename Write>
fs::path writeFile(const fs::path& path, Write write)
{
    AtomicFileWriter writer(path.string());
    if (!writer.isOpen())
        throw ComparisonError(path.string() + ": cannot be written: " + writer.getError());
    write(writer.out());
    if (!writer.commit())
        throw ComparisonError(path.string() + ": cannot be written: " + writer.getError());
    return path;
}

fs::path identity(const fs::path& folder)
{
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(folder, error);
    return error ? fs::absolute(folder, error).lexically_normal() : canonical;
}

void refuseRunFolders(const RunComparison& comparison, const fs::path& folder)
{
    const fs::path target = identity(folder);
    for (const RunFolder& run : comparison.runs())
        if (target == identity(run.folder) || target == identity(run.metricsFolder))
            throw ComparisonError(folder.string() + ": this is the run folder " + run.folder.string() +
                                  "; the comparison's files go to a folder of their own");
}
}

std::vector<fs::path> comparisonCsvPaths(const RunComparison& comparison, const fs::path& folder)
{
    std::vector<fs::path> paths;
    for (const ComparedTable& table : comparison.tables())
        paths.push_back(folder / (table.fileName == RunComparison::summaryName ? "summary.csv" : table.fileName));
    paths.push_back(folder / "replications.csv");
    return paths;
}

void makeComparisonFolder(const RunComparison& comparison, const fs::path& folder)
{
    refuseRunFolders(comparison, folder);
    std::error_code error;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder, error))
        throw ComparisonError(folder.string() + ": the folder cannot be made" + (error ? ": " + error.message() : ""));
}

std::vector<fs::path> writeComparisonCsv(const RunComparison& comparison,
                                         const std::vector<ReplicationEstimate>& replications, const fs::path& folder)
{
    makeComparisonFolder(comparison, folder);
    std::vector<fs::path> written;
    for (const ComparedTable& table : comparison.tables())
    {
        const std::string name = table.fileName == RunComparison::summaryName ? "summary.csv" : table.fileName;
        written.push_back(writeFile(folder / name, [&table](std::ostream& out) { writeTable(out, table); }));
    }
    written.push_back(writeFile(folder / "replications.csv",
                                [&replications](std::ostream& out) { writeReplications(out, replications); }));
    return written;
}
