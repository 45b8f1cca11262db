#include "outputfiles/CsvText.h"

#include "files/InputFile.h"

#include <charconv>
#include <cmath>
#include <limits>

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

std::vector<std::string_view> splitCells(std::string_view text)
{
    std::vector<std::string_view> result;
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

}  // namespace

CsvText::CsvText(std::string fileName, std::string text) : name(std::move(fileName)), content(std::move(text))
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

CsvText CsvText::load(const std::filesystem::path& path, const std::string& shownName)
{
    std::string content;
    if (auto problem = readTextFile(path.string(), content))
        throw BadFile(shownName, 0, "cannot be read (" + *problem + ")");
    return CsvText(shownName, std::move(content));
}

std::string_view CsvText::line(std::size_t number) const
{
    if (number == 0 || number > lines.size())
        return {};
    return lines[number - 1];
}

bool CsvText::isBlank(std::size_t number) const
{
    return trimmed(line(number)).empty();
}

std::vector<std::string_view> CsvText::cells(std::size_t number) const
{
    return splitCells(line(number));
}

std::string CsvText::verbatim(std::size_t first, std::size_t count) const
{
    std::string text;
    for (std::size_t number = first; number < first + count; ++number)
        text.append(line(number)).push_back('\n');
    return text;
}

double CsvText::real(std::size_t lineNumber, std::string_view cell, std::string_view column) const
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

double CsvText::number(std::size_t lineNumber, std::string_view cell, std::string_view column) const
{
    double value = real(lineNumber, cell, column);
    if (!std::isfinite(value))
        fail(lineNumber, "expected a number for " + std::string(column) + ", found " + quoted(cell));
    return value;
}

long long CsvText::integer(std::size_t lineNumber, std::string_view cell, std::string_view column) const
{
    long long value = 0;
    auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
    if (cell.empty() || error != std::errc() || end != cell.data() + cell.size())
        fail(lineNumber, "expected a whole number for " + std::string(column) + ", found " + quoted(cell));
    return value;
}

void CsvText::fail(std::size_t lineNumber, const std::string& problem) const
{
    throw BadFile(name, lineNumber, problem);
}

void CsvText::expectLabels(std::size_t lineNumber, const std::vector<std::string_view>& labels) const
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

void CsvText::expectHeader(std::size_t first, const std::vector<std::string>& header) const
{
    for (std::size_t i = 0; i < header.size(); ++i)
    {
        const std::vector<std::string_view> expected = splitCells(header[i]);
        expectLabels(first + i, expected);
        const std::vector<std::string_view> found = cells(first + i);
        for (std::size_t extra = expected.size(); extra < found.size(); ++extra)
            if (!found[extra].empty())
                fail(first + i,
                     "expected no heading after " + quoted(expected.back()) + ", found " + quoted(found[extra]));
    }
}
