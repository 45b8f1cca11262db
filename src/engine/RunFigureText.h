#pragma once
// The release-delay and minimum-gap figures of a run as the summaries show them, the same words
// in the runner's summary, the trajectories' side file and the desktop program's message.

#include "engine/RunStatistics.h"

#include <string>

// "mean 0.70, 95th percentile 1.40, maximum 1.40; 0 vehicles waited more than 10 s"
std::string releaseDelayText(const ReleaseDelayFigures& figures);
// "23.50; 0 vehicle-steps with a gap of 0 m or less"
std::string minimumGapText(const GapFigures& figures);

// "Label:" padded to the summaries' value column, the text, and a line end.
std::string summaryLine(const std::string& label, const std::string& text);

inline constexpr const char* releaseDelayLabel = "Release delay (s):";
inline constexpr const char* minimumGapLabel = "Minimum gap (m):";
