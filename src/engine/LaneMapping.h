#pragma once
// Where a traffic-file record's lane lies on the road: direction 2's file lanes are counted back
// from the road's last lane, and a record whose lane is not one of its direction's road lanes
// cannot drive here. The road releases vehicles by it; a survey of the input before a run
// finds the records it would skip.

struct LaneMapping
{
    int lanesDir1 = 0;      // road lanes of direction 1
    int lanesDir2 = 0;      // road lanes of direction 2
    int fileLanesDir1 = 0;  // lanes of direction 1 in the traffic file
    int fileLanesDir2 = 0;  // lanes of direction 2 in the traffic file

    int totalLanes() const { return lanesDir1 + lanesDir2; }

    // The road-wide lane (from 1) of a record's lane as the file states it.
    int roadLane(bool directionPositive, int fileLane) const
    {
        if (directionPositive)
            return fileLane;
        return totalLanes() - ((fileLanesDir1 + fileLanesDir2) - fileLane);
    }

    // Whether a road-wide lane is one of the direction's lanes on this road.
    bool isOnRoad(bool directionPositive, int lane) const
    {
        if (directionPositive)
            return lane >= 1 && lane <= lanesDir1;
        return lane > lanesDir1 && lane <= totalLanes();
    }
};
