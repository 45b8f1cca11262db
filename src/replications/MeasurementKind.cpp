#include "replications/MeasurementKind.h"

namespace {
bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool endsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}
}

std::optional<MeasurementKind> measurementKindOf(const std::string& fileName)
{
    if (!endsWith(fileName, ".csv"))
        return std::nullopt;
    // The lane-change prefixes first: "LC_Comp_" also ends in "Comp_".
    if (startsWith(fileName, "LC_All_"))
        return MeasurementKind::laneChangeEvents;
    if (startsWith(fileName, "LC_Comp_"))
        return MeasurementKind::laneChangeComposition;
    if (startsWith(fileName, "LC_Rate_"))
        return MeasurementKind::laneChangeRates;
    if (startsWith(fileName, "LC_ST_"))
        return MeasurementKind::laneChangeSpaceTime;
    if (startsWith(fileName, "FD_"))
        return MeasurementKind::flowDensity;
    if (startsWith(fileName, "Comp_"))
        return MeasurementKind::composition;
    if (startsWith(fileName, "Head_"))
        return MeasurementKind::headways;
    if (startsWith(fileName, "LE_"))
    {
        if (endsWith(fileName, "_events.csv"))
            return MeasurementKind::loadEffectEvents;
        if (endsWith(fileName, "_seconds.csv"))
            return MeasurementKind::loadEffectSeconds;
        return MeasurementKind::loadEffectIntervals;
    }
    return std::nullopt;
}

bool isCompared(MeasurementKind kind)
{
    return kind != MeasurementKind::laneChangeSpaceTime && kind != MeasurementKind::loadEffectSeconds &&
           kind != MeasurementKind::loadEffectEvents;
}
