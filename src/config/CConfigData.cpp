#include "config/CConfigData.h"

#include "config/LeadingNumber.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <system_error>

CConfigData theConfigData;

CConfigData::CConfigData() = default;

bool CConfigData::readConfigFile(const std::string& fileName)
{
    // A folder or a device would read as 40 zeros, a pipe could block for ever: only a regular
    // file (or a link to one) is a configuration file.
    std::error_code error;
    if (!std::filesystem::is_regular_file(fileName, error))
        return false;
    if (!parser.open(fileName, ","))
        return false;

    lineNumber = 0;
    laneChangeMinGap = nextReal();
    entryGap = nextReal();
    entryGapLine = lineNumber;
    safeDeceleration = nextReal();
    laneChangeInterval = nextReal();
    virtualObstacleDistance = nextInteger();
    minSpeedLimit = nextInteger();
    maxSpeedLimit = nextInteger();
    maxGradient = nextInteger();
    gradientAltersAccel = nextSwitch();
    gradientMinAccel = nextReal();
    gradientAltersDecel = nextSwitch();
    gradientHeadwayStep = nextReal();
    gradientMinSpeed = nextReal();
    gradientSpeedStep = nextReal();
    daysPerMonth = nextInteger();
    monthsPerYear = nextInteger();
    craneMeanSpacing = nextReal();
    craneMaxSpacing = nextRealTruncated();
    lowLoaderSpacing = nextReal();
    smallTruckMaxAxles = nextInteger();
    carMaxGVW = nextInteger();
    minViewScale = nextReal();
    vehicleTipTime = nextReal();
    for (Colour& colour : classColour)
        colour = nextColour();
    backgroundColour = nextColour();
    roadColour = nextColour();
    roadLineColour = nextColour();
    tickColour = nextColour();
    tickTextColour = nextColour();
    textColour = nextColour();
    outputDetectorColour = nextColour();
    flowDensityDetectorColour = nextColour();
    headwayDetectorColour = nextColour();
    compositionDetectorColour = nextColour();
    speedLimitColour = nextColour();
    gradientColour = nextColour();

    parser.close();
    std::filesystem::path absolute = std::filesystem::absolute(fileName, error);
    loadedFrom = error ? fileName : absolute.lexically_normal().string();
    warnAboutQuestionableValues();
    return true;
}

const std::string& CConfigData::nextValueLine()
{
    parser.getLine(valueLine);
    ++lineNumber;
    // An empty marker would make every line a comment and never end.
    while (!commentMarker.empty() && valueLine.starts_with(commentMarker))
    {
        parser.getLine(valueLine);
        ++lineNumber;
    }
    return valueLine;
}

double CConfigData::nextReal()
{
    return prefixReal(nextValueLine());
}

int CConfigData::nextInteger()
{
    return prefixInteger(nextValueLine());
}

bool CConfigData::nextSwitch()
{
    return nextInteger() == 1;
}

int CConfigData::nextRealTruncated()
{
    const double value = nextReal();
    // Clamped so that an absurd value cannot overflow the conversion.
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

Colour CConfigData::nextColour()
{
    nextValueLine();
    Colour colour = 0;
    Colour weight = 1;
    for (int component = 0; component < 3; ++component)
    {
        // Reduced into 0..255 also for negative numbers, as a byte cast would.
        const int value = prefixInteger(parser.getField(component));
        const auto byte = static_cast<Colour>(static_cast<unsigned>(value) % 256u);
        colour += weight * byte;
        weight *= 256;
    }
    return colour;
}

std::vector<std::string> CConfigData::questionableValues() const
{
    std::vector<std::string> found;
    auto note = [&found](const char* name, double value) {
        char text[96];
        std::snprintf(text, sizeof text, "%s %g", name, value);
        found.emplace_back(text);
    };
    if (daysPerMonth <= 0)
        note("daysPerMonth", daysPerMonth);
    if (monthsPerYear <= 0)
        note("monthsPerYear", monthsPerYear);
    if (!(minViewScale > 0.0))
        note("minViewScale", minViewScale);
    if (virtualObstacleDistance < 100)
        note("virtualObstacleDistance (the default 1000 is used)", virtualObstacleDistance);
    if (safeDeceleration > 0.0)
        note("safeDeceleration", safeDeceleration);
    if (gradientHeadwayStep == 0.0)
        note("gradientHeadwayStep", gradientHeadwayStep);
    if (gradientSpeedStep == 0.0)
        note("gradientSpeedStep", gradientSpeedStep);
    return found;
}

void CConfigData::warnAboutQuestionableValues() const
{
    static bool warned = false;
    const std::vector<std::string> found = questionableValues();
    if (warned || found.empty())
        return;
    warned = true;
    std::string text;
    for (const std::string& item : found)
        text += (text.empty() ? "" : ", ") + item;
    std::fprintf(stderr, "Roadflux: configuration values that make no sense were kept as loaded: %s\n", text.c_str());
}
