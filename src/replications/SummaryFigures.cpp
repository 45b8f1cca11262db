#include "replications/SummaryFigures.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>
#include <string>

namespace {
std::optional<double> wholeNumber(const std::string& token)
{
    double value = 0.0;
    const char* end = token.data() + token.size();
    const auto [stop, error] = std::from_chars(token.data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string withoutParentheses(const std::string& text)
{
    std::string kept;
    int depth = 0;
    for (char c : text)
    {
        if (c == '(')
            ++depth;
        else if (c == ')' && depth > 0)
            --depth;
        else if (depth == 0)
            kept += c;
    }
    return kept;
}

std::vector<std::string> words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> result;
    for (std::string word; in >> word;)
        result.push_back(word);
    return result;
}

std::string joined(std::vector<std::string>::const_iterator first, std::vector<std::string>::const_iterator last)
{
    std::string text;
    for (auto it = first; it != last; ++it)
        text += (text.empty() ? "" : " ") + *it;
    return text;
}

// "mean 0.70" → {"mean", 0.70}; "0 vehicles waited" → {"vehicles waited", 0}; "1265" → {"", 1265}.
std::optional<std::pair<std::string, double>> namedNumber(const std::string& part)
{
    const std::vector<std::string> tokens = words(part);
    if (tokens.empty())
        return std::nullopt;
    if (const auto value = wholeNumber(tokens.back()); value && tokens.size() > 1)
        return std::pair{joined(tokens.begin(), tokens.end() - 1), *value};
    if (const auto value = wholeNumber(tokens.front()))
        return std::pair{joined(tokens.begin() + 1, tokens.end()), *value};
    return std::nullopt;
}

const char* const startLabel = "Simulated start";
const char* const endLabel = "Simulated end";
}

namespace SummaryFigures {
RunTable read(const CsvText& summary)
{
    RunTable table;
    table.keyLabel = "Figure";
    table.columns = {"Value"};
    for (std::size_t number = 1; number <= summary.lineCount(); ++number)
    {
        const std::string line(summary.line(number));
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string label = line.substr(0, colon);
        // The wall time measures the machine and the seed names the run: neither is a figure of it.
        if (label == "Wall time" || label == "Seed")
            continue;
        std::string parts = withoutParentheses(line.substr(colon + 1));
        std::replace(parts.begin(), parts.end(), ';', ',');
        std::istringstream in(parts);
        bool first = true;
        for (std::string part; std::getline(in, part, ','); first = false)
        {
            auto figure = namedNumber(part);
            if (!figure)
                continue;
            // The first number stands for the line: "Simulated end: 28950.45 s".
            const bool unitOnly = first && wholeNumber(words(part).front()).has_value();
            std::string name = unitOnly || figure->first.empty() ? label : label + ": " + figure->first;
            if (std::find(table.keys.begin(), table.keys.end(), name) == table.keys.end())
                table.addRow(std::move(name), {figure->second});
        }
    }
    return table;
}

std::optional<std::string> seedOf(const CsvText& summary)
{
    for (std::size_t number = 1; number <= summary.lineCount(); ++number)
    {
        const std::string_view line = summary.line(number);
        if (line.starts_with("Seed:"))
        {
            const std::vector<std::string> said = words(std::string(line.substr(5)));
            return joined(said.begin(), said.end());
        }
    }
    return std::nullopt;
}

std::optional<std::pair<double, double>> simulatedSpan(const RunTable& figures)
{
    const auto value = [&figures](const char* label) -> std::optional<double> {
        const auto it = std::find(figures.keys.begin(), figures.keys.end(), label);
        if (it == figures.keys.end())
            return std::nullopt;
        return figures.rows[static_cast<std::size_t>(it - figures.keys.begin())].front();
    };
    const auto start = value(startLabel);
    const auto end = value(endLabel);
    if (!start || !end || !(*end >= *start))
        return std::nullopt;
    return std::make_pair(*start, *end);
}

std::optional<double> runSeconds(const RunTable& figures)
{
    const auto span = simulatedSpan(figures);
    if (!span)
        return std::nullopt;
    return span->second - span->first;
}
}
