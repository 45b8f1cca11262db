#include "charts/LaneName.h"

namespace LaneName {

QString of(int direction, int laneFromKerb)
{
    return QStringLiteral("D%1 lane %2").arg(direction).arg(laneFromKerb);
}

QString ofRoadLane(int roadLane, bool directionPositive, const RoadLanes& lanes)
{
    if (const std::optional<RoadLanes::Lane> lane = lanes.ofRoadLane(roadLane, directionPositive))
        return of(lane->direction, lane->fromKerb);
    return QStringLiteral("D%1 road-wide lane %2").arg(directionPositive ? 1 : 2).arg(roadLane);
}

}  // namespace LaneName
