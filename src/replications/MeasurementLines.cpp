#include "replications/MeasurementLines.h"

#include "files/InputFile.h"
#include "replications/ComparisonError.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

MeasurementLines MeasurementLines::load(const std::filesystem::path& path)
{
    std::string content;
    if (auto problem = readTextFile(path.string(), content))
        throw ComparisonError(path.string() + ": the file cannot be read (" + *problem + ")");
    return MeasurementLines(path.string(), content);
}

MeasurementLines::MeasurementLines(std::string fileName, const std::string& content)
    : text(std::move(fileName), content)
{
}

bool MeasurementLines::isBlank(std::size_t index) const
{
    return text.isBlank(index + 1);
}

std::vector<std::string> MeasurementLines::cells(std::size_t index) const
{
    const std::vector<std::string_view> views = text.cells(index + 1);
    return {views.begin(), views.end()};
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
    throw ComparisonError(text.fileName() + ", line " + std::to_string(index + 1) + ": " + problem);
}
