#pragma once
// The chart of a recorded space-time diagram: one direction's paths coloured by speed, against
// the time of day and road x.

#include "charts/ResultCharts.h"
#include "recorders/SpaceTimePicture.h"

// The chart of one picture; `what` names the direction and lanes.
ResultChart spaceTimeChart(const SpaceTimePicture& picture, const QString& what, int direction);
