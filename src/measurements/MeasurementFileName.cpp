#include "measurements/MeasurementFileName.h"

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

constexpr std::array<Prefix, 7> prefixes = {{
    {"FD_", MeasurementKind::flowDensity},
    {"Head_", MeasurementKind::headway},
    {"Comp_", MeasurementKind::composition},
    {"LC_All_", MeasurementKind::laneChangeEvents},
    {"LC_Comp_", MeasurementKind::laneChangeComposition},
    {"LC_ST_", MeasurementKind::laneChangeSpaceTime},
    {"LC_Rate_", MeasurementKind::laneChangeRates},
}};

struct VehicleTypeName
{
    std::string_view code;
    std::string_view text;
};

constexpr std::array<VehicleTypeName, 7> vehicleTypeNames = {{
    {"All", "all vehicles"},
    {"Trucks", "trucks"},
    {"Car", "cars"},
    {"ST", "small trucks"},
    {"LT", "large trucks"},
    {"Crane", "cranes"},
    {"LL", "low-loaders"},
}};

bool isLaneChangeKind(MeasurementKind kind)
{
    return kind != MeasurementKind::flowDensity && kind != MeasurementKind::headway &&
           kind != MeasurementKind::composition;
}

bool startsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

std::optional<int> parseLocation(std::string_view text)
{
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<MeasurementFileName> MeasurementFileName::parse(const std::string& fileName)
{
    std::string_view rest(fileName);
    constexpr std::string_view extension = ".csv";
    if (rest.size() <= extension.size() || rest.substr(rest.size() - extension.size()) != extension)
        return std::nullopt;
    rest.remove_suffix(extension.size());

    MeasurementFileName name;
    // "LC_All_" before nothing shorter matches it: the prefixes do not overlap.
    const Prefix* found = nullptr;
    for (const Prefix& prefix : prefixes)
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
    if (direction != "Pos" && direction != "Neg")
        return std::nullopt;
    name.directionPositive = direction == "Pos";
    rest.remove_prefix(3);

    if (isLaneChangeKind(name.kind))
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
    std::string text = detectorName() + ", " + vehicleText() + ", " + directionText();
    if (location)
        text += ", at " + std::to_string(*location) + " m";
    else
        text += ", " + contents();
    return text;
}

std::string MeasurementFileName::shortTitle() const
{
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
    return std::make_tuple(kind, !directionPositive, location, vehicleTypes) <
           std::make_tuple(other.kind, !other.directionPositive, other.location, other.vehicleTypes);
}
