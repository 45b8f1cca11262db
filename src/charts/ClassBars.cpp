#include "charts/ClassBars.h"

#include "charts/ChartAxes.h"
#include "charts/ChartPalette.h"
#include "charts/ChartSeries.h"

#include <QChart>
#include <QValueAxis>

#include <algorithm>

void addClassBars(QChart& chart, const std::vector<ClassCounts>& counts, const ClassBarsAxis& across,
                  const QString& upTitle)
{
    QValueAxis* x =
        across.clock ? ChartAxes::addTime(chart, *across.clock) : ChartAxes::add(chart, Qt::AlignBottom, across.title);
    QValueAxis* y = ChartAxes::add(chart, Qt::AlignLeft, upTitle);
    std::vector<std::vector<double>> heights(vehicleClassCount);
    QStringList names;
    QList<QColor> colours;
    for (std::size_t vehicleClass = 0; vehicleClass < vehicleClassCount; ++vehicleClass)
    {
        names << QString::fromLatin1(vehicleClassName(vehicleClass));
        colours << ChartPalette::vehicleClass(static_cast<int>(vehicleClass));
        for (const ClassCounts& row : counts)
            heights[vehicleClass].push_back(static_cast<double>(row[vehicleClass]));
    }
    constexpr std::size_t barsWithGaps = 120;
    double width = across.spacing * (counts.size() > barsWithGaps ? 1.0 : 0.8);
    ChartSeries::addStackedBars(chart, across.centres, width, heights, names, colours, x, y);
    long long tallest = 0;
    for (const ClassCounts& row : counts)
    {
        long long sum = 0;
        for (long long count : row)
            sum += count;
        tallest = std::max(tallest, sum);
    }
    if (across.centres.empty())
        ChartAxes::fit(*x, 0.0, 1.0);
    else if (across.clock)
        ChartAxes::fitTime(*x, across.centres.front() - across.spacing / 2.0,
                           across.centres.back() + across.spacing / 2.0);
    else
        ChartAxes::fitExactly(*x, across.centres.front() - across.spacing / 2.0,
                              across.centres.back() + across.spacing / 2.0);
    ChartAxes::fit(*y, 0.0, static_cast<double>(tallest));
}
