#pragma once
// The lines of one measurement file split into comma-separated cells, as the measurements layer
// splits them, with the comparison's reader for the numbers in them: it names the file, line and
// column of anything it cannot read, and takes a value out of range as missing.

#include "measurements/MeasurementText.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

class MeasurementLines
{
public:
    // Throws ComparisonError when the file cannot be read.
    static MeasurementLines load(const std::filesystem::path& path);
    // name is used in messages only.
    MeasurementLines(std::string name, const std::string& content);

    std::size_t count() const { return text.lineCount(); }
    // Lines are counted from 0 here and from 1 in messages.
    std::string line(std::size_t index) const { return std::string(text.line(index + 1)); }
    bool isBlank(std::size_t index) const;
    // The cells of a line without the spaces around them.
    std::vector<std::string> cells(std::size_t index) const;

    // An empty cell, or one that holds no finite number ("nan", "inf"), is a missing value: NaN.
    // Anything else that is not a number throws ComparisonError.
    double number(std::size_t index, const std::string& cell, const std::string& column) const;
    [[noreturn]] void fail(std::size_t index, const std::string& problem) const;
    const std::string& fileName() const { return text.fileName(); }

private:
    MeasurementText text;
};
