#pragma once
// The figures of block-maxima fits in words, as the console and the page both give them: values
// to six significant digits, standard errors to three, so that the two never disagree.

#include "extremes/LikelihoodRatio.h"
#include "extremes/ReturnLevels.h"
#include "replications/BlockMaximaFits.h"

#include <cstddef>
#include <string>

namespace ExtremesText {

std::string number(double value, int digits = 6);
// What a block maximum is and which blocks count, in two lines: the head of every output.
std::string preamble(BlockLength length, std::size_t runs);
// "65 whole days from 2 runs in 1 series; 0 partial days left out".
std::string blockCounts(const BridgeBlocks& blocks, BlockLength length);
// "1 run without LE_Deck_seconds.csv: maxima placed by their interval rows"; empty when none.
std::string intervalRowsNote(const BridgeBlocks& blocks);
// "Largest daily maximum 4.69 at 1000 s (day 11)"; empty without whole blocks.
std::string largestMaximum(const BridgeBlocks& blocks, BlockLength length);
// "3 days", "1 day".
std::string plural(std::size_t count, const std::string& word);
// "3.86944 (0.0255)": a value and its standard error in brackets.
std::string withError(double value, double error);
// "4.68844 [4.49066, 5.26071]": a level and its delta-method interval; the interval alone.
std::string deltaText(const ReturnLevel& level);
std::string deltaInterval(const ReturnLevel& level);
// The same for a profile interval; a side without a bound says how far its search went: "> 12.5".
std::string profileText(const ProfileInterval& profile);
std::string profileInterval(const ProfileInterval& profile);
// "75 years (27393.8 days)".
std::string periodText(const ReturnPeriod& period, BlockLength length);
// "deviance 0.2428, p-value 0.622".
std::string testFigures(const LikelihoodRatio& test);
// "the Gumbel is not rejected at the 5 % level".
std::string testVerdict(const LikelihoodRatio& test);
// What the verdict means for the levels to use.
std::string testMeaning(const LikelihoodRatio& test);
// Said when the period is far beyond the blocks observed; empty otherwise.
std::string extrapolationWarning(const ReturnPeriod& period, std::size_t blocks, BlockLength length);

}  // namespace ExtremesText
