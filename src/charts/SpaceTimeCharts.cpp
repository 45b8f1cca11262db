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
    QValueAxis* x = ChartAxes::addTime(*chart, ChartAxes::Clock::calendar());
    QValueAxis* y = ChartAxes::add(*chart, Qt::AlignLeft, ChartAxes::roadXTitle(direction));
    double start = picture.startTime, end = picture.endTime();
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
    ChartAxes::fitTime(*x, start, end > start ? end : start + 60.0);
    ChartAxes::fitExactly(*y, 0.0, length);
    x->setGridLineVisible(false);
    y->setGridLineVisible(false);
    new SpaceTimeItem(*chart, *anchor, picture, direction);
    chart->setMargins(QMargins(8, 8, ColourScale::width + 8, 8));
    return {std::move(chart), QStringLiteral("space-time-direction-%1").arg(direction)};
}
