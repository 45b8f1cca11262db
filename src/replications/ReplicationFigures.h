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
// Flow (veh/hr)"), the value of one row of a one-column file ("summary.txt:Vehicles written"), or
// one row's value of one column, the row's key first ("Head_All_Neg_1500.csv:Lane 1 Mean headway (s)").
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
    // The same value in every run (two at least): the input, not chance, sets it, and more runs
    // tell nothing more about it.
    bool sameInEveryRun() const { return statistics.runs >= 2 && statistics.standardDeviation == 0.0; }
};

// The default: every key figure of the compared files, file by file: the flows, densities and
// speeds of each flow-and-density file (lanes and totals), each lane's mean headway, the lane
// changes, and the mean interval maximum of each bridge.
std::vector<FigureChoice> defaultFigures(const RunComparison& comparison);

// The estimate that asks for the most runs, when any figure varies from run to run.
const ReplicationEstimate* mostDemanding(const std::vector<ReplicationEstimate>& estimates);

// Throws ComparisonError when the file or the figure is not in the comparison.
ReplicationEstimate estimateReplications(const RunComparison& comparison, const FigureChoice& figure,
                                         double relativePrecision);
