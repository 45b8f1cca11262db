#include "charts/ChartAxes.h"

#include "measurements/RoundStep.h"

#include <QChart>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace ChartAxes {

QValueAxis* add(QChart& chart, Qt::Alignment alignment, const QString& title)
{
    auto* axis = new QValueAxis;
    axis->setTitleText(title.toHtmlEscaped());
    axis->setLabelFormat(QStringLiteral("%g"));
    chart.addAxis(axis, alignment);
    return axis;
}

void fit(QValueAxis& axis, double low, double high)
{
    if (!std::isfinite(low) || !std::isfinite(high) || low > high)
    {
        low = 0.0;
        high = 1.0;
    }
    if (low == high)
    {
        double half = low == 0.0 ? 1.0 : std::fabs(low) * 0.1;
        low -= half;
        high += half;
    }
    axis.setRange(low, high);
    axis.applyNiceNumbers();
}

void fitExactly(QValueAxis& axis, double low, double high, double step)
{
    if (!std::isfinite(low) || !std::isfinite(high) || !(low < high))
    {
        fit(axis, low, high);
        return;
    }
    constexpr double ticksWanted = 8.0;
    double rough = (high - low) / ticksWanted;
    double interval = step > 0.0 ? step * std::ceil(rough / step) : roundStep(rough);
    axis.setRange(low, high);
    axis.setTickType(QValueAxis::TicksDynamic);
    axis.setTickAnchor(0.0);
    axis.setTickInterval(interval);
}

void Extent::include(double value)
{
    if (!std::isfinite(value))
        return;
    low = std::min(low, value);
    high = std::max(high, value);
}

TimeUnit TimeUnit::forSpan(double spanSeconds)
{
    constexpr double sixHours = 6 * 3600.0;
    if (spanSeconds > sixHours)
        return TimeUnit{3600.0, QStringLiteral("h")};
    return TimeUnit{};
}

}  // namespace ChartAxes
