#include "replications/IntervalTables.h"

#include "outputfiles/FileLayouts.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {
// Rows without an interval number are numbered in the order of the file, from 1.
RunTable counted(const std::string& header)
{
    RunTable table;
    table.keyLabel = FileLayouts::intervalNumberLabel;
    table.layout = header;
    return table;
}

std::string nextKey(const RunTable& table)
{
    return std::to_string(table.rows.size() + 1);
}

std::vector<double> asNumbers(const ClassCounts& counts)
{
    return {counts.begin(), counts.end()};
}

std::string shortest(double value)
{
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}
}

namespace IntervalTables {
RunTable flowDensity(const FlowDensityTable& file, std::optional<double> runSeconds)
{
    RunTable table = counted(file.header);
    for (int lane = 0; lane <= file.laneCount; ++lane)
    {
        const std::string group = lane < file.laneCount ? FileLayouts::laneLabel(static_cast<std::size_t>(lane))
                                                        : std::string(FileLayouts::totalsLabel);
        for (std::string_view column : FileLayouts::flowDensityColumns)
            table.columns.push_back(group + " " + std::string(column));
    }
    std::vector<double> flows;
    for (const FlowDensityRow& row : file.rows)
    {
        std::vector<double> values;
        for (const LaneFlow& lane : row.lanes)
        {
            values.insert(values.end(), {lane.density, lane.flow, lane.speed});
            flows.push_back(lane.flow);
        }
        values.insert(values.end(), {row.totals.density, row.totals.flow, row.totals.speed});
        table.addRow(std::to_string(row.interval), std::move(values));
    }
    table.interval = IntervalEvidence::fromFlows(flows, table.rows.size(), runSeconds);
    return table;
}

RunTable composition(const CompositionTable& file)
{
    RunTable table = counted(file.header);
    table.columns.assign(FileLayouts::compositionColumns.begin(), FileLayouts::compositionColumns.end());
    for (const ClassCounts& row : file.rows)
        table.addRow(nextKey(table), asNumbers(row));
    return table;
}

// The time column's first cell is the end of the first interval: the interval's length.
RunTable laneChangeComposition(const LaneChangeCompositionTable& file)
{
    RunTable table = counted(file.header);
    table.columns.assign(FileLayouts::laneChangeCompositionColumns.begin() + 1,
                         FileLayouts::laneChangeCompositionColumns.end());
    for (const LaneChangeCompositionRow& row : file.rows)
        table.addRow(nextKey(table), asNumbers(row.changes));
    if (!file.rows.empty())
        table.interval = IntervalEvidence::exactly(file.rows.front().elapsed);
    return table;
}

RunTable laneChangeRates(const LaneChangeRateTable& file)
{
    RunTable table = counted(file.header);
    for (double location : file.binLocations)
        table.columns.push_back("Rate at " + shortest(location) + " m (changes/km/h)");
    for (const LaneChangeRateRow& row : file.rows)
        table.addRow(nextKey(table), row.rates);
    if (!file.rows.empty())
        table.interval = IntervalEvidence::exactly(file.rows.front().elapsed);
    return table;
}

RunTable loadEffectIntervals(const LoadEffectIntervalTable& file)
{
    constexpr std::size_t maximum = 2, minimum = 4;
    RunTable table = counted(file.header);
    table.columns = {std::string(FileLayouts::loadEffectIntervalColumns[maximum]),
                     std::string(FileLayouts::loadEffectIntervalColumns[minimum])};
    for (const IntervalRow& row : completeRowsOf(file.rows))
        table.addRow(std::to_string(row.number), {row.maximum, row.minimum});
    // One row alone may be the short last interval: it does not tell the length.
    const double full = intervalSecondsOf(file.rows);
    if (file.rows.size() >= 2 && full > 0.0)
        table.interval = IntervalEvidence::exactly(full);
    return table;
}
}
