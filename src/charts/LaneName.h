#pragma once
// The one name of a lane in every chart, legend and table: its direction and its lane counted from
// that direction's kerb side, "D2 lane 1", as the flow, density and headway files count lanes.
// The traffic and lane-change files' road-wide numbers are turned into it.

#include "measurements/RoadLanes.h"

#include <QString>

namespace LaneName {

// laneFromKerb: 1 for the kerb-side lane.
QString of(int direction, int laneFromKerb);
// A road-wide lane number of a file of one direction. When the road's lanes are not known, a
// direction-2 lane keeps its road-wide number, said as such.
QString ofRoadLane(int roadLane, bool directionPositive, const RoadLanes& lanes);

}  // namespace LaneName
