#include "recorders/TrajectoryCsvWriter.h"

#include <charconv>
#include <cmath>
#include <ostream>

namespace {
constexpr int decimals = 3;
constexpr double scale = 1000.0;  // 10^decimals
// Beyond this the scaled value could overflow its integer; such values take the slow path.
constexpr double fastLimit = 1e12;
// Room for a row even with every real on the slow path (up to 309 digits before the point).
constexpr std::size_t rowBytes = 2048;
// Few large writes rather than one per snapshot.
constexpr std::size_t chunkBytes = std::size_t{64} << 10;

char* putInteger(char* out, long long value)
{
    return std::to_chars(out, out + 24, value).ptr;
}

// Fixed with three decimals, from the value rounded to thousandths: much faster than the exact
// formatting of the binary value, and the same text but for its ties in the last bit.
char* putReal(char* out, double value)
{
    // Not-a-number never comes from a moving vehicle; an empty cell is what a reader expects.
    if (!std::isfinite(value))
        return out;
    if (std::abs(value) >= fastLimit)
        return std::to_chars(out, out + 400, value, std::chars_format::fixed, decimals).ptr;
    const double scaled = value * scale;
    long long thousandths = static_cast<long long>(scaled < 0.0 ? scaled - 0.5 : scaled + 0.5);
    if (thousandths < 0)
    {
        *out++ = '-';
        thousandths = -thousandths;
    }
    out = putInteger(out, thousandths / 1000);
    const auto fraction = static_cast<int>(thousandths % 1000);
    *out++ = '.';
    *out++ = static_cast<char>('0' + fraction / 100);
    *out++ = static_cast<char>('0' + fraction / 10 % 10);
    *out++ = static_cast<char>('0' + fraction % 10);
    return out;
}
}

TrajectoryCsvWriter::TrajectoryCsvWriter(std::ostream& stream) : out(stream)
{
    out << header << '\n';
}

void TrajectoryCsvWriter::addSnapshot(double time, std::span<const TrajectorySample> samples)
{
    char row[rowBytes];
    for (const TrajectorySample& sample : samples)
    {
        char* end = putReal(row, time);
        *end++ = ',';
        end = putInteger(end, sample.direction);
        *end++ = ',';
        end = putInteger(end, sample.lane);
        *end++ = ',';
        end = putReal(end, sample.position);
        *end++ = ',';
        end = putReal(end, sample.velocity);
        *end++ = ',';
        end = putReal(end, sample.acceleration);
        *end++ = ',';
        end = putInteger(end, sample.vehicleClass);
        *end++ = ',';
        end = putInteger(end, sample.vehicle);
        *end++ = '\n';
        text.append(row, end);
    }
    rows += static_cast<std::int64_t>(samples.size());
    if (text.size() >= chunkBytes)
        flush();
}

void TrajectoryCsvWriter::flush()
{
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    text.clear();
}
