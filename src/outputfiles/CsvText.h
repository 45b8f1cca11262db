#pragma once
// The text of one output file split into lines and comma-separated cells, with readers for its
// numbers and header lines that throw BadFile naming the file, the line and the cell.

#include "outputfiles/BadFile.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class CsvText
{
public:
    // `fileName` names the file in messages only.
    CsvText(std::string fileName, std::string content);
    // Reads the file at `path` (regular files only, a byte-order mark read past); messages call it
    // `shownName`. Throws BadFile when it cannot be read.
    static CsvText load(const std::filesystem::path& path, const std::string& shownName);
    // The lines are views into the text: a copy or move would leave them in the old object.
    CsvText(const CsvText&) = delete;
    CsvText& operator=(const CsvText&) = delete;

    const std::string& fileName() const { return name; }
    // Lines are numbered from 1; the line feed that ends the file opens no further line.
    std::size_t lineCount() const { return lines.size(); }
    std::string_view line(std::size_t number) const;
    bool isBlank(std::size_t number) const;
    // The cells of a line, separated by commas, without surrounding spaces.
    std::vector<std::string_view> cells(std::size_t number) const;
    // Lines first .. first + count - 1 as written, each ended by a line feed: runs whose headers
    // differ had other detectors.
    std::string verbatim(std::size_t first, std::size_t count) const;

    // A cell that must hold a number; an empty cell is not-a-number (a lane without vehicles).
    double real(std::size_t lineNumber, std::string_view cell, std::string_view column) const;
    // The same, but the cell must not be empty.
    double number(std::size_t lineNumber, std::string_view cell, std::string_view column) const;
    long long integer(std::size_t lineNumber, std::string_view cell, std::string_view column) const;
    [[noreturn]] void fail(std::size_t lineNumber, const std::string& problem) const;
    // Fails unless the line's cells start with the expected labels.
    void expectLabels(std::size_t lineNumber, const std::vector<std::string_view>& labels) const;
    // Fails unless the lines from `first` on hold the cells of `header`, a writer's header lines.
    void expectHeader(std::size_t first, const std::vector<std::string>& header) const;

private:
    std::string name;
    std::string content;
    std::vector<std::string_view> lines;
};
