#pragma once
// The charts of a bridge's load-effect files: its load effect second by second in a chosen hour
// (the interval extremes of that hour when the run wrote no seconds file), its interval maxima
// and minima over the run, the histogram of the interval maxima, and their Gumbel probability
// plot with the maximum-likelihood fit and the return level of a chosen return period.

#include "charts/ResultCharts.h"
#include "loadeffects/GumbelFit.h"
#include "measurements/BridgeResults.h"

#include <vector>

struct LoadEffectOptions
{
    int hour = 1;  // of the run, from 1; beyond the run's last hour, its last
    double returnYears = Gumbel::defaultReturnYears;
    bool figuresInTitles = true;  // the fit's figures in the Gumbel plot's title: not where a table gives them
};

std::vector<ResultChart> loadEffectCharts(const BridgeResults& bridge, const LoadEffectOptions& options);

// "Bridge Deck" and, in the report and the window's tab tip, the file it comes from.
QString bridgeTitle(const BridgeResults& bridge);
// A load effect's axis title with its unit when known: "Interval maximum (kN m)".
QString withUnit(const QString& quantity, const BridgeResults& bridge);
