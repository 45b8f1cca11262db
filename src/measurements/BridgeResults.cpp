#include "measurements/BridgeResults.h"

#include "loadeffects/BridgesFile.h"
#include "loadeffects/LoadEffectFileNames.h"
#include "loadeffects/LoadEffectOutputs.h"

#include <algorithm>

namespace {

const std::string seriesPrefix = "LE_";
const std::string csvSuffix = ".csv";
const std::string eventsSuffix = "_events.csv";
const std::string secondsSuffix = "_seconds.csv";

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The bridge's name of a series file's name, or "" for any other file.
std::string bridgeNameOf(const std::string& fileName)
{
    if (fileName.rfind(seriesPrefix, 0) != 0 || !endsWith(fileName, csvSuffix) || endsWith(fileName, eventsSuffix) ||
        endsWith(fileName, secondsSuffix))
        return {};
    return fileName.substr(seriesPrefix.size(), fileName.size() - seriesPrefix.size() - csvSuffix.size());
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
    double longest = 0.0;
    for (const IntervalRow& row : rows)
        longest = std::max(longest, row.duration);
    return longest;
}

double BridgeResults::runStart() const
{
    return rows.empty() ? 0.0 : rows.front().endTime - rows.front().duration;
}

std::vector<double> BridgeResults::completeMaxima() const
{
    return LoadEffectOutputs::completeMaxima(rows, intervalSeconds());
}

std::vector<BridgeResults> BridgeResults::readFolder(const std::filesystem::path& folder)
{
    std::vector<BridgeResults> bridges;
    std::error_code error;
    for (const auto& file : std::filesystem::directory_iterator(folder, error))
    {
        std::string name = bridgeNameOf(file.path().filename().string());
        if (name.empty() || name.find_first_of("/\\") != std::string::npos)
            continue;
        BridgeResults bridge;
        bridge.name = name;
        bridge.seriesPath = file.path();
        IntervalRowsResult series = LoadEffectOutputs::readIntervals(file.path().string());
        bridge.rows = std::move(series.rows);
        bridge.problem = std::move(series.problem);
        std::filesystem::path eventsPath = folder / LoadEffectFileNames::events(name);
        if (std::filesystem::exists(eventsPath, error))
        {
            LoadEventsResult events = LoadEffectOutputs::readEvents(eventsPath.string());
            if (events.problem.empty())
                bridge.events = std::move(events.events);
        }
        std::filesystem::path secondsPath = folder / LoadEffectFileNames::seconds(name);
        if (std::filesystem::exists(secondsPath, error))
        {
            SecondRowsResult seconds = LoadEffectOutputs::readSeconds(secondsPath.string());
            bridge.hasSeconds = seconds.problem.empty();
            if (bridge.hasSeconds)
                bridge.seconds = std::move(seconds.rows);
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
