#pragma once
// The measurement files that list single passages or events rather than intervals, as the
// measurements layer reads them, each reduced to a few figures of the whole run, which are
// compared across runs.

#include "measurements/HeadwayTable.h"
#include "measurements/LaneChangeTables.h"
#include "replications/RunTable.h"

namespace RunFigureTables {
// Head_: per lane, the number of headways and their mean (s). A lane's first headway is left
// out: it is counted from time 0, not from a vehicle, and would outweigh the rest.
RunTable headways(const HeadwayTable& file);
// LC_All_: the number of lane changes, to the left and to the right.
RunTable laneChangeEvents(const LaneChangeEventTable& file);
}
