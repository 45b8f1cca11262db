#include "replications/ReplicationFigures.h"

#include "outputfiles/FileLayouts.h"
#include "outputfiles/MeasurementFileName.h"
#include "replications/ComparisonError.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {
constexpr double missing = std::numeric_limits<double>::quiet_NaN();
const char* const totalFlowColumn = "Totals Flow (veh/hr)";
const char* const meanHeadwayColumn = "Mean headway (s)";

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

double rowValue(const RunTable& table, const std::string& key, std::size_t column = 0)
{
    const auto it = std::find(table.keys.begin(), table.keys.end(), key);
    if (it == table.keys.end())
        return missing;
    const std::vector<double>& row = table.rows[static_cast<std::size_t>(it - table.keys.begin())];
    return column < row.size() ? row[column] : missing;
}

// One row's cell of a file whose rows are lanes or figures, named "KEY COLUMN".
struct RowCell
{
    std::string key;
    std::size_t column = 0;
};

bool keyedByInterval(const ComparedTable& table)
{
    return table.keyLabel == FileLayouts::intervalNumberLabel;
}

std::optional<RowCell> rowCellOf(const ComparedTable& table, const std::string& name)
{
    if (keyedByInterval(table))
        return std::nullopt;
    for (const std::string& key : table.keys)
        for (std::size_t column = 0; column < table.columns.size(); ++column)
            if (name == key + " " + table.columns[column])
                return RowCell{key, column};
    return std::nullopt;
}

// The figures a file offers, for a message.
std::vector<std::string> namesOf(const ComparedTable& table)
{
    if (table.columns.size() == 1)
        return table.keys;
    std::vector<std::string> names = table.columns;
    if (!keyedByInterval(table))
        for (const std::string& key : table.keys)
            for (const std::string& column : table.columns)
                names.push_back(key + " " + column);
    return names;
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
    {
        const std::optional<MeasurementKind> kind = measurementKindOf(table.fileName);
        if (!kind)
            continue;
        switch (*kind)
        {
        case MeasurementKind::flowDensity:
            for (const std::string& column : table.columns)
                figures.push_back({table.fileName, column});
            break;
        case MeasurementKind::headway:
            for (const std::string& lane : table.keys)
                figures.push_back({table.fileName, lane + " " + meanHeadwayColumn});
            break;
        case MeasurementKind::laneChangeEvents: figures.push_back({table.fileName, "Lane changes"}); break;
        case MeasurementKind::loadEffectIntervals: figures.push_back({table.fileName, "maximum"}); break;
        default: break;
        }
    }
    return figures;
}

const ReplicationEstimate* mostDemanding(const std::vector<ReplicationEstimate>& estimates)
{
    const ReplicationEstimate* most = nullptr;
    for (const ReplicationEstimate& estimate : estimates)
        if (estimate.runsNeeded && (!most || *estimate.runsNeeded > *most->runsNeeded))
            most = &estimate;
    return most;
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
    const std::optional<RowCell> rowCell =
        column == table->columns.end() && !isRow ? rowCellOf(*table, figure.name) : std::nullopt;
    if (column == table->columns.end() && !isRow && !rowCell)
        throw ComparisonError(figure.text() + ": " + figure.fileName + " has no such figure; it has " +
                              listed(namesOf(*table)));
    ReplicationEstimate estimate;
    estimate.figure = figure;
    estimate.relativePrecision = relativePrecision;
    for (const RunTable* run : table->runs)
    {
        if (!run)
            estimate.runValues.push_back(missing);
        else if (isRow)
            estimate.runValues.push_back(rowValue(*run, figure.name));
        else if (rowCell)
            estimate.runValues.push_back(rowValue(*run, rowCell->key, rowCell->column));
        else
            estimate.runValues.push_back(columnMean(*run, static_cast<std::size_t>(column - table->columns.begin())));
    }
    estimate.statistics = SampleStatistics::of(estimate.runValues);
    // A figure the input fixes needs no more runs: "2" would read as a finding about its spread.
    if (!estimate.sameInEveryRun())
        estimate.runsNeeded = replicationsNeeded(estimate.statistics, relativePrecision);
    return estimate;
}
