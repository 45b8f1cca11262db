#pragma once
// The text of one measurement file, split into lines and comma-separated cells, with readers
// for its numbers that name the file, line and cell of anything they cannot read.

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A measurement file that does not have the expected shape; the message names file and line.
class MeasurementFormatError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class MeasurementText
{
public:
    // fileName is used in messages only.
    MeasurementText(std::string fileName, std::string content);
    // Throws MeasurementFormatError when the file cannot be read.
    static MeasurementText load(const std::filesystem::path& path);
    // The lines are views into the text: a copy or move would leave them in the old object.
    MeasurementText(const MeasurementText&) = delete;
    MeasurementText& operator=(const MeasurementText&) = delete;

    const std::string& fileName() const { return name; }
    // Lines are numbered from 1; the line feed that ends the file opens no further line.
    std::size_t lineCount() const { return lines.size(); }
    std::string_view line(std::size_t number) const;
    bool isBlank(std::size_t number) const;
    // The cells of a line, separated by commas, without surrounding spaces.
    std::vector<std::string_view> cells(std::size_t number) const;

    // A cell that must hold a number; an empty cell is not-a-number (a lane without vehicles).
    double real(std::size_t lineNumber, std::string_view cell, std::string_view column) const;
    long long integer(std::size_t lineNumber, std::string_view cell, std::string_view column) const;
    // Throws MeasurementFormatError: "<file>, line <n>: <problem>".
    [[noreturn]] void fail(std::size_t lineNumber, const std::string& problem) const;
    // Fails unless the line's cells start with the expected labels.
    void expectLabels(std::size_t lineNumber, const std::vector<std::string_view>& labels) const;

private:
    std::string name;
    std::string content;
    std::vector<std::string_view> lines;
};
