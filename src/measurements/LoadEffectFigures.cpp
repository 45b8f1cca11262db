#include "measurements/LoadEffectFigures.h"

#include "config/CConfigData.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

constexpr double secondsPerHour = 3600.0;

}  // namespace

MaximaHistogram MaximaHistogram::of(const std::vector<double>& maxima)
{
    MaximaHistogram histogram;
    histogram.count = maxima.size();
    if (maxima.empty())
    {
        histogram.mean = std::numeric_limits<double>::quiet_NaN();
        return histogram;
    }
    histogram.mean = std::accumulate(maxima.begin(), maxima.end(), 0.0) / static_cast<double>(maxima.size());
    const auto [lowest, highest] = std::minmax_element(maxima.begin(), maxima.end());
    histogram.low = *lowest;
    if (*lowest == *highest)
    {
        histogram.binWidth = *lowest == 0.0 ? 1.0 : std::fabs(*lowest) * 0.1;
        histogram.low -= histogram.binWidth / 2.0;
        histogram.bins = {static_cast<long long>(maxima.size())};
        return histogram;
    }
    const auto binCount = static_cast<std::size_t>(std::ceil(std::log2(static_cast<double>(maxima.size())))) + 1;
    histogram.binWidth = (*highest - *lowest) / static_cast<double>(binCount);
    histogram.bins.assign(binCount, 0);
    for (double value : maxima)
    {
        auto bin = static_cast<std::size_t>((value - histogram.low) / histogram.binWidth);
        ++histogram.bins[std::min(bin, binCount - 1)];
    }
    return histogram;
}

GumbelPlot GumbelPlot::of(const std::vector<double>& maxima, double returnPeriodIntervals)
{
    GumbelPlot plot;
    std::vector<double> sorted = maxima;
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t i = 0; i < sorted.size(); ++i)
        plot.points.emplace_back(Gumbel::plottingPosition(i + 1, sorted.size()), sorted[i]);
    plot.returnPeriod = returnPeriodIntervals;
    plot.fit = Gumbel::fit(maxima);
    if (plot.fit && returnPeriodIntervals > 1.0)
    {
        plot.returnLevel = plot.fit->returnLevel(returnPeriodIntervals);
        plot.returnVariate = plot.fit->reducedVariate(plot.returnLevel);
    }
    return plot;
}

namespace LoadEffectFigures {

double secondsPerYear()
{
    return 86400.0 * std::max(1, theConfigData.daysPerMonth) * std::max(1, theConfigData.monthsPerYear);
}

double returnPeriodInIntervals(double years, double intervalSeconds)
{
    if (!(intervalSeconds > 0.0))
        return 0.0;
    return Gumbel::periodInIntervals(years, intervalSeconds, secondsPerYear());
}

std::vector<IntervalRow> rowsOfHour(const std::vector<IntervalRow>& rows, double runStart, int hour)
{
    if (hour <= 0)
        return rows;
    const double from = runStart + (hour - 1) * secondsPerHour;
    const double to = from + secondsPerHour;
    std::vector<IntervalRow> chosen;
    for (const IntervalRow& row : rows)
        if (row.endTime > from && row.endTime - row.duration < to)
            chosen.push_back(row);
    return chosen;
}

int hoursOf(const std::vector<IntervalRow>& rows, double runStart)
{
    if (rows.empty())
        return 0;
    return std::max(1, static_cast<int>(std::ceil((rows.back().endTime - runStart) / secondsPerHour)));
}

std::vector<SecondPoint> secondsOfHour(const std::vector<SecondRow>& seconds, int hour, long long lastSecond)
{
    if (hour < 1)
        return {};
    const long long first = static_cast<long long>(hour - 1) * 3600 + 1;
    const long long last = std::min(first + 3599, lastSecond);
    auto listed = std::lower_bound(seconds.begin(), seconds.end(), first,
                                   [](const SecondRow& row, long long number) { return row.number < number; });
    std::vector<SecondPoint> every;
    for (long long number = first; number <= last; ++number)
    {
        SecondPoint point{static_cast<double>(number), 0.0, 0.0};
        if (listed != seconds.end() && listed->number == number)
        {
            point.maximum = listed->maximum;
            point.minimum = listed->minimum;
            ++listed;
        }
        every.push_back(point);
    }
    auto sameValues = [](const SecondPoint& a, const SecondPoint& b) {
        return a.maximum == b.maximum && a.minimum == b.minimum;
    };
    std::vector<SecondPoint> kept;
    for (std::size_t i = 0; i < every.size(); ++i)
    {
        bool inside =
            i > 0 && i + 1 < every.size() && sameValues(every[i - 1], every[i]) && sameValues(every[i], every[i + 1]);
        if (!inside)
            kept.push_back(every[i]);
    }
    return kept;
}

}  // namespace LoadEffectFigures
