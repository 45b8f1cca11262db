#include "measurements/FlowDensityTable.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr const char* groupLabels[3] = {"Density (veh/km)", "Flow (veh/hr)", "Avg. Vel. (km/h)"};

int countLanes(const MeasurementText& text)
{
    std::vector<std::string_view> cells = text.cells(1);
    int lanes = 0;
    for (std::size_t i = 1; i < cells.size(); ++i)
    {
        if (cells[i].empty())
            continue;
        if (cells[i] == "Totals")
            return lanes;
        if (cells[i] != "Lane " + std::to_string(lanes + 1))
            text.fail(1, "expected the heading \"Lane " + std::to_string(lanes + 1) + "\" or \"Totals\", found \"" +
                             std::string(cells[i]) + "\"");
        ++lanes;
    }
    text.fail(1, "expected the lane headings of a flow-and-density file ending in \"Totals\"");
}

void checkLabels(const MeasurementText& text, int lanes)
{
    std::vector<std::string_view> labels = {"Interval No."};
    for (int group = 0; group <= lanes; ++group)
        labels.insert(labels.end(), std::begin(groupLabels), std::end(groupLabels));
    text.expectLabels(2, labels);
}

LaneFlow readGroup(const MeasurementText& text, std::size_t line, const std::vector<std::string_view>& cells,
                   std::size_t first, const std::string& owner)
{
    LaneFlow values;
    values.density = text.real(line, cells[first], owner + " density");
    values.flow = text.real(line, cells[first + 1], owner + " flow");
    values.speed = text.real(line, cells[first + 2], owner + " speed");
    return values;
}

}  // namespace

FlowDensityTable FlowDensityTable::read(const MeasurementText& text)
{
    FlowDensityTable table;
    if (text.lineCount() < 2)
        text.fail(text.lineCount() + 1, "the file ends before its two header lines");
    table.laneCount = countLanes(text);
    checkLabels(text, table.laneCount);
    std::size_t cellCount = 1 + 3 * (static_cast<std::size_t>(table.laneCount) + 1);
    for (std::size_t line = 3; line <= text.lineCount(); ++line)
    {
        if (text.isBlank(line))
            continue;
        std::vector<std::string_view> cells = text.cells(line);
        if (cells.size() != cellCount)
            text.fail(line, "expected " + std::to_string(cellCount) +
                                " cells (the interval, then density, flow and "
                                "speed for each lane and the totals), found " +
                                std::to_string(cells.size()));
        FlowDensityRow row;
        row.interval = text.integer(line, cells[0], "the interval number");
        for (int lane = 0; lane < table.laneCount; ++lane)
            row.lanes.push_back(readGroup(text, line, cells, 1 + 3 * static_cast<std::size_t>(lane),
                                          "lane " + std::to_string(lane + 1)));
        row.totals = readGroup(text, line, cells, cellCount - 3, "the totals'");
        table.rows.push_back(std::move(row));
    }
    return table;
}

std::optional<double> FlowDensityTable::estimatedIntervalSeconds() const
{
    std::vector<double> flows;
    double smallest = 0.0;
    for (const FlowDensityRow& row : rows)
        for (const LaneFlow& lane : row.lanes)
            if (std::isfinite(lane.flow) && lane.flow > 0.0)
            {
                flows.push_back(lane.flow);
                smallest = smallest == 0.0 ? lane.flow : std::min(smallest, lane.flow);
            }
    if (flows.empty())
        return std::nullopt;
    // The smallest flow is a whole number k of vehicles: try k = 1, 2, ... The files keep six
    // significant digits, so "whole" allows for that rounding.
    constexpr int largestCount = 1000;
    for (int vehicles = 1; vehicles <= largestCount; ++vehicles)
    {
        double seconds = std::round(3600.0 * vehicles / smallest);
        if (seconds < 1.0)
            continue;
        bool wholeCounts = true;
        for (double flow : flows)
        {
            double count = flow * seconds / 3600.0;
            if (std::fabs(count - std::round(count)) > 1e-5 * std::max(1.0, count))
            {
                wholeCounts = false;
                break;
            }
        }
        if (wholeCounts)
            return seconds;
    }
    return std::nullopt;
}
