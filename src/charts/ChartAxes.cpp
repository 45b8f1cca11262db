#include "charts/ChartAxes.h"

#include "measurements/RoundStep.h"

#include <QCategoryAxis>
#include <QChart>
#include <QLogValueAxis>
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

QLogValueAxis* addLog(QChart& chart, Qt::Alignment alignment, const QString& title)
{
    auto* axis = new QLogValueAxis;
    axis->setTitleText(title.toHtmlEscaped());
    axis->setBase(10.0);
    axis->setLabelFormat(QStringLiteral("%g"));
    axis->setMinorTickCount(8);
    chart.addAxis(axis, alignment);
    return axis;
}

void fitLog(QLogValueAxis& axis, double low, double high)
{
    if (!(low > 0.0) || !std::isfinite(low) || !std::isfinite(high) || !(high >= low))
    {
        low = 1.0;
        high = 10.0;
    }
    const double from = std::pow(10.0, std::floor(std::log10(low)));
    double to = std::pow(10.0, std::ceil(std::log10(high)));
    if (!(to > from))
        to = from * 10.0;
    axis.setRange(from, to);
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

namespace {
const char* const timeOfDayProperty = "roadfluxTimeOfDay";
constexpr double secondsPerDay = 86400.0;
}

QString Clock::title() const
{
    return timeOfDay ? QStringLiteral("Time of day (hh:mm)") : QStringLiteral("Time since the start of the run (h:mm)");
}

QString dayTitle()
{
    return QStringLiteral("Day and time of day (d2 07:00: day 2, 07:00)");
}

QString roadXTitle(int direction)
{
    return direction == 2 ? QStringLiteral("Road x (m), D2 towards 0") : QStringLiteral("Road x (m), D1 away from 0");
}

QValueAxis* addTime(QChart& chart, const Clock& clock)
{
    auto* axis = new QCategoryAxis;
    axis->setTitleText(clock.title());
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setProperty(timeOfDayProperty, clock.timeOfDay);
    chart.addAxis(axis, Qt::AlignBottom);
    return axis;
}

QString timeLabel(double value, bool timeOfDay, bool withDay)
{
    const auto minutes = static_cast<long long>(std::llround(value / 60.0));
    if (!timeOfDay)
        return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
    const long long ofDay = minutes % (24 * 60);
    QString text =
        QStringLiteral("%1:%2").arg(ofDay / 60, 2, 10, QLatin1Char('0')).arg(ofDay % 60, 2, 10, QLatin1Char('0'));
    if (withDay)
        text = QStringLiteral("d%1 %2").arg(minutes / (24 * 60) + 1).arg(text);
    return text;
}

void fitTime(QValueAxis& axis, double low, double high)
{
    if (!std::isfinite(low) || !std::isfinite(high) || !(low < high))
    {
        low = std::isfinite(low) ? low : 0.0;
        high = low + 60.0;
    }
    axis.setRange(low, high);
    auto* labelled = qobject_cast<QCategoryAxis*>(&axis);
    if (labelled == nullptr)
        return;
    static const double steps[] = {60,   120,   300,   600,   900,   1800,   3600,
                                   7200, 10800, 21600, 43200, 86400, 172800, 604800};
    constexpr double labelsWanted = 8.0;
    double step = steps[std::size(steps) - 1];
    for (double candidate : steps)
        if ((high - low) / candidate <= labelsWanted)
        {
            step = candidate;
            break;
        }
    const bool timeOfDay = axis.property(timeOfDayProperty).toBool();
    const bool withDay = timeOfDay && std::floor(low / secondsPerDay) != std::floor(high / secondsPerDay);
    if (timeOfDay)
        axis.setTitleText(withDay ? dayTitle() : Clock::calendar().title());
    for (const QString& label : labelled->categoriesLabels())
        labelled->remove(label);
    // A category ends where its label stands: the first may stand on the axis's start.
    labelled->setStartValue(low - step * 1e-6);
    for (double at = std::ceil(low / step) * step; at <= high + 1e-9; at += step)
        labelled->append(timeLabel(at, timeOfDay, withDay), at);
    axis.setRange(low, high);
}

}  // namespace ChartAxes
