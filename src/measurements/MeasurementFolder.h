#pragma once
// Every measurement file of a folder, read: the detectors' files in a fixed order, each with its
// table or, when it cannot be read, the reason.

#include "measurements/CompositionTable.h"
#include "measurements/FlowDensityTable.h"
#include "measurements/HeadwayTable.h"
#include "measurements/LaneChangeTables.h"
#include "outputfiles/MeasurementFileName.h"

#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

using MeasurementTable =
    std::variant<std::monostate, FlowDensityTable, HeadwayTable, CompositionTable, LaneChangeEventTable,
                 LaneChangeCompositionTable, LaneChangeSpaceTimeTable, LaneChangeRateTable>;

struct MeasurementEntry
{
    std::filesystem::path path;
    MeasurementFileName name;
    MeasurementTable table;        // std::monostate when the file could not be read
    std::optional<BadFile> error;  // why

    bool isRead() const { return table.index() != 0; }
};

// Reads one file whose name is a detector's file name; the error names it without its folder.
MeasurementEntry readMeasurementFile(const std::filesystem::path& path, const MeasurementFileName& name);
MeasurementTable readMeasurementTable(const CsvText& text, MeasurementKind kind);

struct MeasurementFolder
{
    std::filesystem::path folder;
    std::vector<MeasurementEntry> entries;
    std::string error;  // set when the folder itself cannot be listed

    // Files whose names are not a detector's are left out; the bridges' are BridgeResults'.
    static MeasurementFolder read(const std::filesystem::path& folder);
};
