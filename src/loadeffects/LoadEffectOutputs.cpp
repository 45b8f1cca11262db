#include "loadeffects/LoadEffectOutputs.h"

#include "loadeffects/BridgeFields.h"
#include "loadeffects/TextLines.h"

#include <cmath>

namespace {
std::string lineProblem(const std::string& path, std::size_t line, const std::string& what)
{
    return path + ": line " + std::to_string(line) + ": " + what;
}

// Every cell of the line as a number; false when the count differs or a cell is not one.
bool numbers(const std::string& line, std::size_t count, std::vector<double>& values)
{
    const std::vector<std::string> cells = TextLines::splitFields(line);
    if (cells.size() != count)
        return false;
    values.assign(count, 0.0);
    for (std::size_t i = 0; i < count; ++i)
        if (!BridgeFields::parseNumber(cells[i], values[i]))
            return false;
    return true;
}

bool readLines(const std::string& path, std::vector<std::string>& lines, std::string& problem)
{
    if (!TextLines::read(path, lines))
    {
        problem = path + ": the file cannot be read";
        return false;
    }
    if (lines.empty())
    {
        problem = path + ": the file is empty";
        return false;
    }
    return true;
}

// Hands each data line after the header to `take` as `count` numbers; the problem names the
// first line that is not such a line.
template <class Take>
std::string forEachRow(const std::string& path, std::size_t count, Take take)
{
    std::string problem;
    std::vector<std::string> lines;
    if (!readLines(path, lines, problem))
        return problem;
    std::vector<double> v;
    for (std::size_t i = 1; i < lines.size(); ++i)
    {
        if (TextLines::isBlank(lines[i]))
            continue;
        if (!numbers(lines[i], count, v))
            return lineProblem(path, i + 1,
                               "expected " + std::to_string(count) + " numbers, found \"" + lines[i] + "\"");
        take(v);
    }
    return problem;
}
}

namespace LoadEffectOutputs {
IntervalRowsResult readIntervals(const std::string& path)
{
    IntervalRowsResult result;
    result.problem = forEachRow(path, 8, [&](const std::vector<double>& v) {
        result.rows.push_back(
            {static_cast<long long>(v[0]), v[1], v[2], v[3], v[4], v[5], static_cast<long long>(v[6]), v[7]});
    });
    return result;
}

SecondRowsResult readSeconds(const std::string& path)
{
    SecondRowsResult result;
    result.problem = forEachRow(path, 4, [&](const std::vector<double>& v) {
        result.rows.push_back({static_cast<long long>(v[0]), v[1], v[2], v[3]});
    });
    return result;
}

LoadEventsResult readEvents(const std::string& path)
{
    LoadEventsResult result;
    double rank = 0.0;
    result.problem = forEachRow(path, 8, [&](const std::vector<double>& v) {
        if (v[0] != rank)
        {
            result.events.push_back({v[2], v[1], {}});
            rank = v[0];
        }
        result.events.back().vehicles.push_back(
            {static_cast<long long>(v[3]), static_cast<short>(v[4]), v[5], static_cast<int>(v[6]), v[7]});
    });
    return result;
}

std::vector<double> completeMaxima(const std::vector<IntervalRow>& rows, double interval)
{
    std::vector<double> maxima;
    for (const IntervalRow& row : rows)
        if (std::abs(row.duration - interval) <= 1e-6 * interval + 0.005)
            maxima.push_back(row.maximum);
    return maxima;
}
}
