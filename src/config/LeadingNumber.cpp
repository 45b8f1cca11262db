#include "config/LeadingNumber.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

namespace {
bool isCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t skipSpace(std::string_view text, std::size_t i)
{
    while (i < text.size() && isCSpace(text[i]))
        ++i;
    return i;
}

std::size_t skipDigits(std::string_view text, std::size_t i)
{
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i;
}

// Length of the decimal number (without sign) that starts at `begin`, 0 when none does.
std::size_t decimalNumberLength(std::string_view text, std::size_t begin)
{
    std::size_t i = skipDigits(text, begin);
    bool anyDigit = i > begin;
    if (i < text.size() && text[i] == '.')
    {
        const std::size_t fractionEnd = skipDigits(text, i + 1);
        anyDigit = anyDigit || fractionEnd > i + 1;
        i = fractionEnd;
    }
    if (!anyDigit)
        return 0;
    // An exponent counts only when it has digits: "2e" reads as 2.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E'))
    {
        std::size_t exponent = i + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        const std::size_t exponentEnd = skipDigits(text, exponent);
        if (exponentEnd > exponent)
            i = exponentEnd;
    }
    return i - begin;
}

// Power of ten of the leading nonzero digit of a well-formed decimal number, saturating; only
// needed to tell an overflowing number from an underflowing one.
long long decimalOrder(std::string_view number)
{
    const std::size_t exponentAt = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, exponentAt);
    long long exponent = 0;
    if (exponentAt != std::string_view::npos)
    {
        std::string_view digits = number.substr(exponentAt + 1);
        const bool negative = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
            digits.remove_prefix(1);
        for (char c : digits)
            exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000'000LL);
        if (negative)
            exponent = -exponent;
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t firstNonZero = mantissa.find_first_of("123456789");
    if (firstNonZero == std::string_view::npos)
        return std::numeric_limits<long long>::min();
    const long long position = firstNonZero < point ? static_cast<long long>(point - firstNonZero) - 1
                                                    : -static_cast<long long>(firstNonZero - point);
    return position + exponent;
}
}

double leadingReal(std::string_view text)
{
    std::size_t i = skipSpace(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t length = decimalNumberLength(text, i);
    if (length == 0)
        return 0.0;
    double magnitude = 0.0;
    const auto result =
        std::from_chars(text.data() + i, text.data() + i + length, magnitude, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        magnitude = decimalOrder(text.substr(i, length)) > 0 ? std::numeric_limits<double>::max() : 0.0;
    return negative ? -magnitude : magnitude;
}

int leadingInteger(std::string_view text)
{
    std::size_t i = skipSpace(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<int>::max()} + 1;
    for (; i < text.size() && isDigit(text[i]); ++i)
    {
        value = value * 10 + (text[i] - '0');
        if (value > limit)
            value = limit;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

double prefixReal(std::string_view text)
{
    return leadingReal(text.substr(0, valuePrefixLength));
}

int prefixInteger(std::string_view text)
{
    return leadingInteger(text.substr(0, valuePrefixLength));
}
