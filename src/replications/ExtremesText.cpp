#include "replications/ExtremesText.h"

#include <cstdio>

namespace ExtremesText {

std::string number(double value, int digits)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return text;
}

std::string preamble(BlockLength length, std::size_t runs)
{
    const std::string unit = CalendarBlocks::nameOf(length);
    return "Block maxima: the largest effect in each calendar " + unit + " (" +
           number(CalendarBlocks::secondsOf(length)) + " s) of the simulation clock, from " + plural(runs, "run") +
           ".\nA " + unit + " counts when the runs leave at most " + number(CalendarBlocks::uncoveredAllowance) +
           " s of it uncovered; runs that simulate the same " + unit +
           "s again make another series. Return periods: 365.25 days a year.\n";
}

std::string blockCounts(const BridgeBlocks& blocks, BlockLength length)
{
    const std::string unit = CalendarBlocks::nameOf(length);
    return plural(blocks.whole.size(), "whole " + unit) + " from " + plural(blocks.runs, "run") + " in " +
           plural(blocks.series, "series") + "; " + plural(blocks.partial.size(), "partial " + unit) + " left out";
}

std::string intervalRowsNote(const BridgeBlocks& blocks)
{
    if (blocks.runsFromIntervals == 0)
        return {};
    return plural(blocks.runsFromIntervals, "run") + " without LE_" + blocks.bridge +
           "_seconds.csv: maxima placed by their interval rows";
}

std::string largestMaximum(const BridgeBlocks& blocks, BlockLength length)
{
    if (blocks.whole.empty())
        return {};
    const CalendarBlock* largest = &blocks.whole.front();
    for (const CalendarBlock& block : blocks.whole)
        if (block.maximum > largest->maximum)
            largest = &block;
    return std::string("Largest ") + (length == BlockLength::week ? "weekly" : "daily") + " maximum " +
           number(largest->maximum) + " at " + number(largest->time, 10) + " s (" + CalendarBlocks::nameOf(length) +
           ' ' + std::to_string(largest->number) +
           (blocks.series > 1 ? ", series " + std::to_string(largest->series) : "") + ")";
}

std::string plural(std::size_t count, const std::string& word)
{
    return std::to_string(count) + ' ' + word + (count == 1 ? "" : "s");
}

std::string withError(double value, double error)
{
    return number(value) + " (" + number(error, 3) + ")";
}

std::string deltaText(const ReturnLevel& level)
{
    return number(level.level) + " " + deltaInterval(level);
}

std::string deltaInterval(const ReturnLevel& level)
{
    return "[" + number(level.low) + ", " + number(level.high) + "]";
}

std::string profileText(const ProfileInterval& profile)
{
    return number(profile.level) + " " + profileInterval(profile);
}

std::string profileInterval(const ProfileInterval& profile)
{
    return "[" + (profile.low ? number(*profile.low) : "< " + number(profile.searchedLow)) + ", " +
           (profile.high ? number(*profile.high) : "> " + number(profile.searchedHigh)) + "]";
}

std::string periodText(const ReturnPeriod& period, BlockLength length)
{
    return number(period.years) + " years (" + number(period.blocks) + ' ' + CalendarBlocks::nameOf(length) +
           (period.blocks == 1.0 ? "" : "s") + ")";
}

std::string testFigures(const LikelihoodRatio& test)
{
    return "deviance " + number(test.deviance, 4) + ", p-value " + number(test.pValue, 3);
}

std::string testVerdict(const LikelihoodRatio& test)
{
    return std::string("the Gumbel is ") + (BlockFits::gumbelRejected(test) ? "rejected" : "not rejected") +
           " at the 5 % level";
}

}  // namespace ExtremesText

namespace {

// "1522", "20": a factor beyond ten needs no fraction.
std::string timesText(double factor)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.0f", factor);
    return text;
}

}  // namespace

namespace ExtremesText {

std::string testMeaning(const LikelihoodRatio& test)
{
    if (BlockFits::gumbelRejected(test))
        return "the maxima speak against the Gumbel's tail (shape 0): the GEV's levels and intervals are the ones "
               "to use";
    return "the maxima do not speak against the Gumbel's tail (shape 0); its narrower intervals rest on that shape, "
           "the GEV's allow for another";
}

std::string extrapolationWarning(const ReturnPeriod& period, std::size_t blocks, BlockLength length)
{
    if (!ReturnPeriods::isFarBeyondTheData(period, blocks))
        return {};
    const std::string unit = CalendarBlocks::nameOf(length);
    return "The " + number(period.years) + "-year return period is " + number(period.blocks) + ' ' + unit + "s, " +
           timesText(ReturnPeriods::extrapolation(period, blocks)) + " times the " + plural(blocks, unit) +
           " observed: its levels are an extrapolation far beyond the data, and their intervals assume the fitted "
           "distribution holds out there.";
}

}  // namespace ExtremesText
