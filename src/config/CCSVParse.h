#pragma once
// The small comma-separated line parser behind the configuration file: reads a text file one
// line at a time (CR, LF or CR LF endings) and splits each line into fields, honouring quotes.

#include <fstream>
#include <string>
#include <vector>

class CCSVParse
{
public:
    CCSVParse() = default;
    virtual ~CCSVParse() = default;

    // Opens the file for reading; on success keeps the separator characters. On failure the
    // separators stay as they were.
    bool open(const std::string& fileName, const std::string& separatorChars);

    // Reads the next line into `text` (and keeps it, split); characters beyond maxLineLength are
    // skipped, so that a file without line ends cannot exhaust memory. False once the end of the file was
    // reached while reading this line; the text read up to there is still delivered.
    bool getLine(std::string& text);

    // Field n (from 0) of the current line, or "" when there is no such field.
    std::string getField(int n) const;
    int getFieldCount() const { return fieldCount; }

    void close();

    // Makes `text` the current line and splits it at the separators, as getLine does after reading.
    void splitLine(const std::string& text);

    static constexpr std::size_t maxLineLength = 64 * 1024;

    void setSeparators(const std::string& separatorChars) { separators = separatorChars; }

private:
    std::size_t readQuotedField(std::size_t position, std::string& field) const;
    std::size_t readPlainField(std::size_t position, std::string& field) const;
    void storeField(std::string&& field);

    std::ifstream file;
    std::string line;
    // Only grows: entries at and beyond fieldCount are left over from longer earlier lines.
    std::vector<std::string> fields;
    int fieldCount = 0;
    std::string separators = ",";
};
