#include "loadeffects/BridgeSet.h"

#include "loadeffects/BridgeFields.h"
#include "outputfiles/MeasurementFileName.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

namespace {
bool isNameCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '_' || c == '.';
}

// Empty when the name is fit to be part of a file name on every platform.
std::string nameProblem(const std::string& name)
{
    if (name.empty())
        return "a bridge needs a name";
    if (name.size() > BridgeSet::maximumNameLength)
        return "\"" + name + "\" is longer than " + std::to_string(BridgeSet::maximumNameLength) + " characters";
    if (!std::all_of(name.begin(), name.end(), isNameCharacter) || name.front() == '.')
        return "\"" + name + "\" may hold only letters, digits, '-', '_' and '.', and may not start with '.'";
    return {};
}

std::string lowerCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

void checkValues(const Bridge& bridge, std::size_t index, std::vector<BridgeProblem>& problems)
{
    if (const std::string problem = nameProblem(bridge.name); !problem.empty())
        problems.push_back({index, BridgeFields::name, problem});
    if (!(std::isfinite(bridge.start) && bridge.start >= 0.0))
        problems.push_back({index, BridgeFields::start, "the start must be 0 m or more"});
    if (!(std::isfinite(bridge.span) && bridge.span > 0.0))
        problems.push_back({index, BridgeFields::span, "the span must be more than 0 m"});
    if (bridge.effect == BridgeEffect::influenceFile && bridge.influenceFile.empty())
        problems.push_back({index, BridgeFields::effect, "file: needs the name of the influence line's file"});
    if (bridge.influenceFile.find_first_of(",\r\n") != std::string::npos)
        problems.push_back(
            {index, BridgeFields::effect, "the influence line's file name may not hold a comma or a line break"});
    if (!(std::isfinite(bridge.interval) && bridge.interval > 0.0 && bridge.interval <= Bridge::maximumInterval))
        problems.push_back({index, BridgeFields::interval,
                            "the interval must be more than 0 s and at most " +
                                BridgeFields::formatNumber(Bridge::maximumInterval) + " s"});
    for (const auto& [lane, factor] : bridge.laneFactors)
        if (lane < 1 || !(std::isfinite(factor) && factor >= 0.0))
            problems.push_back({index, BridgeFields::laneFactors,
                                "lane " + std::to_string(lane) + ": a factor of 0 or more for a lane from 1"});
        else if (factor > Bridge::maximumLaneFactor)
            problems.push_back({index, BridgeFields::laneFactors,
                                "lane " + std::to_string(lane) + ": a factor of 0 to " +
                                    BridgeFields::formatNumber(Bridge::maximumLaneFactor)});
}

// Two bridges whose output files would be one file (names that differ only in case are one file
// on some file systems; a bridge named "a_events" writes the events file of a bridge named "a").
void checkOutputNames(const std::vector<Bridge>& bridges, std::vector<BridgeProblem>& problems)
{
    std::map<std::string, std::size_t> owners;
    for (std::size_t i = 0; i < bridges.size(); ++i)
    {
        if (!nameProblem(bridges[i].name).empty())
            continue;
        for (const MeasurementFileName& output : bridgeFiles(bridges[i].name))
        {
            const std::string file = output.text();
            const auto [owner, added] = owners.emplace(lowerCase(file), i);
            if (!added && owner->second != i)
            {
                problems.push_back({i, BridgeFields::name,
                                    "\"" + bridges[i].name + "\" clashes with the bridge \"" +
                                        bridges[owner->second].name + "\": both would write " + file});
                break;
            }
        }
    }
}

void checkOnRoad(const Bridge& bridge, std::size_t index, const RoadLayout& road, std::vector<BridgeProblem>& problems)
{
    if (bridge.start + bridge.length() > road.length)
        problems.push_back({index, BridgeFields::span,
                            "the bridge ends at " + BridgeFields::formatNumber(bridge.start + bridge.length()) +
                                " m, beyond the road's end at " + BridgeFields::formatNumber(road.length) + " m"});
    if (bridge.directions != BridgeDirections::both)
    {
        const int direction = static_cast<int>(bridge.directions);
        if ((direction == 1 ? road.lanesDir1 : road.lanesDir2) == 0)
            problems.push_back(
                {index, BridgeFields::directions, "the road has no lane in direction " + std::to_string(direction)});
    }
    for (const auto& [lane, factor] : bridge.laneFactors)
    {
        if (lane > road.totalLanes())
            problems.push_back(
                {index, BridgeFields::laneFactors,
                 "lane " + std::to_string(lane) + ": the road has " + std::to_string(road.totalLanes()) + " lanes"});
        else if (!bridge.carries(road.directionOfLane(lane)))
            problems.push_back({index, BridgeFields::laneFactors,
                                "lane " + std::to_string(lane) + " is in direction " +
                                    std::to_string(road.directionOfLane(lane)) + ", which the bridge does not carry"});
    }
    if (bridge.interval < road.timeStep)
        problems.push_back(
            {index, BridgeFields::interval,
             "the interval is shorter than the time step of " + BridgeFields::formatNumber(road.timeStep) + " s"});
}
}

std::vector<BridgeProblem> BridgeSet::check() const
{
    std::vector<BridgeProblem> problems;
    for (std::size_t i = 0; i < bridges.size(); ++i)
        checkValues(bridges[i], i, problems);
    checkOutputNames(bridges, problems);
    std::stable_sort(problems.begin(), problems.end(),
                     [](const BridgeProblem& a, const BridgeProblem& b) { return a.bridge < b.bridge; });
    return problems;
}

std::vector<BridgeProblem> BridgeSet::checkOn(const RoadLayout& road) const
{
    std::vector<BridgeProblem> problems;
    for (std::size_t i = 0; i < bridges.size(); ++i)
        checkOnRoad(bridges[i], i, road, problems);
    return problems;
}
