#include "measurements/FlowDensityTable.h"

#include "outputfiles/FileLayouts.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

int countLanes(const CsvText& text)
{
    std::vector<std::string_view> cells = text.cells(1);
    int lanes = 0;
    for (std::size_t i = 1; i < cells.size(); ++i)
    {
        if (cells[i].empty())
            continue;
        if (cells[i] == FileLayouts::totalsLabel)
            return lanes;
        const std::string lane = FileLayouts::laneLabel(static_cast<std::size_t>(lanes));
        if (cells[i] != lane)
            text.fail(1,
                      "expected the heading \"" + lane + "\" or \"Totals\", found \"" + std::string(cells[i]) + "\"");
        ++lanes;
    }
    text.fail(1, "expected the lane headings of a flow-and-density file ending in \"Totals\"");
}

LaneFlow readGroup(const CsvText& text, std::size_t line, const std::vector<std::string_view>& cells, std::size_t first,
                   const std::string& owner)
{
    LaneFlow values;
    values.density = text.real(line, cells[first], owner + " density");
    values.flow = text.real(line, cells[first + 1], owner + " flow");
    values.speed = text.real(line, cells[first + 2], owner + " speed");
    return values;
}

}  // namespace

FlowDensityTable FlowDensityTable::read(const CsvText& text)
{
    FlowDensityTable table;
    if (text.lineCount() < 2)
        text.fail(text.lineCount() + 1, "the file ends before its two header lines");
    table.laneCount = countLanes(text);
    text.expectHeader(1, FileLayouts::flowDensityHeader(table.laneCount));
    table.header = text.verbatim(1, 2);
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
        if (row.interval < 1)
            text.fail(line, "the interval number counts from 1");
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
