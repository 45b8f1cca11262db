#pragma once
// The rows of a composition file: per interval the vehicles of each of the five classes.

#include "outputfiles/CsvText.h"

#include <array>
#include <string>
#include <vector>

// Vehicle classes in the order of the files' columns: Car, Small Truck, Large Truck, Crane,
// Low-loader.
constexpr std::size_t vehicleClassCount = 5;
using ClassCounts = std::array<long long, vehicleClassCount>;

struct CompositionTable
{
    std::vector<ClassCounts> rows;  // one per interval, the first interval first
    std::string header;             // the header line as written

    static CompositionTable read(const CsvText& text);
};

// The class names used in chart legends: "Car", "Small Truck", ...
const char* vehicleClassName(std::size_t vehicleClass);

// Reads the five class counts from cells first .. first + 4 of a line.
ClassCounts readClassCounts(const CsvText& text, std::size_t line, const std::vector<std::string_view>& cells,
                            std::size_t first);
