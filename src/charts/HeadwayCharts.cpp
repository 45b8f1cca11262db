#include "charts/ChartAxes.h"
#include "charts/ChartPalette.h"
#include "charts/ChartSeries.h"
#include "charts/LaneName.h"
#include "charts/ResultCharts.h"
#include "measurements/HeadwayHistogram.h"

#include <QChart>
#include <QLegend>
#include <QValueAxis>

#include <algorithm>

namespace {

QString histogramTitle(const QString& lane, const HeadwayHistogram& histogram)
{
    QString title = QStringLiteral("Headways, %1: %2 headways").arg(lane).arg(histogram.count);
    if (histogram.count > 0)
        title += QStringLiteral(", mean %1 s").arg(histogram.mean, 0, 'f', 2);
    if (histogram.beyond > 0)
        title += QStringLiteral(", %1 beyond %2 s").arg(histogram.beyond).arg(histogram.upperEnd());
    if (histogram.below > 0)
        title += QStringLiteral(", %1 negative").arg(histogram.below);
    return title;
}

}  // namespace

std::vector<ResultChart> headwayCharts(const HeadwayTable& table, const ChartContext& context)
{
    // The lanes' first headways count from time 0, not from a vehicle ahead.
    std::vector<std::vector<double>> gaps;
    for (std::size_t lane = 0; lane < table.lanes.size(); ++lane)
        gaps.push_back(table.gapsBetweenVehicles(lane));
    // Lanes are compared side by side: one set of bins and one count axis for all of them.
    const std::vector<HeadwayHistogram> histograms = HeadwayHistogram::ofLanes(gaps);
    long long most = 0;
    double upperEnd = 0.0;
    for (const HeadwayHistogram& histogram : histograms)
    {
        upperEnd = std::max(upperEnd, histogram.upperEnd());
        for (long long bin : histogram.bins)
            most = std::max(most, bin);
    }
    std::vector<ResultChart> charts;
    for (std::size_t lane = 0; lane < histograms.size(); ++lane)
    {
        const HeadwayHistogram& histogram = histograms[lane];
        const QString laneName = LaneName::of(context.direction, static_cast<int>(lane) + 1);
        auto chart = newResultChart(histogramTitle(laneName, histogram), context.detectorTitle);
        QValueAxis* x = ChartAxes::add(*chart, Qt::AlignBottom, QStringLiteral("Headway (s)"));
        QValueAxis* y = ChartAxes::add(*chart, Qt::AlignLeft, QStringLiteral("Vehicles"));
        std::vector<double> centres, heights;
        for (std::size_t bin = 0; bin < histogram.bins.size(); ++bin)
        {
            centres.push_back((static_cast<double>(bin) + 0.5) * histogram.binWidth);
            heights.push_back(static_cast<double>(histogram.bins[bin]));
        }
        ChartSeries::addStackedBars(*chart, centres, histogram.binWidth * 0.9, {heights}, {laneName},
                                    {ChartPalette::lane(static_cast<int>(lane))}, x, y);
        chart->legend()->hide();
        ChartAxes::fit(*x, 0.0, upperEnd);
        ChartAxes::fit(*y, 0.0, static_cast<double>(most));
        charts.push_back({std::move(chart), QStringLiteral("headways-lane-%1").arg(lane + 1)});
    }
    return charts;
}
