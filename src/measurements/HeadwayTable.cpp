#include "measurements/HeadwayTable.h"

#include "outputfiles/FileLayouts.h"

#include <cmath>
#include <string>

HeadwayTable HeadwayTable::read(const CsvText& text)
{
    const std::string title = FileLayouts::headwayHeader(0).front();
    text.expectLabels(1, {title});
    if (text.lineCount() < 2)
        text.fail(2, "the file ends before its lane headings");
    std::vector<std::string_view> labels = text.cells(2);
    text.expectHeader(1, FileLayouts::headwayHeader(static_cast<int>(labels.size())));

    HeadwayTable table;
    table.header = text.verbatim(1, 2);
    table.lanes.resize(labels.size());
    for (std::size_t line = 3; line <= text.lineCount(); ++line)
    {
        if (text.isBlank(line))
            continue;
        std::vector<std::string_view> cells = text.cells(line);
        if (cells.size() != labels.size())
            text.fail(line, "expected " + std::to_string(labels.size()) + " cells (one per lane), found " +
                                std::to_string(cells.size()));
        for (std::size_t lane = 0; lane < cells.size(); ++lane)
        {
            // A lane with fewer headways in the interval is padded with blank cells.
            double headway = text.real(line, cells[lane], "lane " + std::to_string(lane + 1));
            if (std::isfinite(headway))
                table.lanes[lane].push_back(headway);
        }
    }
    return table;
}

std::vector<double> HeadwayTable::gapsBetweenVehicles(std::size_t lane) const
{
    if (lane >= lanes.size() || lanes[lane].empty())
        return {};
    return std::vector<double>(lanes[lane].begin() + 1, lanes[lane].end());
}
