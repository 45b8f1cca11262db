#pragma once
// One file of one run reduced to what is compared across runs: rows (an interval, a lane, a
// figure) of named columns of numbers, NaN where a value is missing.

#include "replications/IntervalEvidence.h"

#include <string>
#include <utility>
#include <vector>

struct RunTable
{
    std::string keyLabel;              // what the rows are: "Interval No.", "Lane", "Figure"
    std::vector<std::string> columns;  // e.g. "Lane 1 Flow (veh/hr)"
    std::vector<std::string> keys;     // one per row: "1", "Lane 2", "Vehicles written"
    std::vector<std::vector<double>> rows;
    std::string layout;  // the header as written: runs whose headers differ had other detectors
    IntervalEvidence interval;

    void addRow(std::string key, std::vector<double> values)
    {
        keys.push_back(std::move(key));
        rows.push_back(std::move(values));
    }
};
