#include "charts/SpaceTimeCharts.h"

#include "charts/ChartAxes.h"
#include "charts/ColourScale.h"
#include "charts/SpaceTimeItem.h"

#include <QLegend>
#include <QScatterSeries>
#include <QValueAxis>

ResultChart spaceTimeChart(const SpaceTimePicture& picture, const QString& what, int direction)
{
    auto chart = newResultChart(QStringLiteral("Space-time diagram"), what);
    QValueAxis* x = ChartAxes::add(*chart, Qt::AlignBottom, QStringLiteral("Simulation clock (h)"));
    QValueAxis* y =
        ChartAxes::add(*chart, Qt::AlignLeft, QStringLiteral("Distance along direction %1 (m)").arg(direction));
    double start = picture.startTime / 3600.0, end = picture.endTime() / 3600.0;
    double length = picture.length() > 0.0 ? picture.length() : 1.0;
    // The axes need a series: two invisible corner points.
    auto* anchor = new QScatterSeries;
    *anchor << QPointF(start, 0.0) << QPointF(end, length);
    chart->addSeries(anchor);
    anchor->attachAxis(x);
    anchor->attachAxis(y);
    anchor->setColor(Qt::transparent);
    anchor->setBorderColor(Qt::transparent);
    chart->legend()->hide();
    ChartAxes::fitExactly(*x, start, end > start ? end : start + 1.0);
    ChartAxes::fitExactly(*y, 0.0, length);
    x->setGridLineVisible(false);
    y->setGridLineVisible(false);
    new SpaceTimeItem(*chart, *anchor, picture);
    chart->setMargins(QMargins(8, 8, ColourScale::width + 8, 8));
    return {std::move(chart), QStringLiteral("space-time-direction-%1").arg(direction)};
}
