#include "measurements/BridgeResults.h"

#include "loadeffects/BridgesFile.h"
#include "measurements/LoadEffectTables.h"
#include "outputfiles/MeasurementFileName.h"

#include <algorithm>
#include <new>

namespace {

// The file's table, or nothing when it is missing or cannot be read: the charts do without.
template <class Table>
std::optional<Table> readIfThere(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return std::nullopt;
    try
    {
        return Table::read(CsvText::load(path, path.filename().string()));
    }
    catch (const BadFile&)
    {
        return std::nullopt;
    }
}

std::string unitOf(BridgeEffect effect)
{
    switch (effect)
    {
    case BridgeEffect::supportShear: return "kN";
    case BridgeEffect::midspanMoment:
    case BridgeEffect::continuousSupportMoment: return "kN m";
    case BridgeEffect::influenceFile: break;
    }
    return {};  // a file's ordinates carry a unit of its own
}

}  // namespace

double BridgeResults::intervalSeconds() const
{
    return intervalSecondsOf(rows);
}

double BridgeResults::runStart() const
{
    return rows.empty() ? 0.0 : rows.front().endTime - rows.front().duration;
}

std::vector<double> BridgeResults::completeMaxima() const
{
    std::vector<double> maxima;
    for (const IntervalRow& row : completeRowsOf(rows))
        maxima.push_back(row.maximum);
    return maxima;
}

std::vector<BridgeResults> BridgeResults::readFolder(const std::filesystem::path& folder)
{
    std::vector<BridgeResults> bridges;
    std::error_code error;
    for (const auto& file : std::filesystem::directory_iterator(folder, error))
    {
        const std::optional<MeasurementFileName> name = MeasurementFileName::parse(file.path().filename().string());
        if (!name || name->kind != MeasurementKind::loadEffectIntervals)
            continue;
        BridgeResults bridge;
        bridge.name = name->bridge;
        bridge.seriesPath = file.path();
        try
        {
            bridge.rows =
                LoadEffectIntervalTable::read(CsvText::load(file.path(), file.path().filename().string())).rows;
        }
        catch (const BadFile& bad)
        {
            bridge.error = bad;
        }
        catch (const std::bad_alloc&)
        {
            bridge.error = BadFile(file.path().filename().string(), 0, "too large to read");
        }
        const std::vector<MeasurementFileName> names = bridgeFiles(bridge.name);
        if (auto events = readIfThere<LoadEffectEventTable>(folder / names[2].text()))
            bridge.events = std::move(events->events);
        if (auto seconds = readIfThere<LoadEffectSecondTable>(folder / names[1].text()))
        {
            bridge.hasSeconds = true;
            bridge.seconds = std::move(seconds->rows);
        }
        bridges.push_back(std::move(bridge));
    }
    std::sort(bridges.begin(), bridges.end(),
              [](const BridgeResults& a, const BridgeResults& b) { return a.name < b.name; });
    return bridges;
}

void BridgeResults::takeUnitsFrom(std::vector<BridgeResults>& bridges, const std::string& bridgesFile)
{
    takeUnitsFrom(bridges, BridgesFile::read(bridgesFile).set);
}

void BridgeResults::takeUnitsFrom(std::vector<BridgeResults>& bridges, const BridgeSet& set)
{
    for (const Bridge& bridge : set.bridges)
        for (BridgeResults& results : bridges)
            if (results.name == bridge.name)
                results.unit = unitOf(bridge.effect);
}
