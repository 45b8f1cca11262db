#pragma once
// Reading and writing the fixed-width integer columns of traffic-file records. Reading keeps
// the C library's atoi rules on a column cut out of the line; writing right-aligns a value in
// a minimum width and writes it whole when it needs more room.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

// The integer in columns [first, first + width) of the line: leading white space skipped, an
// optional sign, then digits; anything else ends the number. A column that starts at or beyond
// the end of the line reads as 0, one cut short by the line's end reads from what is there.
inline int readColumn(std::string_view line, std::size_t first, std::size_t width)
{
    if (first >= line.size())
        return 0;
    const char* p = line.data() + first;
    const char* const end = p + std::min(width, line.size() - first);
    while (p != end && (*p == ' ' || (*p >= '\t' && *p <= '\r')))
        ++p;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    // Columns are at most a few digits wide, so the value cannot overflow an int.
    int value = 0;
    while (p != end && *p >= '0' && *p <= '9')
        value = value * 10 + (*p++ - '0');
    return negative ? -value : value;
}

// Rounds half up by adding 0.5 and truncating toward zero. Values outside the int range are
// clamped and NaN gives 0, so a vehicle in a strange state still formats safely.
inline int roundHalfUp(double value)
{
    const double shifted = value + 0.5;
    if (!(shifted > static_cast<double>(std::numeric_limits<int>::min()) - 1.0))
        return std::isnan(shifted) ? 0 : std::numeric_limits<int>::min();
    if (!(shifted < static_cast<double>(std::numeric_limits<int>::max()) + 1.0))
        return std::numeric_limits<int>::max();
    return static_cast<int>(shifted);
}

// Appends text right-aligned in at least `width` characters. With '0' fill the zeros go after
// a leading sign, as printf's "%05d" does; non-numeric text is never zero-filled.
inline void appendPadded(std::string& out, std::string_view text, std::size_t width, char fill, bool numeric = true)
{
    if (text.size() >= width) {
        out.append(text);
        return;
    }
    const std::size_t padding = width - text.size();
    if (fill == '0' && numeric) {
        if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
            out.push_back(text.front());
            text.remove_prefix(1);
        }
        out.append(padding, '0');
    } else {
        out.append(padding, fill == '0' ? ' ' : fill);
    }
    out.append(text);
}

// Appends an integer column.
inline void appendColumn(std::string& out, long long value, std::size_t width, char fill)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    appendPadded(out, std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)), width, fill);
}

// Appends a real in printf's "%g" notation (six significant digits, no trailing zeros, so a
// whole number prints without a point), independent of the locale.
inline void appendGeneralColumn(std::string& out, double value, std::size_t width, char fill)
{
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 6);
    appendPadded(out, std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)), width, fill,
                 std::isfinite(value));
}
