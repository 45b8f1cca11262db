#include "charts/ChartAxes.h"
#include "charts/ClassBars.h"
#include "charts/ResultCharts.h"

#include <QChart>

std::vector<ResultChart> compositionCharts(const CompositionTable& table, const ChartContext& context)
{
    auto chart = newResultChart(QStringLiteral("Vehicles per interval by class"), context.detectorTitle);
    ClassBarsAxis across;
    std::size_t intervals = table.rows.size();
    if (context.intervalSeconds)
    {
        // Each bar spans most of its interval, which ends at its row's time.
        double seconds = *context.intervalSeconds;
        across.clock = ChartAxes::Clock::since(context.runStart);
        for (std::size_t k = 1; k <= intervals; ++k)
            across.centres.push_back(across.clock->at((static_cast<double>(k) - 0.5) * seconds));
        across.spacing = seconds;
    }
    else
    {
        for (std::size_t k = 1; k <= intervals; ++k)
            across.centres.push_back(static_cast<double>(k));
        across.title = QStringLiteral("Interval No.");
    }
    addClassBars(*chart, table.rows, across, QStringLiteral("Vehicles"));
    std::vector<ResultChart> charts;
    charts.push_back({std::move(chart), QStringLiteral("composition")});
    return charts;
}
