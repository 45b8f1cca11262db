#include "config/CCSVParse.h"

bool CCSVParse::open(const std::string& fileName, const std::string& separatorChars)
{
    file.close();
    file.clear();
    file.open(fileName, std::ios::in | std::ios::binary);
    if (!file.is_open())
        return false;
    separators = separatorChars;
    return true;
}

bool CCSVParse::getLine(std::string& text)
{
    line.clear();
    bool reachedEnd = !file.is_open();
    while (!reachedEnd)
    {
        const int c = file.get();
        if (c == std::char_traits<char>::eof())
        {
            reachedEnd = true;
            break;
        }
        if (c == '\n')
            break;
        if (c == '\r')
        {
            // CR LF is one line end; a lone CR ends the line too.
            if (file.peek() == '\n')
                file.get();
            break;
        }
        if (line.size() < maxLineLength)
            line.push_back(static_cast<char>(c));
    }
    if (file.is_open() && file.eof())
        reachedEnd = true;
    splitLine(line);
    text = line;
    return !reachedEnd;
}

std::string CCSVParse::getField(int n) const
{
    if (n < 0 || n >= fieldCount)
        return std::string();
    return fields[static_cast<std::size_t>(n)];
}

void CCSVParse::close()
{
    file.close();
    file.clear();
}

void CCSVParse::splitLine(const std::string& text)
{
    if (&text != &line)
        line = text;
    fieldCount = 0;
    if (line.empty())
        return;
    std::size_t position = 0;
    std::size_t fieldEnd = 0;
    do
    {
        std::string field;
        if (position < line.size() && line[position] == '"')
            fieldEnd = readQuotedField(position + 1, field);
        else
            fieldEnd = readPlainField(position, field);
        storeField(std::move(field));
        position = fieldEnd + 1;
    } while (fieldEnd < line.size());
}

std::size_t CCSVParse::readPlainField(std::size_t position, std::string& field) const
{
    std::size_t end = line.find_first_of(separators, position);
    if (end == std::string::npos)
        end = line.size();
    field.assign(line, position, end - position);
    return end;
}

std::size_t CCSVParse::readQuotedField(std::size_t position, std::string& field) const
{
    std::size_t j = position;
    while (j < line.size())
    {
        if (line[j] != '"')
        {
            field.push_back(line[j]);
            ++j;
            continue;
        }
        ++j;
        if (j < line.size() && line[j] == '"')
        {
            // A doubled quote stands for one quote character.
            field.push_back('"');
            ++j;
            continue;
        }
        // The quoted part is over; the rest up to the separator is taken as it stands.
        std::size_t end = line.find_first_of(separators, j);
        if (end == std::string::npos)
            end = line.size();
        field.append(line, j, end - j);
        return end;
    }
    return line.size();
}

void CCSVParse::storeField(std::string&& field)
{
    const auto index = static_cast<std::size_t>(fieldCount);
    if (index < fields.size())
        fields[index] = std::move(field);
    else
        fields.push_back(std::move(field));
    ++fieldCount;
}
