#include "measurements/DetectorFigures.h"

#include <algorithm>
#include <cmath>

namespace {

DetectorFigures flowDensityFigures(const FlowDensityTable& table, std::optional<double> knownInterval)
{
    DetectorFigures figures;
    figures.intervals = static_cast<long long>(table.rows.size());
    figures.intervalSeconds = knownInterval;
    if (!knownInterval)
    {
        figures.intervalSeconds = table.estimatedIntervalSeconds();
        figures.intervalEstimated = figures.intervalSeconds.has_value();
    }
    if (table.rows.empty())
        return figures;
    double flowSum = 0.0, maxFlow = 0.0, laneFlowSum = 0.0, laneDensitySum = 0.0;
    for (const FlowDensityRow& row : table.rows)
    {
        double rowFlow = 0.0;
        for (const LaneFlow& lane : row.lanes)
        {
            if (!std::isfinite(lane.flow))
                continue;
            rowFlow += lane.flow;
            // Σ flow / Σ density is the harmonic mean of every vehicle's speed: a lane's
            // density is its flow over its space-mean speed.
            if (std::isfinite(lane.density) && lane.flow > 0.0)
            {
                laneFlowSum += lane.flow;
                laneDensitySum += lane.density;
            }
        }
        flowSum += rowFlow;
        maxFlow = std::max(maxFlow, rowFlow);
    }
    figures.meanFlow = flowSum / static_cast<double>(table.rows.size());
    figures.maxFlow = maxFlow;
    if (laneDensitySum > 0.0)
        figures.meanSpeed = laneFlowSum / laneDensitySum;
    if (figures.intervalSeconds)
        figures.vehiclesCounted = std::llround(flowSum * *figures.intervalSeconds / 3600.0);
    else if (flowSum == 0.0)
        figures.vehiclesCounted = 0;
    return figures;
}

DetectorFigures headwayFigures(const HeadwayTable& table)
{
    DetectorFigures figures;
    long long vehicles = 0;
    for (const std::vector<double>& lane : table.lanes)
        vehicles += static_cast<long long>(lane.size());
    figures.vehiclesCounted = vehicles;
    figures.everyPassage = true;
    return figures;
}

long long total(const ClassCounts& counts)
{
    long long sum = 0;
    for (long long count : counts)
        sum += count;
    return sum;
}

DetectorFigures compositionFigures(const CompositionTable& table, std::optional<double> knownInterval)
{
    DetectorFigures figures;
    figures.intervals = static_cast<long long>(table.rows.size());
    figures.intervalSeconds = knownInterval;
    long long vehicles = 0, most = 0;
    for (const ClassCounts& row : table.rows)
    {
        vehicles += total(row);
        most = std::max(most, total(row));
    }
    figures.vehiclesCounted = vehicles;
    if (knownInterval && *knownInterval > 0.0 && !table.rows.empty())
    {
        double flowPerVehicle = 3600.0 / *knownInterval;  // veh/h
        figures.meanFlow = static_cast<double>(vehicles) * flowPerVehicle / static_cast<double>(table.rows.size());
        figures.maxFlow = static_cast<double>(most) * flowPerVehicle;
    }
    return figures;
}

DetectorFigures laneChangeCompositionFigures(const LaneChangeCompositionTable& table)
{
    DetectorFigures figures;
    figures.intervals = static_cast<long long>(table.rows.size());
    long long changes = 0;
    for (const LaneChangeCompositionRow& row : table.rows)
        changes += total(row.changes);
    figures.laneChanges = changes;
    return figures;
}

DetectorFigures laneChangeRateFigures(const LaneChangeRateTable& table)
{
    DetectorFigures figures;
    figures.intervals = static_cast<long long>(table.rows.size());
    if (table.rows.empty() || table.binLocations.size() < 2)
        return figures;
    figures.intervalSeconds = table.intervalSeconds();
    figures.laneChanges = table.changeCount();
    double roadKilometres = table.binLocations.back() / 1000.0;
    double hours = table.rows.back().elapsed / 3600.0;
    if (roadKilometres > 0.0 && hours > 0.0)
        figures.laneChangeRate = static_cast<double>(*figures.laneChanges) / (roadKilometres * hours);
    return figures;
}

}  // namespace

DetectorFigures DetectorFigures::of(const MeasurementTable& table, std::optional<double> knownInterval)
{
    if (const auto* flows = std::get_if<FlowDensityTable>(&table))
        return flowDensityFigures(*flows, knownInterval);
    if (const auto* headways = std::get_if<HeadwayTable>(&table))
        return headwayFigures(*headways);
    if (const auto* composition = std::get_if<CompositionTable>(&table))
        return compositionFigures(*composition, knownInterval);
    if (const auto* events = std::get_if<LaneChangeEventTable>(&table))
    {
        DetectorFigures figures;
        figures.laneChanges = static_cast<long long>(events->events.size());
        return figures;
    }
    if (const auto* changes = std::get_if<LaneChangeCompositionTable>(&table))
        return laneChangeCompositionFigures(*changes);
    if (const auto* points = std::get_if<LaneChangeSpaceTimeTable>(&table))
    {
        DetectorFigures figures;
        figures.laneChanges = static_cast<long long>(points->leftToRight.size() + points->rightToLeft.size());
        return figures;
    }
    if (const auto* rates = std::get_if<LaneChangeRateTable>(&table))
        return laneChangeRateFigures(*rates);
    return {};
}
