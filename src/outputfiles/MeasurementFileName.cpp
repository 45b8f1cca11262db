#include "outputfiles/MeasurementFileName.h"

#include "config/CStatDetector.h"

#include <array>
#include <charconv>
#include <string_view>
#include <tuple>

namespace {

struct Prefix
{
    std::string_view text;
    MeasurementKind kind;
};

// The detectors' prefixes; no one of them begins another.
constexpr std::array<Prefix, 7> detectorPrefixes = {{
    {"FD_", MeasurementKind::flowDensity},
    {"Head_", MeasurementKind::headway},
    {"Comp_", MeasurementKind::composition},
    {"LC_All_", MeasurementKind::laneChangeEvents},
    {"LC_Comp_", MeasurementKind::laneChangeComposition},
    {"LC_ST_", MeasurementKind::laneChangeSpaceTime},
    {"LC_Rate_", MeasurementKind::laneChangeRates},
}};

constexpr std::string_view extension = ".csv";
constexpr std::string_view bridgePrefix = "LE_";
constexpr std::string_view secondsSuffix = "_seconds";
constexpr std::string_view eventsSuffix = "_events";

struct VehicleTypeName
{
    std::uint16_t filter;
    std::string_view code;
    std::string_view text;
};

constexpr std::array<VehicleTypeName, 7> vehicleTypeNames = {{
    {CStatDetector::allVehicles, "All", "all vehicles"},
    {CStatDetector::allTrucks, "Trucks", "trucks"},
    {CStatDetector::cars, "Car", "cars"},
    {CStatDetector::smallTrucks, "ST", "small trucks"},
    {CStatDetector::largeTrucks, "LT", "large trucks"},
    {CStatDetector::cranes, "Crane", "cranes"},
    {CStatDetector::lowLoaders, "LL", "low-loaders"},
}};

std::string_view prefixOf(MeasurementKind kind)
{
    for (const Prefix& prefix : detectorPrefixes)
        if (prefix.kind == kind)
            return prefix.text;
    return bridgePrefix;
}

bool startsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

bool endsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::optional<int> parseLocation(std::string_view text)
{
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<MeasurementFileName> parseBridgeFile(std::string_view rest)
{
    MeasurementFileName name;
    name.kind = MeasurementKind::loadEffectIntervals;
    if (endsWith(rest, secondsSuffix))
    {
        name.kind = MeasurementKind::loadEffectSeconds;
        rest.remove_suffix(secondsSuffix.size());
    }
    else if (endsWith(rest, eventsSuffix))
    {
        name.kind = MeasurementKind::loadEffectEvents;
        rest.remove_suffix(eventsSuffix.size());
    }
    if (rest.empty() || rest.find_first_of("/\\") != std::string_view::npos)
        return std::nullopt;
    name.bridge = std::string(rest);
    return name;
}

}  // namespace

std::optional<MeasurementKind> measurementKindOf(const std::string& fileName)
{
    std::string_view rest(fileName);
    if (!endsWith(rest, extension))
        return std::nullopt;
    rest.remove_suffix(extension.size());
    for (const Prefix& prefix : detectorPrefixes)
        if (startsWith(rest, prefix.text))
            return prefix.kind;
    if (!startsWith(rest, bridgePrefix))
        return std::nullopt;
    if (endsWith(rest, secondsSuffix))
        return MeasurementKind::loadEffectSeconds;
    if (endsWith(rest, eventsSuffix))
        return MeasurementKind::loadEffectEvents;
    return MeasurementKind::loadEffectIntervals;
}

std::string vehicleTypesCode(std::uint16_t vehicleTypes)
{
    for (const VehicleTypeName& type : vehicleTypeNames)
        if (type.filter == vehicleTypes)
            return std::string(type.code);
    return "All";
}

std::string directionCode(bool directionPositive)
{
    return directionPositive ? "Pos" : "Neg";
}

bool writesComposition(std::uint16_t vehicleTypes)
{
    return vehicleTypes == CStatDetector::allVehicles || vehicleTypes == CStatDetector::allTrucks;
}

std::vector<MeasurementFileName> laneChangeFiles(std::uint16_t vehicleTypes, bool directionPositive)
{
    std::vector<MeasurementFileName> names;
    for (MeasurementKind kind : {MeasurementKind::laneChangeEvents, MeasurementKind::laneChangeComposition,
                                 MeasurementKind::laneChangeSpaceTime, MeasurementKind::laneChangeRates})
        if (kind != MeasurementKind::laneChangeComposition || writesComposition(vehicleTypes))
            names.push_back(MeasurementFileName::ofLaneChanges(kind, vehicleTypes, directionPositive));
    return names;
}

std::vector<MeasurementFileName> bridgeFiles(const std::string& bridge)
{
    return {MeasurementFileName::ofBridge(MeasurementKind::loadEffectIntervals, bridge),
            MeasurementFileName::ofBridge(MeasurementKind::loadEffectSeconds, bridge),
            MeasurementFileName::ofBridge(MeasurementKind::loadEffectEvents, bridge)};
}

MeasurementFileName MeasurementFileName::ofPointDetector(MeasurementKind kind, std::uint16_t types, bool positive,
                                                         int roadX)
{
    MeasurementFileName name;
    name.kind = kind;
    name.vehicleTypes = vehicleTypesCode(types);
    name.directionPositive = positive;
    name.location = roadX;
    return name;
}

MeasurementFileName MeasurementFileName::ofLaneChanges(MeasurementKind kind, std::uint16_t types, bool positive)
{
    MeasurementFileName name;
    name.kind = kind;
    name.vehicleTypes = vehicleTypesCode(types);
    name.directionPositive = positive;
    return name;
}

MeasurementFileName MeasurementFileName::ofBridge(MeasurementKind kind, const std::string& bridge)
{
    MeasurementFileName name;
    name.kind = kind;
    name.bridge = bridge;
    return name;
}

std::string MeasurementFileName::text() const
{
    std::string text(prefixOf(kind));
    if (isLoadEffectKind(kind))
    {
        text += bridge;
        if (kind == MeasurementKind::loadEffectSeconds)
            text += secondsSuffix;
        else if (kind == MeasurementKind::loadEffectEvents)
            text += eventsSuffix;
        return text += extension;
    }
    text += vehicleTypes + "_" + directionCode(directionPositive);
    if (location)
        text += "_" + std::to_string(*location);
    return text += extension;
}

std::optional<MeasurementFileName> MeasurementFileName::parse(const std::string& fileName)
{
    std::string_view rest(fileName);
    if (rest.size() <= extension.size() || !endsWith(rest, extension))
        return std::nullopt;
    rest.remove_suffix(extension.size());
    if (startsWith(rest, bridgePrefix))
        return parseBridgeFile(rest.substr(bridgePrefix.size()));

    MeasurementFileName name;
    const Prefix* found = nullptr;
    for (const Prefix& prefix : detectorPrefixes)
        if (startsWith(rest, prefix.text))
            found = &prefix;
    if (found == nullptr)
        return std::nullopt;
    name.kind = found->kind;
    rest.remove_prefix(found->text.size());

    std::size_t underscore = rest.find('_');
    if (underscore == std::string_view::npos)
        return std::nullopt;
    name.vehicleTypes = std::string(rest.substr(0, underscore));
    bool knownTypes = false;
    for (const VehicleTypeName& type : vehicleTypeNames)
        knownTypes = knownTypes || type.code == name.vehicleTypes;
    if (!knownTypes)
        return std::nullopt;
    rest.remove_prefix(underscore + 1);

    std::string_view direction = rest.substr(0, 3);
    if (direction != directionCode(true) && direction != directionCode(false))
        return std::nullopt;
    name.directionPositive = direction == directionCode(true);
    rest.remove_prefix(3);

    if (!isPointDetectorKind(name.kind))
        return rest.empty() ? std::optional(name) : std::nullopt;
    if (!startsWith(rest, "_"))
        return std::nullopt;
    name.location = parseLocation(rest.substr(1));
    if (!name.location)
        return std::nullopt;
    return name;
}

std::string MeasurementFileName::detectorName() const
{
    switch (kind)
    {
    case MeasurementKind::flowDensity: return "Flow & Density";
    case MeasurementKind::headway: return "Headway";
    case MeasurementKind::composition: return "Composition";
    case MeasurementKind::loadEffectIntervals:
    case MeasurementKind::loadEffectSeconds:
    case MeasurementKind::loadEffectEvents: return "Bridge";
    default: return "Lane Changes";
    }
}

std::string MeasurementFileName::contents() const
{
    switch (kind)
    {
    case MeasurementKind::flowDensity: return "flow, density and speed per interval";
    case MeasurementKind::headway: return "headways";
    case MeasurementKind::composition: return "vehicles per class and interval";
    case MeasurementKind::laneChangeEvents: return "events";
    case MeasurementKind::laneChangeComposition: return "changes per class and interval";
    case MeasurementKind::laneChangeSpaceTime: return "events in time and space";
    case MeasurementKind::laneChangeRates: return "rates by location and time";
    case MeasurementKind::loadEffectIntervals: return "load effect per interval";
    case MeasurementKind::loadEffectSeconds: return "load effect per second";
    case MeasurementKind::loadEffectEvents: return "largest load events";
    }
    return {};
}

std::string MeasurementFileName::vehicleText() const
{
    for (const VehicleTypeName& type : vehicleTypeNames)
        if (type.code == vehicleTypes)
            return std::string(type.text);
    return vehicleTypes;
}

std::string MeasurementFileName::directionText() const
{
    return directionPositive ? "direction 1" : "direction 2";
}

std::string MeasurementFileName::title() const
{
    if (isLoadEffectKind(kind))
        return detectorName() + " " + bridge + ", " + contents();
    std::string text = detectorName() + ", " + vehicleText() + ", " + directionText();
    if (location)
        text += ", at " + std::to_string(*location) + " m";
    else
        text += ", " + contents();
    return text;
}

std::string MeasurementFileName::shortTitle() const
{
    if (isLoadEffectKind(kind))
        return detectorName() + " " + bridge;
    std::string direction = directionPositive ? "dir 1" : "dir 2";
    if (vehicleTypes != "All")
        direction += " " + vehicleText();
    if (location)
        return detectorName() + " " + std::to_string(*location) + " m " + direction;
    std::string what;
    switch (kind)
    {
    case MeasurementKind::laneChangeEvents: what = "events"; break;
    case MeasurementKind::laneChangeComposition: what = "classes"; break;
    case MeasurementKind::laneChangeSpaceTime: what = "space-time"; break;
    default: what = "rates"; break;
    }
    return "Lane changes " + what + " " + direction;
}

bool MeasurementFileName::operator<(const MeasurementFileName& other) const
{
    // Direction 1 first.
    return std::make_tuple(kind, !directionPositive, location, vehicleTypes, bridge) <
           std::make_tuple(other.kind, !other.directionPositive, other.location, other.vehicleTypes, other.bridge);
}
