#include "resultswindow/PointerReadout.h"

#include <QCategoryAxis>
#include <QTextDocumentFragment>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace PointerReadout {

namespace {
// The flag the charts' time axes carry, set when the axis is made.
const char* const timeOfDayProperty = "roadfluxTimeOfDay";
constexpr long long minutesPerDay = 24 * 60;

// "Flow (veh/h)" gives "Flow" and "veh/h"; a title without a unit gives no unit.
void splitTitle(const QString& title, QString& name, QString& unit)
{
    const int open = title.lastIndexOf(QLatin1Char('('));
    const int close = title.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open)
    {
        name = title.trimmed();
        unit.clear();
        return;
    }
    name = title.left(open).trimmed();
    unit = title.mid(open + 1, close - open - 1).trimmed();
}

// Enough decimals to tell apart values a thousandth of the shown range apart.
int decimalsFor(double span)
{
    if (!(span > 0.0) || !std::isfinite(span))
        return 2;
    return std::clamp(3 - static_cast<int>(std::floor(std::log10(span))), 0, 9);
}
}  // namespace

bool isTimeAxis(const QValueAxis& axis, bool* timeOfDay)
{
    const QVariant flag = axis.property(timeOfDayProperty);
    if (!flag.isValid())
        return false;
    if (timeOfDay != nullptr)
        *timeOfDay = flag.toBool();
    return true;
}

QString timeText(double seconds, bool timeOfDay)
{
    if (!std::isfinite(seconds))
        return {};
    // To the nearest minute, as the axis labels are.
    const auto minutes = static_cast<long long>(std::llround(seconds / 60.0));
    if (!timeOfDay)
    {
        const QString sign = minutes < 0 ? QStringLiteral("-") : QString();
        const long long magnitude = std::llabs(minutes);
        return sign + QStringLiteral("%1:%2").arg(magnitude / 60).arg(magnitude % 60, 2, 10, QLatin1Char('0'));
    }
    const long long day = minutes >= 0 ? minutes / minutesPerDay : (minutes - minutesPerDay + 1) / minutesPerDay;
    const long long ofDay = minutes - day * minutesPerDay;
    QString text =
        QStringLiteral("%1:%2").arg(ofDay / 60, 2, 10, QLatin1Char('0')).arg(ofDay % 60, 2, 10, QLatin1Char('0'));
    if (day > 0)
        text = QStringLiteral("day %1 %2").arg(day + 1).arg(text);
    return text;
}

QString of(const QValueAxis& axis, double value)
{
    QString name, unit;
    // Axis titles are rich text.
    splitTitle(QTextDocumentFragment::fromHtml(axis.titleText()).toPlainText(), name, unit);
    bool timeOfDay = false;
    if (isTimeAxis(axis, &timeOfDay))
        return (name.isEmpty() ? QString() : name + QLatin1Char(' ')) + timeText(value, timeOfDay);
    QString text = QString::number(value, 'f', decimalsFor(axis.max() - axis.min()));
    if (!name.isEmpty())
        text = name + QLatin1Char(' ') + text;
    if (!unit.isEmpty())
        text += QLatin1Char(' ') + unit;
    return text;
}

}  // namespace PointerReadout
