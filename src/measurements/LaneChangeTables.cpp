#include "measurements/LaneChangeTables.h"

#include "outputfiles/FileLayouts.h"

#include <cmath>

namespace {

void expectCellCount(const CsvText& text, std::size_t line, std::size_t found, std::size_t expected, const char* what)
{
    if (found != expected)
        text.fail(line,
                  "expected " + std::to_string(expected) + " cells (" + what + "), found " + std::to_string(found));
}

double readElapsed(const CsvText& text, std::size_t line, std::string_view cell)
{
    double elapsed = text.real(line, cell, "the time");
    if (!std::isfinite(elapsed))
        text.fail(line, "the time is missing");
    return elapsed;
}

}  // namespace

LaneChangeEventTable LaneChangeEventTable::read(const CsvText& text)
{
    // The header's third line is empty, as the data's blank lines are.
    std::vector<std::string> header = FileLayouts::laneChangeEventsHeader();
    header.resize(2);
    text.expectHeader(1, header);
    LaneChangeEventTable table;
    table.header = text.verbatim(1, 2);
    for (std::size_t line = 3; line <= text.lineCount(); ++line)
    {
        if (text.isBlank(line))
            continue;
        std::vector<std::string_view> cells = text.cells(line);
        expectCellCount(text, line, cells.size(), 6, "time, position, from lane, to lane, side and class");
        LaneChangeRecord event;
        event.time = readElapsed(text, line, cells[0]);
        event.location = text.integer(line, cells[1], "the position");
        event.fromLane = text.integer(line, cells[2], "the lane before the change");
        event.toLane = text.integer(line, cells[3], "the lane after the change");
        if (cells[4] != "Left" && cells[4] != "Right")
            text.fail(line, "expected \"Left\" or \"Right\", found \"" + std::string(cells[4]) + "\"");
        event.toLeft = cells[4] == "Left";
        event.vehicleClass = std::string(cells[5]);
        table.events.push_back(std::move(event));
    }
    return table;
}

LaneChangeCompositionTable LaneChangeCompositionTable::read(const CsvText& text)
{
    text.expectHeader(1, FileLayouts::laneChangeCompositionHeader());
    LaneChangeCompositionTable table;
    table.header = text.verbatim(1, 2);
    for (std::size_t line = 3; line <= text.lineCount(); ++line)
    {
        if (text.isBlank(line))
            continue;
        std::vector<std::string_view> cells = text.cells(line);
        expectCellCount(text, line, cells.size(), 1 + vehicleClassCount, "the time and one count per class");
        LaneChangeCompositionRow row;
        row.elapsed = readElapsed(text, line, cells[0]);
        row.changes = readClassCounts(text, line, cells, 1);
        table.rows.push_back(row);
    }
    return table;
}

LaneChangeSpaceTimeTable LaneChangeSpaceTimeTable::read(const CsvText& text)
{
    text.expectHeader(1, FileLayouts::laneChangeSpaceTimeHeader());
    LaneChangeSpaceTimeTable table;
    for (std::size_t line = 4; line <= text.lineCount(); ++line)
    {
        if (text.isBlank(line))
            continue;
        std::vector<std::string_view> cells = text.cells(line);
        // Changes to the left stand in the third and fourth columns, after two empty cells.
        bool toLeft = cells.size() == 4 && cells[0].empty() && cells[1].empty();
        if (cells.size() != 2 && !toLeft)
            text.fail(line, "expected a time and a location, in the first two columns or the last two");
        std::size_t first = toLeft ? 2 : 0;
        SpaceTimePoint point{readElapsed(text, line, cells[first]), text.real(line, cells[first + 1], "the location")};
        if (!std::isfinite(point.location))
            text.fail(line, "the location is missing");
        (toLeft ? table.rightToLeft : table.leftToRight).push_back(point);
    }
    return table;
}

LaneChangeRateTable LaneChangeRateTable::read(const CsvText& text)
{
    std::vector<std::string> header = FileLayouts::laneChangeRatesHeader({});
    header.pop_back();  // the bin locations are read below
    text.expectHeader(1, header);
    if (text.lineCount() < 3)
        text.fail(3, "the file ends before the line of bin locations");
    std::vector<std::string_view> binCells = text.cells(3);
    // An empty first cell; every location is followed by a comma, so the last cell is empty too.
    if (binCells.size() < 3 || !binCells.front().empty() || !binCells.back().empty())
        text.fail(3, "expected the bin locations between an empty first and an empty last cell");
    LaneChangeRateTable table;
    table.header = text.verbatim(1, FileLayouts::laneChangeRatesHeaderLines);
    for (std::size_t i = 1; i + 1 < binCells.size(); ++i)
    {
        double location = text.real(3, binCells[i], "a bin location");
        if (!std::isfinite(location) || (!table.binLocations.empty() && location <= table.binLocations.back()))
            text.fail(3, "the bin locations must be ascending numbers");
        table.binLocations.push_back(location);
    }
    for (std::size_t line = 4; line <= text.lineCount(); ++line)
    {
        if (text.isBlank(line))
            continue;
        std::vector<std::string_view> cells = text.cells(line);
        expectCellCount(text, line, cells.size(), 1 + table.binLocations.size(), "the time and one rate per bin");
        LaneChangeRateRow row;
        row.elapsed = readElapsed(text, line, cells[0]);
        for (std::size_t bin = 0; bin < table.binLocations.size(); ++bin)
            row.rates.push_back(text.real(line, cells[1 + bin], "the rate under " + std::string(binCells[1 + bin])));
        table.rows.push_back(std::move(row));
    }
    return table;
}

double LaneChangeRateTable::binWidth() const
{
    return binLocations.size() < 2 ? 0.0 : binLocations[1] - binLocations[0];
}

double LaneChangeRateTable::intervalSeconds() const
{
    return rows.empty() ? 0.0 : rows.back().elapsed / static_cast<double>(rows.size());
}

long long LaneChangeRateTable::changeCount() const
{
    // Every cell is changes / (bin width in km × interval in h).
    double kilometreHours = binWidth() / 1000.0 * intervalSeconds() / 3600.0;
    double changes = 0.0;
    for (const LaneChangeRateRow& row : rows)
        for (double rate : row.rates)
            if (std::isfinite(rate))
                changes += rate * kilometreHours;
    return std::llround(changes);
}
