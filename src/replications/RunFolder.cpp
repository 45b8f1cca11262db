#include "replications/RunFolder.h"

#include "outputfiles/MeasurementFileName.h"
#include "replications/ComparisonError.h"
#include "replications/IntervalTables.h"
#include "replications/RunFigureTables.h"
#include "replications/SummaryFigures.h"

namespace fs = std::filesystem;

namespace {
// Messages name the file by its path: the runs' files share their names.
CsvText load(const fs::path& path)
{
    return CsvText::load(path, path.string());
}

RunTable readTable(MeasurementKind kind, const fs::path& path, std::optional<double> runSeconds)
{
    switch (kind)
    {
    case MeasurementKind::flowDensity:
        return IntervalTables::flowDensity(FlowDensityTable::read(load(path)), runSeconds);
    case MeasurementKind::composition: return IntervalTables::composition(CompositionTable::read(load(path)));
    case MeasurementKind::laneChangeComposition:
        return IntervalTables::laneChangeComposition(LaneChangeCompositionTable::read(load(path)));
    case MeasurementKind::laneChangeRates:
        return IntervalTables::laneChangeRates(LaneChangeRateTable::read(load(path)));
    case MeasurementKind::loadEffectIntervals:
        return IntervalTables::loadEffectIntervals(LoadEffectIntervalTable::read(load(path)));
    case MeasurementKind::headway: return RunFigureTables::headways(HeadwayTable::read(load(path)));
    case MeasurementKind::laneChangeEvents:
        return RunFigureTables::laneChangeEvents(LaneChangeEventTable::read(load(path)));
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

bool endsInPartial(fs::path path)
{
    path = path.lexically_normal();
    if (!path.has_filename())
        path = path.parent_path();
    const std::string name = path.filename().string();
    const std::string suffix = ".partial";
    return name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}

// A sweep writes each run into NAME.partial and renames it once the run is complete.
bool RunFolder::isInProgress(const fs::path& folder)
{
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(folder, error);
    return endsInPartial(folder) || (!error && endsInPartial(resolved));
}

RunFolder RunFolder::read(const fs::path& folder)
{
    if (!isFolder(folder))
        throw ComparisonError(folder.string() + ": not a folder");
    if (isInProgress(folder))
        throw ComparisonError(folder.string() +
                              ": a run in progress or one that failed (its folder ends in .partial), not a whole run");
    RunFolder run;
    run.folder = folder;
    run.metricsFolder = isFolder(folder / "metrics") ? folder / "metrics" : folder;
    std::error_code error;
    if (fs::is_regular_file(folder / "summary.txt", error))
    {
        const CsvText summary = load(folder / "summary.txt");
        run.summary = SummaryFigures::read(summary);
        run.seed = SummaryFigures::seedOf(summary);
    }
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
        if (isComparedAcrossRuns(*kind))
            run.tables.emplace(name, readTable(*kind, entry.path(), runSeconds));
    }
    if (!run.summary && run.fileNames.empty())
        throw ComparisonError(folder.string() + ": neither summary.txt nor measurement files: not a run's folder");
    return run;
}
