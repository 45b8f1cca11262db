#include "replications/ReplicationFigures.h"

#include "outputfiles/MeasurementFileName.h"
#include "replications/ComparisonError.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr double missing = std::numeric_limits<double>::quiet_NaN();
const char* const totalFlowColumn = "Totals Flow (veh/hr)";

double columnMean(const RunTable& table, std::size_t column)
{
    double sum = 0.0;
    std::size_t count = 0;
    for (const std::vector<double>& row : table.rows)
        if (column < row.size() && std::isfinite(row[column]))
        {
            sum += row[column];
            ++count;
        }
    return count > 0 ? sum / static_cast<double>(count) : missing;
}

double rowValue(const RunTable& table, const std::string& key)
{
    const auto it = std::find(table.keys.begin(), table.keys.end(), key);
    if (it == table.keys.end())
        return missing;
    return table.rows[static_cast<std::size_t>(it - table.keys.begin())].front();
}

std::string listed(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "\"" : ", \"") + name + "\"";
    return text;
}
}

FigureChoice FigureChoice::parse(const std::string& text)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size())
        throw ComparisonError("\"" + text + "\": a figure is FILE:NAME, e.g. \"FD_All_Pos_1500.csv:" + totalFlowColumn +
                              "\"");
    return {text.substr(0, colon), text.substr(colon + 1)};
}

double ReplicationEstimate::relativeHalfWidth() const
{
    if (statistics.mean == 0.0)
        return missing;
    return statistics.halfWidth / std::abs(statistics.mean);
}

std::vector<FigureChoice> defaultFigures(const RunComparison& comparison)
{
    std::vector<FigureChoice> figures;
    for (const ComparedTable& table : comparison.tables())
        if (measurementKindOf(table.fileName) == MeasurementKind::flowDensity)
            figures.push_back({table.fileName, totalFlowColumn});
    return figures;
}

ReplicationEstimate estimateReplications(const RunComparison& comparison, const FigureChoice& figure,
                                         double relativePrecision)
{
    const ComparedTable* table = comparison.table(figure.fileName);
    if (!table)
        throw ComparisonError(figure.text() + ": the runs have no compared file " + figure.fileName);
    const auto column = std::find(table->columns.begin(), table->columns.end(), figure.name);
    const bool isRow = column == table->columns.end() && table->columns.size() == 1 &&
                       std::find(table->keys.begin(), table->keys.end(), figure.name) != table->keys.end();
    if (column == table->columns.end() && !isRow)
        throw ComparisonError(figure.text() + ": " + figure.fileName + " has no such figure; it has " +
                              listed(table->columns.size() == 1 ? table->keys : table->columns));
    ReplicationEstimate estimate;
    estimate.figure = figure;
    estimate.relativePrecision = relativePrecision;
    for (const RunTable* run : table->runs)
    {
        if (!run)
            estimate.runValues.push_back(missing);
        else if (isRow)
            estimate.runValues.push_back(rowValue(*run, figure.name));
        else
            estimate.runValues.push_back(columnMean(*run, static_cast<std::size_t>(column - table->columns.begin())));
    }
    estimate.statistics = SampleStatistics::of(estimate.runValues);
    estimate.runsNeeded = replicationsNeeded(estimate.statistics, relativePrecision);
    return estimate;
}
