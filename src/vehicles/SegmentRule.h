#pragma once
// The entry and exit rule that a lane applies to a vehicle after each move, over its
// direction's segments sorted by start. Kept apart from the lane so it can be tested alone.

#include <vector>

class RoadSegment;
class Vehicle;

// xBefore and xAfter: the vehicle's position (m) before and after its move.
void applySegmentRule(const std::vector<RoadSegment*>& sortedSegments, double xBefore, double xAfter, Vehicle* vehicle);
