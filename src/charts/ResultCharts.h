#pragma once
// The charts of one measurement file: flow, density and speed for a flow-and-density file,
// headway histograms per lane, stacked class bars for composition, and bars, points and a heat
// map for lane changes.

#include "measurements/MeasurementFolder.h"
#include "measurements/RunContext.h"

#include <QChart>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

struct ResultChart
{
    std::unique_ptr<QChart> chart;
    QString name;  // for file names: "flow-density", "headways-lane-1", ...
};

struct ChartContext
{
    QString detectorTitle;                  // shown under each chart's title
    std::optional<double> intervalSeconds;  // s, when known; time axes fall back to interval numbers
    std::optional<double> runStart;         // s on the calendar, when known: time axes show the time of day
    int direction = 1;                      // of the file: 1 or 2
    RoadLanes lanes{};
};

std::vector<ResultChart> chartsOf(const MeasurementEntry& entry, std::optional<double> knownInterval = std::nullopt,
                                  const RunContext& run = {});

std::vector<ResultChart> flowDensityCharts(const FlowDensityTable& table, const ChartContext& context);
std::vector<ResultChart> headwayCharts(const HeadwayTable& table, const ChartContext& context);
std::vector<ResultChart> compositionCharts(const CompositionTable& table, const ChartContext& context);
std::vector<ResultChart> laneChangeEventCharts(const LaneChangeEventTable& table, const ChartContext& context);
std::vector<ResultChart> laneChangeCompositionCharts(const LaneChangeCompositionTable& table,
                                                     const ChartContext& context);
std::vector<ResultChart> laneChangeSpaceTimeCharts(const LaneChangeSpaceTimeTable& table, const ChartContext& context);
std::vector<ResultChart> laneChangeRateCharts(const LaneChangeRateTable& table, const ChartContext& context);

// A chart with the result charts' look: a two-line title (what, then the detector), legend below.
std::unique_ptr<QChart> newResultChart(const QString& what, const QString& detectorTitle);
