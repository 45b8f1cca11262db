#include "measurements/GumbelFigures.h"

#include "extremes/ExtremeFit.h"
#include "extremes/ExtremesError.h"
#include "extremes/ReturnLevels.h"

#include <cmath>
#include <cstdio>

namespace {

std::string withSeparators(const std::string& digits)
{
    // digits: an optional sign, a whole part, an optional fraction.
    const std::size_t start = !digits.empty() && digits[0] == '-' ? 1 : 0;
    std::size_t point = digits.find('.');
    if (point == std::string::npos)
        point = digits.size();
    std::string text = digits.substr(0, start);
    for (std::size_t at = start; at < point; ++at)
    {
        if (at > start && (point - at) % 3 == 0)
            text += ',';
        text += digits[at];
    }
    return text + digits.substr(point);
}

// "12,000,000" up to a million, then "1.2e+07"-like words: "12 million".
std::string countText(double value)
{
    char text[64];
    if (value >= 1e6)
    {
        std::snprintf(text, sizeof text, "%.2g million", value / 1e6);
        return text;
    }
    std::snprintf(text, sizeof text, "%.0f", value);
    return withSeparators(text);
}

}  // namespace

std::string roundedText(double value, double uncertainty)
{
    if (!std::isfinite(value))
        return "–";
    if (!(std::isfinite(uncertainty) && uncertainty > 0.0))
    {
        // Four significant digits: a step of a thousandth of the value's leading decade.
        if (value == 0.0)
            return "0";
        std::string text = roundedText(value, std::pow(10.0, std::floor(std::log10(std::abs(value))) - 2.0));
        // Zeros after the point would claim a precision nobody stated.
        if (text.find('.') != std::string::npos)
        {
            text.erase(text.find_last_not_of('0') + 1);
            if (text.back() == '.')
                text.pop_back();
        }
        return text;
    }
    char text[64];
    const int exponent = static_cast<int>(std::floor(std::log10(uncertainty))) - 1;
    const double step = std::pow(10.0, exponent);
    const double rounded = std::round(value / step) * step;
    const int decimals = exponent < 0 ? -exponent : 0;
    std::snprintf(text, sizeof text, "%.*f", decimals, rounded == 0.0 ? 0.0 : rounded);
    return withSeparators(text);
}

std::string GumbelFigures::locationText() const
{
    return roundedText(location, locationError) + " ± " + roundedText(locationError, locationError);
}

std::string GumbelFigures::scaleText() const
{
    return roundedText(scale, scaleError) + " ± " + roundedText(scaleError, scaleError);
}

std::string GumbelFigures::levelText() const
{
    return roundedText(level, levelError);
}

std::string GumbelFigures::intervalText() const
{
    return roundedText(low, levelError) + " to " + roundedText(high, levelError);
}

std::string GumbelFigures::warning() const
{
    if (!fitted || !farBeyondTheData())
        return {};
    return "The return period is " + countText(periodIntervals) + " intervals, " + countText(extrapolation()) +
           " times the " + countText(static_cast<double>(blocks)) +
           " observed: the level is an extrapolation far beyond the data, and its interval assumes the Gumbel "
           "model holds out there.";
}

GumbelFigures GumbelFigures::of(const std::vector<double>& maxima, double periodIntervals)
{
    GumbelFigures figures;
    figures.blocks = maxima.size();
    figures.periodIntervals = periodIntervals;
    try
    {
        const ExtremeFit fit = Extremes::fitGumbel(maxima);
        figures.location = fit.parameters.location;
        figures.locationError = fit.standardErrors.location;
        figures.scale = fit.parameters.scale;
        figures.scaleError = fit.standardErrors.scale;
        if (periodIntervals > 1.0)
        {
            const ReturnLevel level = Extremes::returnLevel(fit, periodIntervals);
            figures.level = level.level;
            figures.levelError = level.standardError;
            figures.low = level.low;
            figures.high = level.high;
        }
        figures.fitted = true;
    }
    catch (const ExtremesError& error)
    {
        figures.noFit = error.what();
    }
    return figures;
}
