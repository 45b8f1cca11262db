#pragma once
// The Gumbel fit of a bridge's complete interval maxima as the report and the charts state it:
// each estimate with its standard error, the return level with its 95 % confidence interval, all
// rounded to the digits their uncertainty leaves, and a warning when the return period lies far
// beyond the span the maxima cover.

#include <cstddef>
#include <string>
#include <vector>

struct GumbelFigures
{
    std::size_t blocks = 0;        // the complete intervals fitted
    double periodIntervals = 0.0;  // the return period counted in intervals
    bool fitted = false;
    std::string noFit;  // why there is no fit, when there is none

    double location = 0.0, locationError = 0.0;  // in the units of the maxima
    double scale = 0.0, scaleError = 0.0;
    double level = 0.0, levelError = 0.0;  // delta method
    double low = 0.0, high = 0.0;          // the level's 95 % confidence interval

    // How many times the observed span the return period is: beyond ten, the fit speaks of what
    // the data never showed, and the interval is a lower bound of the real uncertainty.
    double extrapolation() const { return blocks > 0 ? periodIntervals / static_cast<double>(blocks) : 0.0; }
    bool farBeyondTheData() const { return extrapolation() > 10.0; }

    std::string locationText() const;  // "6,230 ± 350"
    std::string scaleText() const;
    std::string levelText() const;     // "21,700"
    std::string intervalText() const;  // "13,900 to 29,600"
    std::string warning() const;       // empty when the period is within reach of the data

    static GumbelFigures of(const std::vector<double>& maxima, double periodIntervals);
};

// `value` rounded to a tenth of the leading decade of `uncertainty`, with thousands separated by
// commas: roundedText(21749.6, 4000) is "21,700". A value without a finite positive uncertainty
// keeps four significant digits, without trailing zeros.
std::string roundedText(double value, double uncertainty);
