#include "replications/RunFolder.h"

#include "replications/ComparisonError.h"
#include "replications/IntervalTables.h"
#include "replications/MeasurementKind.h"
#include "replications/MeasurementLines.h"
#include "replications/RunFigureTables.h"
#include "replications/SummaryFigures.h"

namespace fs = std::filesystem;

namespace {
RunTable readTable(MeasurementKind kind, const MeasurementLines& file, std::optional<double> runSeconds)
{
    switch (kind)
    {
    case MeasurementKind::flowDensity: return IntervalTables::flowDensity(file, runSeconds);
    case MeasurementKind::composition: return IntervalTables::composition(file);
    case MeasurementKind::laneChangeComposition: return IntervalTables::laneChangeComposition(file);
    case MeasurementKind::laneChangeRates: return IntervalTables::laneChangeRates(file);
    case MeasurementKind::loadEffectIntervals: return IntervalTables::loadEffectIntervals(file);
    case MeasurementKind::headways: return RunFigureTables::headways(file);
    case MeasurementKind::laneChangeEvents: return RunFigureTables::laneChangeEvents(file);
    case MeasurementKind::laneChangeSpaceTime:
    case MeasurementKind::loadEffectSeconds:
    case MeasurementKind::loadEffectEvents: break;
    }
    return {};
}

bool isFolder(const fs::path& path)
{
    std::error_code error;
    return fs::is_directory(path, error);
}
}

RunFolder RunFolder::read(const fs::path& folder)
{
    if (!isFolder(folder))
        throw ComparisonError(folder.string() + ": not a folder");
    RunFolder run;
    run.folder = folder;
    run.metricsFolder = isFolder(folder / "metrics") ? folder / "metrics" : folder;
    std::error_code error;
    if (fs::is_regular_file(folder / "summary.txt", error))
        run.summary = SummaryFigures::read(MeasurementLines::load(folder / "summary.txt"));
    const std::optional<double> runSeconds = run.summary ? SummaryFigures::runSeconds(*run.summary) : std::nullopt;

    fs::directory_iterator entries(run.metricsFolder, error);
    if (error)
        throw ComparisonError(run.metricsFolder.string() + ": the folder cannot be listed: " + error.message());
    for (const fs::directory_entry& entry : entries)
    {
        const std::string name = entry.path().filename().string();
        const std::optional<MeasurementKind> kind = measurementKindOf(name);
        if (!kind || !entry.is_regular_file(error))
            continue;
        run.fileNames.insert(name);
        if (isCompared(*kind))
            run.tables.emplace(name, readTable(*kind, MeasurementLines::load(entry.path()), runSeconds));
    }
    if (!run.summary && run.fileNames.empty())
        throw ComparisonError(folder.string() + ": neither summary.txt nor measurement files: not a run's folder");
    return run;
}
