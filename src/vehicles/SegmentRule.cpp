#include "vehicles/SegmentRule.h"

#include "vehicles/RoadSegment.h"
#include "vehicles/Vehicle.h"

// The front crosses the start in this move (landing on it counts). A vehicle already standing
// on the start was entered by the move that brought it there. One released inside a segment
// is entered by its first move off position 0.
static bool entersIn(const RoadSegment& segment, double xBefore, double xAfter)
{
    const double start = segment.getStart();
    if (xBefore < start && start <= xAfter)
        return true;
    const bool firstMoveOffEntry = xBefore == 0.0 && xAfter > 0.0;
    return firstMoveOffEntry && start <= 0.0 && 0.0 < segment.getEnd();
}

static bool leavesIn(const RoadSegment& segment, double xBefore, double xAfter)
{
    const double end = segment.getEnd();
    return xBefore < end && end <= xAfter;
}

static bool covers(const RoadSegment& segment, double x)
{
    return segment.getStart() <= x && x < segment.getEnd();
}

void applySegmentRule(const std::vector<RoadSegment*>& sortedSegments, double xBefore, double xAfter, Vehicle* vehicle)
{
    if (!vehicle)
        return;
    bool entered = false;
    bool left = false;
    for (RoadSegment* segment : sortedSegments)
    {
        const bool enters = entersIn(*segment, xBefore, xAfter);
        const bool leaves = leavesIn(*segment, xBefore, xAfter);
        // Passed whole within one move: the driver never drove inside it.
        if (enters && leaves)
            continue;
        if (enters)
        {
            segment->enter(*vehicle);
            entered = true;
        }
        else if (leaves)
        {
            segment->leave(*vehicle);
            left = true;
        }
    }
    if (!left || entered)
        return;

    // Leaving restored single saved slots: a segment still covering the vehicle applies again.
    for (RoadSegment* segment : sortedSegments)
    {
        if (covers(*segment, xAfter))
        {
            segment->enter(*vehicle);
            return;
        }
    }
    vehicle->getDriverModel()->resetDesiredVelocity();
}
