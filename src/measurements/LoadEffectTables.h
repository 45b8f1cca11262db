#pragma once
// The three files of a bridge read back: LE_<name>.csv, a row per interval; _seconds.csv, a row
// per loaded second; _events.csv, the vehicles of the largest events, a line each.

#include "loadeffects/IntervalRow.h"
#include "loadeffects/LargestEvents.h"
#include "loadeffects/SecondEnvelope.h"
#include "outputfiles/CsvText.h"

#include <string>
#include <vector>

struct LoadEffectIntervalTable
{
    std::vector<IntervalRow> rows;  // in interval order
    std::string header;             // the header line as written

    static LoadEffectIntervalTable read(const CsvText& text);
};

// s: the intervals' length, that of the longest row (only the last one is cut short).
double intervalSecondsOf(const std::vector<IntervalRow>& rows);
// The rows that cover a whole interval.
std::vector<IntervalRow> completeRowsOf(const std::vector<IntervalRow>& rows);

struct LoadEffectSecondTable
{
    std::vector<SecondRow> rows;  // the loaded seconds; a second not listed had an effect of 0

    static LoadEffectSecondTable read(const CsvText& text);
};

struct LoadEffectEventTable
{
    std::vector<LoadEvent> events;  // largest first, as listed

    static LoadEffectEventTable read(const CsvText& text);
};
