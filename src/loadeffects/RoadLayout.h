#pragma once
// What the bridges need to know of the road of a run: its length, its lanes and the time step.

struct RoadLayout
{
    double length = 0.0;    // m
    int lanesDir1 = 0;      // road-wide lanes 1 .. lanesDir1
    int lanesDir2 = 0;      // road-wide lanes lanesDir1 + 1 .. lanesDir1 + lanesDir2
    double timeStep = 0.1;  // s

    int totalLanes() const { return lanesDir1 + lanesDir2; }
    int directionOfLane(int lane) const { return lane <= lanesDir1 ? 1 : 2; }
};
