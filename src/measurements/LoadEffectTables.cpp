#include "measurements/LoadEffectTables.h"

#include "outputfiles/FileLayouts.h"

#include <algorithm>
#include <array>

namespace {
// Every data line after the header as numbers, one per column, handed to `take`.
template <std::size_t n, class Take>
void forEachRow(const CsvText& text, const std::vector<std::string>& header,
                const std::array<std::string_view, n>& columns, Take take)
{
    if (text.lineCount() == 0)
        text.fail(0, "the file is empty");
    text.expectHeader(1, header);
    std::array<double, n> values{};
    for (std::size_t line = header.size() + 1; line <= text.lineCount(); ++line)
    {
        if (text.isBlank(line))
            continue;
        const std::vector<std::string_view> cells = text.cells(line);
        if (cells.size() != n)
            text.fail(line, "expected " + std::to_string(n) + " cells (" + std::string(columns.front()) + " to " +
                                std::string(columns.back()) + "), found " + std::to_string(cells.size()));
        for (std::size_t c = 0; c < n; ++c)
            values[c] = text.number(line, cells[c], columns[c]);
        take(values);
    }
}
}

LoadEffectIntervalTable LoadEffectIntervalTable::read(const CsvText& text)
{
    LoadEffectIntervalTable table;
    forEachRow(text, FileLayouts::loadEffectIntervalsHeader(), FileLayouts::loadEffectIntervalColumns,
               [&](const auto& v) {
                   table.rows.push_back({static_cast<long long>(v[0]), v[1], v[2], v[3], v[4], v[5],
                                         static_cast<long long>(v[6]), v[7]});
               });
    table.header = text.verbatim(1, 1);
    return table;
}

double intervalSecondsOf(const std::vector<IntervalRow>& rows)
{
    double longest = 0.0;
    for (const IntervalRow& row : rows)
        longest = std::max(longest, row.duration);
    return longest;
}

std::vector<IntervalRow> completeRowsOf(const std::vector<IntervalRow>& rows)
{
    const double interval = intervalSecondsOf(rows);
    std::vector<IntervalRow> complete;
    for (const IntervalRow& row : rows)
        if (FileLayouts::isCompleteInterval(row.duration, interval))
            complete.push_back(row);
    return complete;
}

LoadEffectSecondTable LoadEffectSecondTable::read(const CsvText& text)
{
    LoadEffectSecondTable table;
    forEachRow(text, FileLayouts::loadEffectSecondsHeader(), FileLayouts::loadEffectSecondColumns, [&](const auto& v) {
        table.rows.push_back({static_cast<long long>(v[0]), v[1], v[2], v[3]});
    });
    return table;
}

LoadEffectEventTable LoadEffectEventTable::read(const CsvText& text)
{
    LoadEffectEventTable table;
    double rank = 0.0;
    forEachRow(text, FileLayouts::loadEffectEventsHeader(), FileLayouts::loadEffectEventColumns, [&](const auto& v) {
        // The vehicles of one event share its rank, time and value.
        if (v[0] != rank)
        {
            table.events.push_back({v[2], v[1], {}});
            rank = v[0];
        }
        table.events.back().vehicles.push_back(
            {static_cast<long long>(v[3]), static_cast<short>(v[4]), v[5], static_cast<int>(v[6]), v[7]});
    });
    return table;
}
