#include "replications/BlockMaximaFits.h"

#include "extremes/ExtremesError.h"
#include "replications/ExtremesText.h"

#include <iterator>

using ExtremesText::number;

namespace ReturnPeriods {

double blocksPerYear(BlockLength length)
{
    return daysPerYear * 86400.0 / CalendarBlocks::secondsOf(length);
}

std::optional<std::string> refusalOf(double years, BlockLength length)
{
    const double perYear = blocksPerYear(length);
    if (years * perYear > 1.0)
        return std::nullopt;
    return "a return period must be longer than one " + std::string(CalendarBlocks::nameOf(length)) + " (" +
           number(1.0 / perYear) + " years)";
}

std::vector<ReturnPeriod> of(const std::vector<double>& years, const std::vector<double>& blocks, BlockLength length)
{
    const double perYear = blocksPerYear(length);
    std::vector<double> asked = years;
    if (asked.empty() && blocks.empty())
        asked.assign(std::begin(defaultYears), std::end(defaultYears));
    std::vector<ReturnPeriod> periods;
    for (double y : asked)
        periods.push_back({y * perYear, y});
    for (double b : blocks)
        periods.push_back({b, b / perYear});
    return periods;
}

double extrapolation(const ReturnPeriod& period, std::size_t blocks)
{
    return blocks > 0 ? period.blocks / static_cast<double>(blocks) : 0.0;
}

bool isFarBeyondTheData(const ReturnPeriod& period, std::size_t blocks)
{
    return extrapolation(period, blocks) > farBeyondTheData;
}

}  // namespace ReturnPeriods

namespace BlockFits {

BlockMaximaFits of(const BridgeBlocks& blocks, const std::vector<ReturnPeriod>& periods)
{
    BlockMaximaFits fits;
    const std::vector<double> maxima = blocks.maxima();
    try
    {
        fits.gumbel = Extremes::fitGumbel(maxima);
        for (const ReturnPeriod& period : periods)
            fits.gumbelLevels.push_back(Extremes::returnLevel(*fits.gumbel, period.blocks));
    }
    catch (const ExtremesError& refused)
    {
        fits.gumbel.reset();
        fits.gumbelLevels.clear();
        fits.problems.push_back(std::string("no Gumbel fit: ") + refused.what());
        return fits;
    }
    try
    {
        fits.gev = Extremes::fitGev(maxima);
        fits.test = Extremes::gumbelAgainstGev(*fits.gumbel, *fits.gev);
        for (const ReturnPeriod& period : periods)
            fits.gevLevels.push_back(Extremes::returnLevel(*fits.gev, period.blocks));
    }
    catch (const ExtremesError& refused)
    {
        fits.gev.reset();
        fits.test.reset();
        fits.gevLevels.clear();
        fits.notes.push_back(std::string("no GEV fit: ") + refused.what());
        return fits;
    }
    for (const ReturnPeriod& period : periods)
    {
        try
        {
            fits.gevProfiles.push_back(Extremes::profileInterval(maxima, *fits.gev, period.blocks));
        }
        catch (const ExtremesError& refused)
        {
            fits.gevProfiles.push_back(std::nullopt);
            fits.notes.push_back("no profile-likelihood interval of the GEV's " + number(period.years) +
                                 "-year level: " + refused.what());
        }
    }
    return fits;
}

bool gumbelRejected(const LikelihoodRatio& test)
{
    return test.pValue < significance;
}

}  // namespace BlockFits
