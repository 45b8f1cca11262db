#include "measurements/MeasurementFolder.h"

#include <algorithm>
#include <new>

MeasurementTable readMeasurementTable(const CsvText& text, MeasurementKind kind)
{
    switch (kind)
    {
    case MeasurementKind::flowDensity: return FlowDensityTable::read(text);
    case MeasurementKind::headway: return HeadwayTable::read(text);
    case MeasurementKind::composition: return CompositionTable::read(text);
    case MeasurementKind::laneChangeEvents: return LaneChangeEventTable::read(text);
    case MeasurementKind::laneChangeComposition: return LaneChangeCompositionTable::read(text);
    case MeasurementKind::laneChangeSpaceTime: return LaneChangeSpaceTimeTable::read(text);
    case MeasurementKind::laneChangeRates: return LaneChangeRateTable::read(text);
    case MeasurementKind::loadEffectIntervals:
    case MeasurementKind::loadEffectSeconds:
    case MeasurementKind::loadEffectEvents: break;  // a bridge's files are read together, as BridgeResults
    }
    return {};
}

MeasurementEntry readMeasurementFile(const std::filesystem::path& path, const MeasurementFileName& name)
{
    MeasurementEntry entry{path, name, {}, {}};
    const std::string shownName = path.filename().string();
    try
    {
        entry.table = readMeasurementTable(CsvText::load(path, shownName), name.kind);
    }
    catch (const BadFile& bad)
    {
        entry.error = bad;
    }
    catch (const std::bad_alloc&)
    {
        entry.error = BadFile(shownName, 0, "too large to read");
    }
    return entry;
}

MeasurementFolder MeasurementFolder::read(const std::filesystem::path& folder)
{
    MeasurementFolder result;
    result.folder = folder;
    std::error_code error;
    std::filesystem::directory_iterator files(folder, error);
    if (error)
    {
        result.error = folder.string() + ": " + error.message();
        return result;
    }
    std::vector<std::pair<MeasurementFileName, std::filesystem::path>> found;
    for (; files != std::filesystem::directory_iterator(); files.increment(error))
    {
        if (error)
        {
            result.error = folder.string() + ": " + error.message();
            break;
        }
        std::optional<MeasurementFileName> name = MeasurementFileName::parse(files->path().filename().string());
        std::error_code typeError;
        if (name && !isLoadEffectKind(name->kind) && files->is_regular_file(typeError))
            found.emplace_back(*name, files->path());
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [name, path] : found)
        result.entries.push_back(readMeasurementFile(path, name));
    return result;
}
