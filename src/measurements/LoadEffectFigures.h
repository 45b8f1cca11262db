#pragma once
// What the load-effect charts show of a bridge's interval maxima: their histogram, their Gumbel
// probability plot with the maximum-likelihood fit and a return level, and the rows of a chosen
// hour of the run.

#include "loadeffects/GumbelFit.h"
#include "loadeffects/IntervalRow.h"
#include "loadeffects/SecondEnvelope.h"

#include <limits>
#include <optional>
#include <utility>
#include <vector>

struct MaximaHistogram
{
    double low = 0.0;       // the smallest maximum: bin k is [low + k × width, low + (k + 1) × width)
    double binWidth = 1.0;  // the largest maximum falls into the last bin
    std::vector<long long> bins;
    std::size_t count = 0;
    double mean = 0.0;  // not-a-number without maxima

    // Sturges' number of bins, over the range of the maxima; one bin when they are all equal.
    static MaximaHistogram of(const std::vector<double>& maxima);
};

struct GumbelPlot
{
    // (reduced variate of the Gringorten plotting position, maximum), smallest maximum first.
    std::vector<std::pair<double, double>> points;
    std::optional<GumbelFit> fit;  // none with fewer than two different maxima
    double returnPeriod = 0.0;     // in intervals
    double returnLevel = 0.0;      // of the fit, for returnPeriod; set only with a fit
    double returnVariate = 0.0;    // the reduced variate of that level: −ln(−ln(1 − 1/period))

    static GumbelPlot of(const std::vector<double>& maxima, double returnPeriodIntervals);
};

namespace LoadEffectFigures {

// s in a year of the traffic files' calendar (the configuration's months and days).
double secondsPerYear();

// The period in intervals of `years` for intervals of `intervalSeconds`.
double returnPeriodInIntervals(double years, double intervalSeconds);

// The rows whose interval overlaps hour `hour` (from 1) of the run that began at `runStart` (s),
// or every row for hour 0.
std::vector<IntervalRow> rowsOfHour(const std::vector<IntervalRow>& rows, double runStart, int hour);

// The hours the run lasted, counted as rowsOfHour counts them.
int hoursOf(const std::vector<IntervalRow>& rows, double runStart);

// One second of the load effect: the largest and smallest value of its steps.
struct SecondPoint
{
    double time = 0.0;  // s since the run's start, at the second's end
    double maximum = 0.0;
    double minimum = 0.0;

    bool operator==(const SecondPoint&) const = default;
};

// Every second of hour `hour` (from 1) of the run up to second `lastSecond`, the loaded ones as
// listed and the others 0. Of a run of equal seconds only the first and the last are kept: the
// lines through them are the same, with far fewer points.
std::vector<SecondPoint> secondsOfHour(const std::vector<SecondRow>& seconds, int hour,
                                       long long lastSecond = std::numeric_limits<long long>::max());

}  // namespace LoadEffectFigures
