#pragma once
// Strict readings of the numbers typed on the command line: plain decimal, the whole text,
// finite and within the option's range. CLI11 on its own takes "0x10", "1e3" for a whole
// number, "nan" and "inf", and runs an empty --seed as 0; its checks see the text first.

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <string_view>

namespace NumberOptions {
// Digits with an optional leading minus; nothing for anything else or a value beyond long long.
std::optional<long long> readWhole(std::string_view text);
// A decimal number (digits, point, exponent) with an optional leading minus, finite; -0 reads
// as 0. Nothing for blanks, hexadecimal, "inf", "nan", trailing junk or an overflowing value.
std::optional<double> readReal(std::string_view text);

// Whole numbers from lowest to highest; the message gives the range and, when given, the unit.
// Where the range has no negative numbers, a minus sign is refused even on 0.
CLI::Validator whole(long long lowest, long long highest, const std::string& unit = "");
// Whole numbers an int holds, for options whose range the command checks itself with its own
// message; the text of a refusal tells the range all the same.
CLI::Validator wholeInt(int lowest, int highest, const std::string& unit = "");
// Finite numbers, likewise for options whose range the command checks itself.
CLI::Validator finite(double lowest, double highest, const std::string& unit = "");
// Real numbers from lowest to highest; above lowest only when lowestExcluded.
CLI::Validator real(double lowest, double highest, const std::string& unit = "", bool lowestExcluded = false);
}
