#pragma once
// The program-wide tuning constants that are not part of a study: classification limits, the
// traffic files' calendar, lane-change and gradient constants, view limits and colours.
// Loaded once from "Roadflux.ini" at start-up; every consumer copies what it needs.

#include "config/CCSVParse.h"

#include <cstdint>
#include <string>
#include <vector>

// 0x00BBGGRR: red in the lowest byte.
using Colour = std::uint32_t;

constexpr Colour makeColour(int red, int green, int blue)
{
    return static_cast<Colour>(red) + 256u * static_cast<Colour>(green) + 65536u * static_cast<Colour>(blue);
}

class CConfigData
{
public:
    CConfigData();
    virtual ~CConfigData() = default;

    // Loads the 40 values in file order; false, with every value left as it was, when the file
    // cannot be opened or is not a regular file (a folder, a device, a pipe).
    bool readConfigFile(const std::string& fileName);

    // Names and values of loaded values that make no sense downstream (a zero calendar length, a
    // view scale not above zero, a positive safeDeceleration, a zero divisor step). They are
    // kept as loaded; the load warns about them once per program run, on stderr.
    std::vector<std::string> questionableValues() const;

    // The file the values were loaded from, as an absolute path; "" while they are the
    // defaults. A run must never write over it.
    const std::string& getLoadedFrom() const { return loadedFrom; }
    // The line of that file which gave entryGap; 0 while it is the default. A run names it when
    // the gap is longer than the road, where no vehicle after a lane's first could ever enter.
    int getEntryGapLine() const { return entryGapLine; }

    double laneChangeMinGap = 2.0;       // m
    double entryGap = 27.0;              // m
    double safeDeceleration = -12.0;     // m/s²
    double laneChangeInterval = 1.6;     // s
    int virtualObstacleDistance = 1000;  // m
    int minSpeedLimit = 10;              // km/h
    int maxSpeedLimit = 200;             // km/h
    int maxGradient = 15;                // %
    bool gradientAltersAccel = true;
    double gradientMinAccel = 0.1;  // m/s²
    bool gradientAltersDecel = true;
    double gradientHeadwayStep = 10.0;  // % per s
    double gradientMinSpeed = 0.1;      // m/s
    double gradientSpeedStep = 0.2;     // % per km/h
    int daysPerMonth = 25;
    int monthsPerYear = 10;
    double craneMeanSpacing = 2.5;  // m
    int craneMaxSpacing = 4;        // m
    double lowLoaderSpacing = 7.5;  // m
    int smallTruckMaxAxles = 3;
    int carMaxGVW = 35;  // units of 100 kg
    double minViewScale = 0.1;
    double vehicleTipTime = 20.0;  // s
    Colour classColour[5] = {makeColour(0, 0, 0), makeColour(0, 0, 255), makeColour(255, 0, 0), makeColour(0, 255, 0),
                             makeColour(100, 100, 100)};
    Colour backgroundColour = makeColour(255, 255, 255);
    Colour roadColour = makeColour(200, 200, 200);
    Colour roadLineColour = makeColour(0, 0, 0);
    Colour tickColour = makeColour(0, 0, 0);
    Colour tickTextColour = makeColour(0, 0, 0);
    Colour textColour = makeColour(0, 0, 0);
    Colour outputDetectorColour = makeColour(255, 255, 0);
    Colour flowDensityDetectorColour = makeColour(0, 255, 0);
    Colour headwayDetectorColour = makeColour(0, 0, 255);
    Colour compositionDetectorColour = makeColour(0, 0, 0);
    Colour speedLimitColour = makeColour(255, 0, 0);
    Colour gradientColour = makeColour(0, 255, 0);

    std::string commentMarker = "//";

private:
    // The next line that is not a comment; empty lines once the file has ended.
    const std::string& nextValueLine();
    double nextReal();
    int nextInteger();
    bool nextSwitch();
    int nextRealTruncated();
    Colour nextColour();
    void warnAboutQuestionableValues() const;

    CCSVParse parser;
    std::string loadedFrom;
    std::string valueLine;
    int lineNumber = 0;  // of the line last read
    int entryGapLine = 0;
};

// The one configuration record, built with the defaults before anything else runs.
extern CConfigData theConfigData;
