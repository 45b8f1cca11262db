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
}

namespace LoadEffectOutputs {
IntervalRowsResult readIntervals(const std::string& path)
{
    IntervalRowsResult result;
    std::vector<std::string> lines;
    if (!readLines(path, lines, result.problem))
        return result;
    std::vector<double> v;
    for (std::size_t i = 1; i < lines.size(); ++i)
    {
        if (TextLines::isBlank(lines[i]))
            continue;
        if (!numbers(lines[i], 8, v))
        {
            result.problem = lineProblem(path, i + 1, "expected 8 numbers, found \"" + lines[i] + "\"");
            return result;
        }
        result.rows.push_back(
            {static_cast<long long>(v[0]), v[1], v[2], v[3], v[4], v[5], static_cast<long long>(v[6]), v[7]});
    }
    return result;
}

SecondRowsResult readSeconds(const std::string& path)
{
    SecondRowsResult result;
    std::vector<std::string> lines;
    if (!readLines(path, lines, result.problem))
        return result;
    std::vector<double> v;
    for (std::size_t i = 1; i < lines.size(); ++i)
    {
        if (TextLines::isBlank(lines[i]))
            continue;
        if (!numbers(lines[i], 4, v))
        {
            result.problem = lineProblem(path, i + 1, "expected 4 numbers, found \"" + lines[i] + "\"");
            return result;
        }
        result.rows.push_back({static_cast<long long>(v[0]), v[1], v[2], v[3]});
    }
    return result;
}

LoadEventsResult readEvents(const std::string& path)
{
    LoadEventsResult result;
    std::vector<std::string> lines;
    if (!readLines(path, lines, result.problem))
        return result;
    std::vector<double> v;
    double rank = 0.0;
    for (std::size_t i = 1; i < lines.size(); ++i)
    {
        if (TextLines::isBlank(lines[i]))
            continue;
        if (!numbers(lines[i], 8, v))
        {
            result.problem = lineProblem(path, i + 1, "expected 8 numbers, found \"" + lines[i] + "\"");
            return result;
        }
        if (v[0] != rank)
        {
            result.events.push_back({v[2], v[1], {}});
            rank = v[0];
        }
        result.events.back().vehicles.push_back(
            {static_cast<long long>(v[3]), static_cast<short>(v[4]), v[5], static_cast<int>(v[6]), v[7]});
    }
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
