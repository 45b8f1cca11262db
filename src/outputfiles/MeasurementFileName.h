#pragma once
// The names of the files of the metrics folder, made for the writers and read back for the
// readers: which kind of file, for which vehicles, in which direction and (for the point
// detectors) at which road x, or of which bridge.

#include "outputfiles/MeasurementKind.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct MeasurementFileName
{
    MeasurementKind kind = MeasurementKind::flowDensity;
    std::string vehicleTypes;  // "All", "Trucks", "Car", "ST", "LT", "Crane" or "LL"; none for a bridge
    bool directionPositive = true;
    std::optional<int> location;  // road x, m, of a point detector
    std::string bridge;           // the bridge's name, for the load-effect files

    // `vehicleTypes` is a detector's filter code (CStatDetector::allVehicles ...).
    static MeasurementFileName ofPointDetector(MeasurementKind kind, std::uint16_t vehicleTypes, bool directionPositive,
                                               int roadX);
    static MeasurementFileName ofLaneChanges(MeasurementKind kind, std::uint16_t vehicleTypes, bool directionPositive);
    static MeasurementFileName ofBridge(MeasurementKind kind, const std::string& bridge);

    // The file name without folder, e.g. "FD_All_Pos_1500.csv" or "LE_Deck_seconds.csv".
    std::string text() const;
    // Nothing for a name that no detector or bridge writes.
    static std::optional<MeasurementFileName> parse(const std::string& fileName);

    // "Flow & Density", "Headway", "Composition", "Lane Changes" or "Bridge".
    std::string detectorName() const;
    // What this file of the detector holds, e.g. "rates by location and time".
    std::string contents() const;
    // "all vehicles", "trucks", "cars", ...
    std::string vehicleText() const;
    std::string directionText() const;
    // "Flow & Density, all vehicles, direction 1, at 1500 m".
    std::string title() const;
    // A short title for a tab: "Flow & Density 1500 m dir 1".
    std::string shortTitle() const;
    // Orders the files of a folder: by kind, direction, location, then vehicles and bridge.
    bool operator<(const MeasurementFileName& other) const;
    bool operator==(const MeasurementFileName& other) const = default;
};

// The kind a file's name tells by its prefix (and a bridge's by its end) alone, as the comparison
// of runs takes it: a file renamed by hand after a detector's ("FD_morning.csv") is compared too.
// Nothing for any other name.
std::optional<MeasurementKind> measurementKindOf(const std::string& fileName);

// The code of a detector's filter in its file names: "All", "Trucks", "Car", ...; "All" for a
// code that is none of the filters.
std::string vehicleTypesCode(std::uint16_t vehicleTypes);
// "Pos" or "Neg".
std::string directionCode(bool directionPositive);
// A composition is written for all vehicles and for all trucks only.
bool writesComposition(std::uint16_t vehicleTypes);
// The files of a lane-change detector of this filter and direction, in the order it opens them.
std::vector<MeasurementFileName> laneChangeFiles(std::uint16_t vehicleTypes, bool directionPositive);
// The three files of a bridge: its intervals, its seconds and its events.
std::vector<MeasurementFileName> bridgeFiles(const std::string& bridge);
