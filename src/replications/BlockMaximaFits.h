#pragma once
// A bridge's block maxima fitted once for every program that shows them: the Gumbel and the GEV
// by maximum likelihood, their return levels for the periods asked (delta method; profile
// likelihood for the GEV) and the likelihood-ratio test, with what could not be computed said in
// words. `roadflux-cli extremes` prints these figures and `roadflux-report --extremes` draws them.

#include "extremes/ExtremeFit.h"
#include "extremes/LikelihoodRatio.h"
#include "extremes/ReturnLevels.h"
#include "replications/CalendarBlocks.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct ReturnPeriod
{
    double blocks = 0.0;
    double years = 0.0;
};

namespace ReturnPeriods {
// A modelled day includes weekends: a year is the calendar's, not the traffic files' working year.
inline constexpr double daysPerYear = 365.25;
inline constexpr double defaultYears[] = {75.0, 1000.0};
inline constexpr double longestYears = 1e6;
inline constexpr double longestBlocks = 1e9;
// Beyond this many times the blocks observed, a return level speaks of what the data never showed.
inline constexpr double farBeyondTheData = 10.0;

double blocksPerYear(BlockLength length);
// Why `years` is no return period for blocks of this length (it must be longer than one block);
// nothing when it is one.
std::optional<std::string> refusalOf(double years, BlockLength length);
// The periods in years, then those in blocks; 75 and 1000 years when neither is given. The years
// must have passed refusalOf.
std::vector<ReturnPeriod> of(const std::vector<double>& years, const std::vector<double>& blocks, BlockLength length);
// How many times the observed blocks the period is, and whether that is far beyond them.
double extrapolation(const ReturnPeriod& period, std::size_t blocks);
bool isFarBeyondTheData(const ReturnPeriod& period, std::size_t blocks);
}

struct BlockMaximaFits
{
    std::optional<ExtremeFit> gumbel;
    std::optional<ExtremeFit> gev;
    std::optional<LikelihoodRatio> test;
    std::vector<ReturnLevel> gumbelLevels;  // one per period, when the Gumbel was fitted
    std::vector<ReturnLevel> gevLevels;     // by the delta method, for its standard error
    std::vector<std::optional<ProfileInterval>> gevProfiles;
    std::vector<std::string> problems;  // why the bridge has no figure at all
    // The GEV's three parameters ask more of a short sample than the Gumbel's two: without them the
    // Gumbel figures still stand, and the user is told.
    std::vector<std::string> notes;
};

namespace BlockFits {
inline constexpr double significance = 0.05;  // of the likelihood-ratio test

BlockMaximaFits of(const BridgeBlocks& blocks, const std::vector<ReturnPeriod>& periods);
bool gumbelRejected(const LikelihoodRatio& test);
}
