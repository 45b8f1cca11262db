#pragma once
// The key figures of one measurement file, for the report's table: vehicles counted, mean and
// maximum interval flow, mean speed, lane changes and their rate. A figure that the file does
// not carry is left empty.

#include "measurements/MeasurementFolder.h"

#include <optional>

struct DetectorFigures
{
    std::optional<long long> vehiclesCounted;
    std::optional<double> meanFlow;   // veh/h, mean of the intervals' total flows
    std::optional<double> maxFlow;    // veh/h
    std::optional<double> meanSpeed;  // km/h, space-mean speed of every vehicle counted
    std::optional<long long> laneChanges;
    std::optional<double> laneChangeRate;   // lane changes per km and hour over the road and the run
    std::optional<double> intervalSeconds;  // s
    bool intervalEstimated = false;         // recovered from the flows, not known from the study
    std::optional<long long> intervals;     // rows written
    bool everyPassage = false;              // counts every vehicle to the run's end, not intervals

    // s from the run's start to the end of the last complete interval, which bounds the counts
    // of interval files: the incomplete last interval is never written.
    std::optional<double> coveredSeconds() const
    {
        if (!intervals || !intervalSeconds)
            return std::nullopt;
        return static_cast<double>(*intervals) * *intervalSeconds;
    }

    // knownInterval: s, from the study's detector definitions when they are at hand.
    static DetectorFigures of(const MeasurementTable& table, std::optional<double> knownInterval = std::nullopt);
};
