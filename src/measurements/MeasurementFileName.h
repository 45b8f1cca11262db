#pragma once
// What a measurement file's name says about it: which file of which detector kind, for which
// vehicles, in which direction and (for the point detectors) at which road x.

#include <optional>
#include <string>

enum class MeasurementKind
{
    flowDensity,            // FD_
    headway,                // Head_
    composition,            // Comp_
    laneChangeEvents,       // LC_All_
    laneChangeComposition,  // LC_Comp_
    laneChangeSpaceTime,    // LC_ST_
    laneChangeRates,        // LC_Rate_
};

struct MeasurementFileName
{
    MeasurementKind kind = MeasurementKind::flowDensity;
    std::string vehicleTypes;  // "All", "Trucks", "Car", "ST", "LT", "Crane" or "LL"
    bool directionPositive = true;
    std::optional<int> location;  // road x, m; lane-change files have none

    // Nothing for a name that is not one of the detectors' file names.
    static std::optional<MeasurementFileName> parse(const std::string& fileName);

    // "Flow & Density", "Headway", "Composition" or "Lane Changes".
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
    // Orders the files of a folder: by detector kind, direction, location, then vehicles.
    bool operator<(const MeasurementFileName& other) const;
};
