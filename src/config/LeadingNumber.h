#pragma once
// Reads the number at the start of a configuration value, the way the C library's atof and atoi
// do (white space skipped, optional sign, decimal digits), but independent of the locale and
// without hexadecimal, "inf" or "nan" forms, so a configuration file reads the same everywhere.

#include <string_view>

// Only the first this many characters of a value line are looked at.
constexpr std::size_t valuePrefixLength = 14;

// The longest leading decimal number (digits, point, exponent); 0.0 when there is none.
// A number too large for a double reads as the largest finite double of its sign.
double leadingReal(std::string_view text);

// The leading decimal integer; 0 when there is none. Out-of-range values are clamped to the
// 32-bit range.
int leadingInteger(std::string_view text);

// The same readings restricted to the first valuePrefixLength characters.
double prefixReal(std::string_view text);
int prefixInteger(std::string_view text);
