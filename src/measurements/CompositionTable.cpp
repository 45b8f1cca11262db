#include "measurements/CompositionTable.h"

#include "outputfiles/FileLayouts.h"

#include <string>

const char* vehicleClassName(std::size_t vehicleClass)
{
    constexpr const char* names[vehicleClassCount] = {"Car", "Small Truck", "Large Truck", "Crane", "Low-loader"};
    return vehicleClass < vehicleClassCount ? names[vehicleClass] : "";
}

ClassCounts readClassCounts(const CsvText& text, std::size_t line, const std::vector<std::string_view>& cells,
                            std::size_t first)
{
    ClassCounts counts{};
    for (std::size_t vehicleClass = 0; vehicleClass < vehicleClassCount; ++vehicleClass)
    {
        std::string column = std::string("the ") + vehicleClassName(vehicleClass) + " count";
        counts[vehicleClass] = text.integer(line, cells[first + vehicleClass], column);
        if (counts[vehicleClass] < 0)
            text.fail(line, column + " is negative");
    }
    return counts;
}

CompositionTable CompositionTable::read(const CsvText& text)
{
    text.expectHeader(1, FileLayouts::compositionHeader());
    CompositionTable table;
    table.header = text.verbatim(1, 1);
    for (std::size_t line = 2; line <= text.lineCount(); ++line)
    {
        if (text.isBlank(line))
            continue;
        std::vector<std::string_view> cells = text.cells(line);
        if (cells.size() != vehicleClassCount)
            text.fail(line, "expected 5 cells (one per vehicle class), found " + std::to_string(cells.size()));
        table.rows.push_back(readClassCounts(text, line, cells, 0));
    }
    return table;
}
