#include "measurements/MeasurementText.h"

#include "files/InputFile.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

namespace {

std::string_view trimmed(std::string_view text)
{
    const char* blanks = " \t\r";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

std::string quoted(std::string_view cell)
{
    constexpr std::size_t shown = 40;
    std::string text(cell.substr(0, shown));
    if (cell.size() > shown)
        text += "...";
    return "\"" + text + "\"";
}

}  // namespace

MeasurementText::MeasurementText(std::string fileName, std::string text)
    : name(std::move(fileName)), content(std::move(text))
{
    std::string_view all(content);
    std::size_t start = 0;
    while (start < all.size())
    {
        std::size_t end = all.find('\n', start);
        if (end == std::string_view::npos)
            end = all.size();
        std::string_view one = all.substr(start, end - start);
        if (!one.empty() && one.back() == '\r')
            one.remove_suffix(1);
        lines.push_back(one);
        start = end + 1;
    }
}

MeasurementText MeasurementText::load(const std::filesystem::path& path)
{
    std::string fileName = path.filename().string();
    std::string content;
    if (auto problem = readTextFile(path.string(), content))
        throw MeasurementFormatError(fileName + ": cannot be read (" + *problem + ")");
    return MeasurementText(fileName, std::move(content));
}

std::string_view MeasurementText::line(std::size_t number) const
{
    if (number == 0 || number > lines.size())
        return {};
    return lines[number - 1];
}

bool MeasurementText::isBlank(std::size_t number) const
{
    return trimmed(line(number)).empty();
}

std::vector<std::string_view> MeasurementText::cells(std::size_t number) const
{
    std::vector<std::string_view> result;
    std::string_view text = line(number);
    std::size_t start = 0;
    while (true)
    {
        std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos)
        {
            result.push_back(trimmed(text.substr(start)));
            return result;
        }
        result.push_back(trimmed(text.substr(start, comma - start)));
        start = comma + 1;
    }
}

double MeasurementText::real(std::size_t lineNumber, std::string_view cell, std::string_view column) const
{
    if (cell.empty())
        return std::numeric_limits<double>::quiet_NaN();
    double value = 0.0;
    auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
    if (error == std::errc::result_out_of_range)
        fail(lineNumber, std::string(column) + " is out of range: " + quoted(cell));
    if (error != std::errc() || end != cell.data() + cell.size())
        fail(lineNumber, "expected a number for " + std::string(column) + ", found " + quoted(cell));
    // Other programs write "nan" or "inf" where this one leaves the cell empty.
    if (!std::isfinite(value))
        return std::numeric_limits<double>::quiet_NaN();
    return value;
}

long long MeasurementText::integer(std::size_t lineNumber, std::string_view cell, std::string_view column) const
{
    long long value = 0;
    auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
    if (cell.empty() || error != std::errc() || end != cell.data() + cell.size())
        fail(lineNumber, "expected a whole number for " + std::string(column) + ", found " + quoted(cell));
    return value;
}

void MeasurementText::fail(std::size_t lineNumber, const std::string& problem) const
{
    throw MeasurementFormatError(name + ", line " + std::to_string(lineNumber) + ": " + problem);
}

void MeasurementText::expectLabels(std::size_t lineNumber, const std::vector<std::string_view>& labels) const
{
    if (lineNumber > lines.size())
        fail(lineNumber, "the file ends before its header is complete");
    std::vector<std::string_view> found = cells(lineNumber);
    for (std::size_t i = 0; i < labels.size(); ++i)
    {
        std::string_view cell = i < found.size() ? found[i] : std::string_view();
        if (cell != labels[i])
            fail(lineNumber, "expected the heading " + quoted(labels[i]) + ", found " + quoted(cell));
    }
}
