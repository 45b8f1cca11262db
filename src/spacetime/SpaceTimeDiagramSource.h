#pragma once
// A recorded run's space-time diagram as the Results window draws it: its lanes and, for a choice
// of lanes, the picture of the columns the run filled.

#include "measurements/SpaceTimePicture.h"

#include <memory>

class SpaceTimeDiagram;

// The diagram is shared: the source keeps it for as long as the window shows it.
SpaceTimeSource spaceTimeSourceOf(std::shared_ptr<const SpaceTimeDiagram> diagram);
SpaceTimePicture spaceTimePictureOf(const SpaceTimeDiagram& diagram, const std::vector<int>& laneNumbers);
