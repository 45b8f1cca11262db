#pragma once
// Reading the fixed-width integer columns of traffic-file records, with the C library's atoi
// rules on a column cut out of the line, and the rounding that turns reals into columns.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
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
