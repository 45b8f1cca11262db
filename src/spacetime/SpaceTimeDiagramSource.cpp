#include "spacetime/SpaceTimeDiagramSource.h"

#include "analysis/SpaceTimeDiagram.h"

SpaceTimePicture spaceTimePictureOf(const SpaceTimeDiagram& diagram, const std::vector<int>& laneNumbers)
{
    SpaceTimePicture picture;
    // Columns beyond the run's last sample hold nothing yet.
    picture.columns = diagram.getUsedColumns();
    picture.rows = diagram.getRows();
    picture.startTime = diagram.getStartTime();
    picture.secondsPerColumn = diagram.getSecondsPerColumn();
    picture.metresPerRow = diagram.getMetresPerRow();
    picture.maximumSpeed = diagram.getMaximumSpeed();
    std::vector<float> all = diagram.speedImage(laneNumbers);
    auto fullWidth = static_cast<std::size_t>(diagram.getColumns());
    auto used = static_cast<std::size_t>(picture.columns);
    picture.speeds.reserve(used * static_cast<std::size_t>(picture.rows));
    for (std::size_t row = 0; row < static_cast<std::size_t>(picture.rows); ++row)
        picture.speeds.insert(picture.speeds.end(), all.begin() + static_cast<std::ptrdiff_t>(row * fullWidth),
                              all.begin() + static_cast<std::ptrdiff_t>(row * fullWidth + used));
    return picture;
}

SpaceTimeSource spaceTimeSourceOf(std::shared_ptr<const SpaceTimeDiagram> diagram)
{
    SpaceTimeSource source;
    for (int lane = 1; lane <= diagram->getLaneCount(); ++lane)
        source.lanes.push_back({lane, diagram->getDirectionOfLane(lane)});
    source.picture = [diagram](const std::vector<int>& laneNumbers) {
        return spaceTimePictureOf(*diagram, laneNumbers);
    };
    return source;
}
