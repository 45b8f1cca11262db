#include "outputfiles/FileLayouts.h"

#include <cmath>

namespace {
template <std::size_t n>
std::string joined(const std::array<std::string_view, n>& cells)
{
    std::string line;
    for (std::string_view cell : cells)
    {
        if (!line.empty())
            line += ",";
        line += cell;
    }
    return line;
}
}

namespace FileLayouts {

std::string laneLabel(std::size_t lane)
{
    return "Lane " + std::to_string(lane + 1);
}

std::vector<std::string> flowDensityHeader(int laneCount)
{
    std::string groups = " ,";
    for (int lane = 0; lane < laneCount; ++lane)
        groups += laneLabel(static_cast<std::size_t>(lane)) + ", , ,";
    groups += totalsLabel;
    std::string labels(intervalNumberLabel);
    for (int group = 0; group <= laneCount; ++group)
        labels += "," + joined(flowDensityColumns);
    return {groups, labels};
}

std::vector<std::string> headwayHeader(int laneCount)
{
    std::string lanes;
    for (int lane = 0; lane < laneCount; ++lane)
    {
        if (lane > 0)
            lanes += ",";
        lanes += laneLabel(static_cast<std::size_t>(lane));
    }
    return {"Headways (s)", lanes};
}

std::vector<std::string> compositionHeader()
{
    return {joined(compositionColumns)};
}

std::vector<std::string> laneChangeEventsHeader()
{
    return {"LANE CHANGE - VERBOSE OUTPUT OF EVENTS", joined(laneChangeEventColumns), ""};
}

std::vector<std::string> laneChangeCompositionHeader()
{
    return {"LANE CHANGE - COMPOSITION OF EVENTS", joined(laneChangeCompositionColumns)};
}

std::vector<std::string> laneChangeSpaceTimeHeader()
{
    return {"LANE CHANGE - SPACE TIME OF EVENTS", "Left To Right,,Right To Left",
            "Time (s),Location (m),Time (s),Location (m)"};
}

std::vector<std::string> laneChangeRatesHeader(const std::vector<int>& binLocations)
{
    std::string bins = ",";
    for (int location : binLocations)
        bins += std::to_string(location) + ",";
    return {"LANE CHANGE - RATES BY LOCATION AND TIME", "Time (s),Location (m)", bins};
}

std::vector<std::string> loadEffectIntervalsHeader()
{
    return {joined(loadEffectIntervalColumns)};
}

std::vector<std::string> loadEffectSecondsHeader()
{
    return {joined(loadEffectSecondColumns)};
}

std::vector<std::string> loadEffectEventsHeader()
{
    return {joined(loadEffectEventColumns)};
}

bool isCompleteInterval(double duration, double intervalSeconds)
{
    return std::abs(duration - intervalSeconds) <= 1e-6 * intervalSeconds + 0.005;
}

}  // namespace FileLayouts
