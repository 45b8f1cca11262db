#pragma once
// How many runs a sweep needs: for a chosen figure of each run, the spread over the runs at hand
// gives the number of runs whose 95 % confidence interval of the mean is within a precision.

#include "replications/RunComparison.h"
#include "replications/SampleStatistics.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// A figure of each run: the mean over a file's rows of one column ("FD_All_Pos_1500.csv:Totals
// Flow (veh/hr)"), or the value of one row of a one-column file ("summary.txt:Vehicles written").
struct FigureChoice
{
    std::string fileName;
    std::string name;

    // "FILE:NAME"; throws ComparisonError when the colon or either part is missing.
    static FigureChoice parse(const std::string& text);
    std::string text() const { return fileName + ":" + name; }
};

struct ReplicationEstimate
{
    FigureChoice figure;
    std::vector<double> runValues;  // one per run, NaN where a run has none
    SampleStatistics statistics;
    double relativePrecision = 0.05;
    std::optional<std::size_t> runsNeeded;  // nothing below two runs or for a mean of 0

    // The current half-width relative to the mean; NaN when unknown.
    double relativeHalfWidth() const;
};

// The default: the mean total flow of every flow-and-density file.
std::vector<FigureChoice> defaultFigures(const RunComparison& comparison);

// Throws ComparisonError when the file or the figure is not in the comparison.
ReplicationEstimate estimateReplications(const RunComparison& comparison, const FigureChoice& figure,
                                         double relativePrecision);
