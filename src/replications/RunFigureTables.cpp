#include "replications/RunFigureTables.h"

#include <cmath>
#include <limits>
#include <string>

namespace {
void requireHeader(const MeasurementLines& file, std::size_t lines)
{
    if (file.count() < lines)
        file.fail(file.count(), "the header is incomplete: " + std::to_string(lines) + " lines expected");
}
}

namespace RunFigureTables {
RunTable headways(const MeasurementLines& file)
{
    requireHeader(file, 2);
    const std::vector<std::string> lanes = file.cells(1);
    std::vector<std::size_t> counts(lanes.size(), 0);
    std::vector<double> sums(lanes.size(), 0.0);
    std::vector<bool> seenFirst(lanes.size(), false);
    for (std::size_t i = 2; i < file.count(); ++i)
    {
        if (file.isBlank(i))
            continue;
        const std::vector<std::string> cells = file.cells(i);
        if (cells.size() > lanes.size())
            file.fail(i, std::to_string(lanes.size()) + " cells at most expected, " + std::to_string(cells.size()) +
                             " found");
        for (std::size_t lane = 0; lane < cells.size(); ++lane)
        {
            const double headway = file.number(i, cells[lane], lanes[lane]);
            if (std::isnan(headway))
                continue;
            if (!seenFirst[lane])
            {
                seenFirst[lane] = true;
                continue;
            }
            ++counts[lane];
            sums[lane] += headway;
        }
    }
    RunTable table;
    table.keyLabel = "Lane";
    table.columns = {"Headways", "Mean headway (s)"};
    table.layout = file.line(0) + '\n' + file.line(1) + '\n';
    for (std::size_t lane = 0; lane < lanes.size(); ++lane)
    {
        const double count = static_cast<double>(counts[lane]);
        table.addRow(lanes[lane],
                     {count, counts[lane] > 0 ? sums[lane] / count : std::numeric_limits<double>::quiet_NaN()});
    }
    return table;
}

RunTable laneChangeEvents(const MeasurementLines& file)
{
    requireHeader(file, 2);
    constexpr std::size_t sideColumn = 4;
    const std::vector<std::string> labels = file.cells(1);
    double left = 0.0;
    double right = 0.0;
    for (std::size_t i = 2; i < file.count(); ++i)
    {
        if (file.isBlank(i))
            continue;
        const std::vector<std::string> cells = file.cells(i);
        if (cells.size() != labels.size() || labels.size() <= sideColumn)
            file.fail(i, std::to_string(labels.size()) + " cells expected, " + std::to_string(cells.size()) + " found");
        if (cells[sideColumn] == "Left")
            ++left;
        else if (cells[sideColumn] == "Right")
            ++right;
        else
            file.fail(i, "\"Left\" or \"Right\" expected, \"" + cells[sideColumn] + "\" found");
    }
    RunTable table;
    table.keyLabel = "Figure";
    table.columns = {"Count"};
    table.layout = file.line(0) + '\n' + file.line(1) + '\n';
    table.addRow("Lane changes", {left + right});
    table.addRow("To the left", {left});
    table.addRow("To the right", {right});
    return table;
}
}
