#include "loadeffects/TextLines.h"

#include "files/InputFile.h"

#include <utility>

namespace TextLines {
bool read(const std::string& path, std::vector<std::string>& lines)
{
    // Regular files only (a pipe would hang the read), a byte-order mark read past.
    std::string text;
    if (readTextFile(path, text, maxBytes))
        return false;
    lines.clear();
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const char c = text[i];
        if (c != '\n' && c != '\r')
        {
            line += c;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        lines.push_back(std::move(line));
        line.clear();
    }
    if (!line.empty())
        lines.push_back(std::move(line));
    return true;
}

std::vector<std::string> splitFields(std::string_view line)
{
    std::vector<std::string> fields;
    while (true)
    {
        const auto comma = line.find(',');
        std::string_view field = line.substr(0, comma);
        const auto first = field.find_first_not_of(" \t");
        const auto last = field.find_last_not_of(" \t");
        fields.emplace_back(first == std::string_view::npos ? std::string_view()
                                                            : field.substr(first, last - first + 1));
        if (comma == std::string_view::npos)
            return fields;
        line.remove_prefix(comma + 1);
    }
}

bool isBlank(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}
}
