#pragma once
// The aggregation interval of each measurement file, known from the study's detector definitions.
// Without them the flow-and-density figures estimate the interval from the flows.

#include "outputfiles/MeasurementFileName.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CStatDetector;

class DetectorIntervals
{
public:
    DetectorIntervals() = default;
    explicit DetectorIntervals(const std::vector<std::unique_ptr<CStatDetector>>& definitions);

    // s; nothing for a file no definition writes.
    std::optional<double> of(const MeasurementFileName& name) const;
    bool empty() const { return intervals.empty(); }

private:
    std::map<std::string, double> intervals;
};
