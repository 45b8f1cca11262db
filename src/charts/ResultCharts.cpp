#include "charts/ResultCharts.h"

#include "measurements/DetectorFigures.h"

#include <QChart>
#include <QLegend>

std::unique_ptr<QChart> newResultChart(const QString& what, const QString& detectorTitle)
{
    auto chart = std::make_unique<QChart>();
    chart->setTitle(
        QStringLiteral("<b>%1</b><br><small>%2</small>").arg(what.toHtmlEscaped(), detectorTitle.toHtmlEscaped()));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    return chart;
}

std::vector<ResultChart> chartsOf(const MeasurementEntry& entry, std::optional<double> knownInterval,
                                  const RunContext& run)
{
    ChartContext context{QString::fromStdString(entry.name.title()), knownInterval, run.start,
                         entry.name.directionPositive ? 1 : 2, run.lanes};
    if (!context.intervalSeconds)
        context.intervalSeconds = DetectorFigures::of(entry.table).intervalSeconds;
    return std::visit(
        [&context](const auto& table) -> std::vector<ResultChart> {
            using Table = std::decay_t<decltype(table)>;
            if constexpr (std::is_same_v<Table, FlowDensityTable>)
                return flowDensityCharts(table, context);
            else if constexpr (std::is_same_v<Table, HeadwayTable>)
                return headwayCharts(table, context);
            else if constexpr (std::is_same_v<Table, CompositionTable>)
                return compositionCharts(table, context);
            else if constexpr (std::is_same_v<Table, LaneChangeEventTable>)
                return laneChangeEventCharts(table, context);
            else if constexpr (std::is_same_v<Table, LaneChangeCompositionTable>)
                return laneChangeCompositionCharts(table, context);
            else if constexpr (std::is_same_v<Table, LaneChangeSpaceTimeTable>)
                return laneChangeSpaceTimeCharts(table, context);
            else if constexpr (std::is_same_v<Table, LaneChangeRateTable>)
                return laneChangeRateCharts(table, context);
            else
                return {};
        },
        entry.table);
}
