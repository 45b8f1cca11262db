#include "replications/RunFigureTables.h"

#include "outputfiles/FileLayouts.h"

#include <limits>
#include <numeric>

namespace RunFigureTables {
RunTable headways(const HeadwayTable& file)
{
    RunTable table;
    table.keyLabel = "Lane";
    table.columns = {"Headways", "Mean headway (s)"};
    table.layout = file.header;
    for (std::size_t lane = 0; lane < file.lanes.size(); ++lane)
    {
        const std::vector<double> gaps = file.gapsBetweenVehicles(lane);
        const double count = static_cast<double>(gaps.size());
        const double mean = gaps.empty() ? std::numeric_limits<double>::quiet_NaN()
                                         : std::accumulate(gaps.begin(), gaps.end(), 0.0) / count;
        table.addRow(FileLayouts::laneLabel(lane), {count, mean});
    }
    return table;
}

RunTable laneChangeEvents(const LaneChangeEventTable& file)
{
    double left = 0.0;
    double right = 0.0;
    for (const LaneChangeRecord& event : file.events)
        (event.toLeft ? left : right) += 1.0;
    RunTable table;
    table.keyLabel = "Figure";
    table.columns = {"Count"};
    table.layout = file.header;
    table.addRow("Lane changes", {left + right});
    table.addRow("To the left", {left});
    table.addRow("To the right", {right});
    return table;
}
}
