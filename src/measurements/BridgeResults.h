#pragma once
// A bridge's load-effect files read back from a metrics folder, LE_<name>.csv with its
// LE_<name>_seconds.csv and LE_<name>_events.csv, for the charts of the Results window and the
// report.

#include "loadeffects/BridgeSet.h"
#include "loadeffects/IntervalRow.h"
#include "loadeffects/LargestEvents.h"
#include "loadeffects/SecondEnvelope.h"
#include "outputfiles/BadFile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct BridgeResults
{
    std::string name;  // the bridge's, from the file name
    std::filesystem::path seriesPath;
    std::vector<IntervalRow> rows;   // in interval order
    std::vector<LoadEvent> events;   // largest first; empty without the events file
    std::vector<SecondRow> seconds;  // the loaded seconds; empty without the seconds file
    bool hasSeconds = false;         // the seconds file was read: a second not in it had no load
    std::string unit;                // of the load effect, "kN" or "kN m"; empty when not known
    std::optional<BadFile> error;    // why the series file could not be read

    bool isRead() const { return !error; }
    // s: the intervals' length, that of the longest row (only the last one is cut short).
    double intervalSeconds() const;
    // s of the clock: the start of the first interval.
    double runStart() const;
    // The maxima of the rows that cover a whole interval.
    std::vector<double> completeMaxima() const;

    // Every LE_<name>.csv of the folder, in name order. A missing or unreadable events or seconds
    // file leaves its part empty; only the series file's problems are told.
    static std::vector<BridgeResults> readFolder(const std::filesystem::path& folder);
    // Fills each bridge's unit from the effect of the bridge of its name in `set`, or in the bridges
    // file at `path` (a file that cannot be read leaves the units unknown).
    static void takeUnitsFrom(std::vector<BridgeResults>& bridges, const BridgeSet& set);
    static void takeUnitsFrom(std::vector<BridgeResults>& bridges, const std::string& bridgesFile);
};
