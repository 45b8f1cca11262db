#include "replications/MeasurementLines.h"

#include "replications/ComparisonError.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <utility>

namespace {
std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}
}

MeasurementLines MeasurementLines::load(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ComparisonError(path.string() + ": the file cannot be read");
    std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        throw ComparisonError(path.string() + ": the file cannot be read");
    return MeasurementLines(path.string(), content);
}

MeasurementLines::MeasurementLines(std::string fileName, const std::string& content) : name(std::move(fileName))
{
    std::size_t start = 0;
    while (start < content.size())
    {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string text = content.substr(start, end - start);
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        lines.push_back(std::move(text));
        start = end + 1;
    }
}

bool MeasurementLines::isBlank(std::size_t index) const
{
    return trimmed(lines[index]).empty();
}

std::vector<std::string> MeasurementLines::cells(std::size_t index) const
{
    std::vector<std::string> result;
    const std::string& text = lines[index];
    std::size_t start = 0;
    while (true)
    {
        const std::size_t comma = text.find(',', start);
        result.push_back(trimmed(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (comma == std::string::npos)
            return result;
        start = comma + 1;
    }
}

double MeasurementLines::number(std::size_t index, const std::string& cell, const std::string& column) const
{
    constexpr double missing = std::numeric_limits<double>::quiet_NaN();
    if (cell.empty())
        return missing;
    double value = 0.0;
    const char* end = cell.data() + cell.size();
    const auto [stop, error] = std::from_chars(cell.data() + (cell.front() == '+' ? 1 : 0), end, value);
    if (error == std::errc::result_out_of_range)
        return missing;
    if (error != std::errc() || stop != end)
        fail(index, column + ": \"" + cell + "\" is not a number");
    return std::isfinite(value) ? value : missing;
}

void MeasurementLines::fail(std::size_t index, const std::string& problem) const
{
    throw ComparisonError(name + ", line " + std::to_string(index + 1) + ": " + problem);
}
