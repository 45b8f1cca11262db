#include "cli/NumberOptions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <sstream>

namespace {
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string withUnit(const std::string& text, const std::string& unit)
{
    return unit.empty() ? text : text + " " + unit;
}

// "-0" where no negative number is allowed reads as a slip, not as 0 (a seed of "-0" is no seed).
bool unaskedSign(const std::string& text, bool negativeAllowed)
{
    return !negativeAllowed && text.starts_with('-');
}

std::string shown(double value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}
}

namespace NumberOptions {
std::optional<long long> readWhole(std::string_view text)
{
    const std::string_view digits = text.starts_with('-') ? text.substr(1) : text;
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), isDigit))
        return std::nullopt;
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<double> readReal(std::string_view text)
{
    // from_chars alone would also take "inf", "nan" and "infinity".
    const std::string_view body = text.starts_with('-') ? text.substr(1) : text;
    if (body.empty() || !(isDigit(body.front()) || (body.front() == '.' && body.size() > 1 && isDigit(body[1]))))
        return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value + 0.0;
}

CLI::Validator whole(long long lowest, long long highest, const std::string& unit)
{
    const std::string range =
        "a whole number from " + std::to_string(lowest) + " to " + withUnit(std::to_string(highest), unit);
    return CLI::Validator(
        [lowest, highest, range](std::string& text) {
            const auto value = readWhole(text);
            if (value && *value >= lowest && *value <= highest && !unaskedSign(text, lowest < 0))
                return std::string();
            return "'" + text + "' is not allowed: " + range;
        },
        "");
}

CLI::Validator wholeInt(int lowest, int highest, const std::string& unit)
{
    const std::string range =
        "a whole number from " + std::to_string(lowest) + " to " + withUnit(std::to_string(highest), unit);
    return CLI::Validator(
        [range](std::string& text) {
            const auto value = readWhole(text);
            if (value && *value >= std::numeric_limits<int>::min() && *value <= std::numeric_limits<int>::max())
                return std::string();
            return "'" + text + "' is not allowed: " + range;
        },
        "");
}

CLI::Validator finite(double lowest, double highest, const std::string& unit)
{
    const std::string range = "a number from " + shown(lowest) + " to " + withUnit(shown(highest), unit);
    return CLI::Validator(
        [range](std::string& text) {
            if (readReal(text))
                return std::string();
            return "'" + text + "' is not allowed: " + range;
        },
        "");
}

CLI::Validator real(double lowest, double highest, const std::string& unit, bool lowestExcluded)
{
    const std::string range = std::string("a number ") + (lowestExcluded ? "above " : "from ") + shown(lowest) +
                              (lowestExcluded ? " and up to " : " to ") + withUnit(shown(highest), unit);
    return CLI::Validator(
        [lowest, highest, lowestExcluded, range](std::string& text) {
            const auto value = readReal(text);
            if (value && !unaskedSign(text, lowest < 0.0) && (lowestExcluded ? *value > lowest : *value >= lowest) &&
                *value <= highest)
                return std::string();
            return "'" + text + "' is not allowed: " + range;
        },
        "");
}
}
