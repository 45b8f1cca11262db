#include "replications/IntervalTables.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {
const char* const intervalLabel = "Interval No.";

void requireHeader(const MeasurementLines& file, std::size_t lines)
{
    if (file.count() < lines)
        file.fail(file.count(), "the header is incomplete: " + std::to_string(lines) + " lines expected");
}

std::string headerText(const MeasurementLines& file, std::size_t lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines; ++i)
        text += file.line(i) + '\n';
    return text;
}

struct NumberRow
{
    std::size_t line = 0;  // from 0
    std::vector<double> values;
};

// The numbers of every non-blank line from `first` on, each line with exactly labels.size() cells.
std::vector<NumberRow> numberRows(const MeasurementLines& file, std::size_t first,
                                  const std::vector<std::string>& labels)
{
    std::vector<NumberRow> rows;
    for (std::size_t i = first; i < file.count(); ++i)
    {
        if (file.isBlank(i))
            continue;
        const std::vector<std::string> cells = file.cells(i);
        if (cells.size() != labels.size())
            file.fail(i, std::to_string(labels.size()) + " cells expected, " + std::to_string(cells.size()) + " found");
        std::vector<double> values;
        for (std::size_t c = 0; c < cells.size(); ++c)
            values.push_back(file.number(i, cells[c], labels[c]));
        rows.push_back({i, std::move(values)});
    }
    return rows;
}

// Rows without an interval number are numbered in the order of the file, from 1. With a time
// column first, its first cell is the end of the first interval: the interval's length.
RunTable countedIntervals(const MeasurementLines& file, std::size_t headerLines, const std::vector<std::string>& labels,
                          bool timeColumnFirst)
{
    const std::ptrdiff_t skipped = timeColumnFirst ? 1 : 0;
    RunTable table;
    table.keyLabel = intervalLabel;
    table.columns.assign(labels.begin() + skipped, labels.end());
    table.layout = headerText(file, headerLines);
    const std::vector<NumberRow> rows = numberRows(file, headerLines, labels);
    for (const NumberRow& row : rows)
        table.addRow(std::to_string(table.rows.size() + 1),
                     std::vector<double>(row.values.begin() + skipped, row.values.end()));
    if (timeColumnFirst && !rows.empty() && std::isfinite(rows.front().values.front()))
        table.interval = IntervalEvidence::exactly(rows.front().values.front());
    return table;
}

std::vector<std::string> nonEmpty(std::vector<std::string> cells)
{
    std::erase_if(cells, [](const std::string& cell) { return cell.empty(); });
    return cells;
}
}

namespace IntervalTables {
RunTable flowDensity(const MeasurementLines& file, std::optional<double> runSeconds)
{
    requireHeader(file, 2);
    const std::vector<std::string> groups = file.cells(0);
    const std::vector<std::string> labels = file.cells(1);
    if (labels.size() < 2 || labels.front() != intervalLabel)
        file.fail(1, std::string("\"") + intervalLabel + "\" and the columns' labels expected");
    RunTable table;
    table.keyLabel = intervalLabel;
    table.layout = headerText(file, 2);
    // A lane's name stands over the first of its three columns.
    std::string group;
    std::vector<std::size_t> laneFlowColumns;
    for (std::size_t c = 1; c < labels.size(); ++c)
    {
        if (c < groups.size() && !groups[c].empty())
            group = groups[c];
        table.columns.push_back(group.empty() ? labels[c] : group + " " + labels[c]);
        if (labels[c] == "Flow (veh/hr)" && group != "Totals")
            laneFlowColumns.push_back(c - 1);
    }
    std::vector<double> flows;
    for (NumberRow& row : numberRows(file, 2, labels))
    {
        const double number = row.values.front();
        if (!std::isfinite(number) || number != std::floor(number) || number < 1.0)
            file.fail(row.line, std::string(intervalLabel) + ": a whole number from 1 expected");
        row.values.erase(row.values.begin());
        for (std::size_t c : laneFlowColumns)
            flows.push_back(row.values[c]);
        table.addRow(std::to_string(static_cast<long long>(number)), std::move(row.values));
    }
    table.interval = IntervalEvidence::fromFlows(flows, table.rows.size(), runSeconds);
    return table;
}

RunTable composition(const MeasurementLines& file)
{
    requireHeader(file, 1);
    return countedIntervals(file, 1, file.cells(0), false);
}

RunTable laneChangeComposition(const MeasurementLines& file)
{
    requireHeader(file, 2);
    return countedIntervals(file, 2, file.cells(1), true);
}

RunTable laneChangeRates(const MeasurementLines& file)
{
    requireHeader(file, 3);
    std::vector<std::string> labels{"Time (s)"};
    for (const std::string& location : nonEmpty(file.cells(2)))
        labels.push_back("Rate at " + location + " m (changes/km/h)");
    return countedIntervals(file, 3, labels, true);
}

RunTable loadEffectIntervals(const MeasurementLines& file)
{
    requireHeader(file, 1);
    const std::vector<std::string> labels = file.cells(0);
    constexpr std::size_t number = 0, maximum = 2, minimum = 4, duration = 7;
    if (labels.size() != 8)
        file.fail(0, "8 column labels expected, " + std::to_string(labels.size()) + " found");
    RunTable table;
    table.keyLabel = intervalLabel;
    table.columns = {labels[maximum], labels[minimum]};
    table.layout = headerText(file, 1);
    const std::vector<NumberRow> rows = numberRows(file, 1, labels);
    double full = 0.0;
    for (const NumberRow& row : rows)
        if (std::isfinite(row.values[duration]))
            full = std::max(full, row.values[duration]);
    for (const NumberRow& row : rows)
    {
        const std::vector<double>& v = row.values;
        if (!std::isfinite(v[number]))
            file.fail(row.line, labels[number] + ": a number expected");
        if (std::abs(v[duration] - full) <= 1e-6 * full + 0.005)
            table.addRow(std::to_string(std::llround(v[number])), {v[maximum], v[minimum]});
    }
    // One row alone may be the short last interval: it does not tell the length.
    if (rows.size() >= 2 && full > 0.0)
        table.interval = IntervalEvidence::exactly(full);
    return table;
}
}
