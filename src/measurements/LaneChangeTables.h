#pragma once
// The four files of a lane-change detector: every event, the changes per class and interval,
// the events as points in time and space, and the rates per location bin and interval.

#include "measurements/CompositionTable.h"
#include "outputfiles/CsvText.h"

#include <string>
#include <vector>

struct LaneChangeRecord
{
    double time = 0.0;       // s, simulation clock
    long long location = 0;  // road x, m
    long long fromLane = 0;
    long long toLane = 0;
    bool toLeft = false;
    std::string vehicleClass;  // "Car", "SmallTr", "LargeTr", "Crane", "Lowload" or ""
};

struct LaneChangeEventTable
{
    std::vector<LaneChangeRecord> events;
    std::string header;  // the title and labels as written

    static LaneChangeEventTable read(const CsvText& text);
};

struct LaneChangeCompositionRow
{
    double elapsed = 0.0;  // s since the run started, at the end of the interval
    ClassCounts changes{};
};

struct LaneChangeCompositionTable
{
    std::vector<LaneChangeCompositionRow> rows;
    std::string header;  // the two header lines as written

    static LaneChangeCompositionTable read(const CsvText& text);
};

struct SpaceTimePoint
{
    double time = 0.0;      // s, simulation clock
    double location = 0.0;  // road x, m
};

struct LaneChangeSpaceTimeTable
{
    std::vector<SpaceTimePoint> leftToRight;
    std::vector<SpaceTimePoint> rightToLeft;

    static LaneChangeSpaceTimeTable read(const CsvText& text);
};

struct LaneChangeRateRow
{
    double elapsed = 0.0;       // s since the run started, at the end of the interval
    std::vector<double> rates;  // lane changes per km and hour, one per bin
};

// Bin k holds the changes at locations below binLocations[k] and at or above the bin before it;
// bin 0 only changes at negative locations.
struct LaneChangeRateTable
{
    std::vector<double> binLocations;  // road x, m, ascending
    std::vector<LaneChangeRateRow> rows;
    std::string header;  // the three header lines as written, the bins' with them

    static LaneChangeRateTable read(const CsvText& text);

    // The bin width, m (the detector's location step); 0 with fewer than two bins.
    double binWidth() const;
    // The interval length, s, from the rows' elapsed times; 0 without rows.
    double intervalSeconds() const;
    // The number of changes the rates stand for.
    long long changeCount() const;
};
