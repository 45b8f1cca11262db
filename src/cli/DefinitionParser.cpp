#include "cli/DefinitionParser.h"

#include "cli/CliFailure.h"
#include "document/StudyNames.h"
#include "vehicles/SpeedUnits.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace {
using Aliases = std::vector<std::pair<const char*, std::uint16_t>>;

std::vector<std::string> fieldsOf(const std::string& text)
{
    std::vector<std::string> fields;
    std::string field;
    for (char c : text)
    {
        if (c == ',')
        {
            fields.push_back(field);
            field.clear();
        }
        else
        {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

// Lower case without blanks, hyphens, underscores or ampersands: "Flow & Density" and
// "flow-density" read alike.
std::string simplified(const std::string& name)
{
    std::string result;
    for (char c : name)
        if (std::isalnum(static_cast<unsigned char>(c)))
            result += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

std::optional<std::uint16_t> codeFor(const std::string& name, const std::vector<StudyNames::Named>& names,
                                     const Aliases& aliases)
{
    const std::string wanted = simplified(name);
    for (const auto& entry : names)
        if (simplified(entry.name) == wanted)
            return entry.code;
    for (const auto& [alias, code] : aliases)
        if (simplified(alias) == wanted)
            return code;
    return std::nullopt;
}

std::optional<bool> directionFor(const std::string& text)
{
    const std::string name = simplified(text);
    if (name == "1" || name == "positive" || name == "positivex")
        return true;
    if (name == "2" || name == "negative" || name == "negativex")
        return false;
    return std::nullopt;
}

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<int> wholeMetresOrSeconds(const std::string& text)
{
    const std::string number = trimmed(text);
    int value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (number.empty() || error != std::errc() || end != number.data() + number.size() || value < 0)
        return std::nullopt;
    return value;
}

std::optional<double> realNumber(const std::string& text)
{
    const std::string number = trimmed(text);
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (number.empty() || error != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

[[noreturn]] void refuse(const char* option, const std::string& text, const std::string& what)
{
    throw CliFailure(std::string(option) + " '" + text + "': " + what, CliFailure::usage);
}
}

const char* DefinitionParser::featureSyntax()
{
    return "TYPE,DIRECTION,START,END,VALUE (e.g. speed-limit,1,0,1000,80 or gradient,2,500,900,4)";
}

const char* DefinitionParser::detectorSyntax()
{
    return "KIND,DIRECTION,VEHICLES,INTERVAL,LOCATION (e.g. flow-density,1,all,60,1000)";
}

std::unique_ptr<CRoadFeature> DefinitionParser::parseFeature(const std::string& text)
{
    const char* option = "--feature";
    const auto fields = fieldsOf(text);
    if (fields.size() != 5)
        refuse(option, text, std::string("expected ") + featureSyntax());
    const auto type = codeFor(fields[0], StudyNames::featureTypes(), {{"speed", 400}, {"sl", 400}, {"grad", 401}});
    if (!type)
        refuse(option, text, "the type is speed-limit or gradient");
    const auto positive = directionFor(fields[1]);
    if (!positive)
        refuse(option, text, "the direction is 1 (positive x) or 2 (negative x)");
    const auto start = wholeMetresOrSeconds(fields[2]);
    const auto end = wholeMetresOrSeconds(fields[3]);
    if (!start || !end)
        refuse(option, text, "start and end are whole metres, 0 or more");
    const auto value = realNumber(fields[4]);
    if (!value)
        refuse(option, text, "the value is a number: km/h for a speed limit, % for a gradient");

    auto feature = std::make_unique<CRoadFeature>();
    feature->setType(*type);
    feature->setDirectionPositive(*positive);
    feature->setStart(*start);
    feature->setEnd(*end);
    feature->setValue(*type == CRoadFeature::speedLimit ? *value * metresPerSecondPerKmh : *value);
    return feature;
}

std::unique_ptr<CStatDetector> DefinitionParser::parseDetector(const std::string& text)
{
    const char* option = "--detector";
    const auto fields = fieldsOf(text);
    if (fields.size() != 5)
        refuse(option, text, std::string("expected ") + detectorSyntax());
    const auto kind = codeFor(fields[0], StudyNames::detectorKinds(),
                              {{"flow", 510}, {"density", 510}, {"flow-density", 510}, {"lanechange", 513}});
    if (!kind)
        refuse(option, text, "the kind is flow-density, headway, composition or lane-changes");
    const auto positive = directionFor(fields[1]);
    if (!positive)
        refuse(option, text, "the direction is 1 (positive x) or 2 (negative x)");
    const auto vehicles = codeFor(fields[2], StudyNames::vehicleTypes(),
                                  {{"all", 500},
                                   {"trucks", 501},
                                   {"car", 502},
                                   {"small-truck", 503},
                                   {"large-truck", 504},
                                   {"crane", 505},
                                   {"low-loader", 506}});
    if (!vehicles)
        refuse(option, text, "the vehicles are all, trucks, cars, small-trucks, large-trucks, cranes or low-loaders");
    const auto interval = wholeMetresOrSeconds(fields[3]);
    if (!interval)
        refuse(option, text, "the interval is whole seconds, 0 or more");
    const auto location = wholeMetresOrSeconds(fields[4]);
    if (!location)
        refuse(option, text, "the location (the step of a lane-change detector) is whole metres, 0 or more");

    auto detector = std::make_unique<CStatDetector>();
    detector->setKind(*kind);
    detector->setDirectionPositive(*positive);
    detector->setVehicleTypes(*vehicles);
    detector->setInterval(*interval);
    detector->setLocation(*location);
    return detector;
}
