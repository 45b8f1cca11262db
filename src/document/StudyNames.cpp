#include "document/StudyNames.h"

#include <algorithm>
#include <cctype>

const std::vector<StudyNames::Named>& StudyNames::fileFormats()
{
    static const std::vector<Named> names{{101, "TALVOR"}, {100, "VORK"}, {102, "DoRIV"}};
    return names;
}

const std::vector<StudyNames::Named>& StudyNames::distributions()
{
    static const std::vector<Named> names{{207, "Constant"}, {206, "Normal"},     {205, "GEV"},         {203, "Gumbel"},
                                          {204, "Poisson"},  {201, "Log-Normal"}, {200, "Exponential"}, {202, "Gamma"}};
    return names;
}

const std::vector<StudyNames::Named>& StudyNames::parameters()
{
    static const std::vector<Named> names{
        {300, "Safe time headway, T (s)"},
        {301, "Maximum acceleration, a (m/s^2)"},
        {302, "Comfortable decceleration, b (m/s^2)"},
        {303, "Minimum jam distance, s0 (m)"},
        {304, "Elastic jam distance, s1 (m)"},
        {305, "Desired velocity, v0 (km/h)"},
        {306, "Acceleration exponent, delta"},
        {307, "Lane change politeness factor, p"},
        {308, "Outside lane bias factor, deltaAbias"},
        {309, "Lane change threshold, deltaAth (m/s^2)"},
    };
    return names;
}

const std::vector<StudyNames::Named>& StudyNames::featureTypes()
{
    static const std::vector<Named> names{{400, "Speed Limit"}, {401, "Gradient"}};
    return names;
}

const std::vector<StudyNames::Named>& StudyNames::detectorKinds()
{
    static const std::vector<Named> names{
        {510, "Flow & Density"}, {511, "Headway"}, {512, "Composition"}, {513, "Lane Changes"}};
    return names;
}

const std::vector<StudyNames::Named>& StudyNames::vehicleTypes()
{
    static const std::vector<Named> names{{500, "All Vehicles"}, {501, "All Trucks"},   {502, "Cars"},
                                          {503, "Small Trucks"}, {504, "Large Trucks"}, {505, "Cranes"},
                                          {506, "Low-loaders"}};
    return names;
}

const std::vector<StudyNames::Named>& StudyNames::vehicleClasses()
{
    static const std::vector<Named> names{
        {0, "Car"}, {1, "Small Truck"}, {2, "Large Truck"}, {3, "Crane"}, {4, "Low-loader"}};
    return names;
}

const char* StudyNames::direction(bool positive)
{
    return positive ? "Positive x" : "Negative x";
}

std::optional<std::string> StudyNames::findName(const std::vector<Named>& list, std::uint16_t code)
{
    for (const Named& entry : list)
        if (entry.code == code)
            return std::string(entry.name);
    return std::nullopt;
}

std::string StudyNames::nameOf(const std::vector<Named>& list, std::uint16_t code)
{
    if (auto name = findName(list, code))
        return *name;
    return list.empty() ? std::string() : list.front().name;
}

std::optional<std::uint16_t> StudyNames::codeOf(const std::vector<Named>& list, const std::string& name)
{
    auto sameIgnoringCase = [](const std::string& a, const char* b) {
        const std::string other(b);
        return a.size() == other.size() && std::equal(a.begin(), a.end(), other.begin(), [](char x, char y) {
                   return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
               });
    };
    for (const Named& entry : list)
        if (sameIgnoringCase(name, entry.name))
            return entry.code;
    return std::nullopt;
}
