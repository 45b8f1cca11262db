#pragma once
// Where the road lies in the view's logical coordinates: carriageway bands, ticks, world size and
// the step length in ms, recomputed from the study and the display settings.

#include "app/CDisplaySettings.h"
#include "app/CStudyShape.h"

struct CRoadLayout
{
    bool drivesOnRight = true;
    int roadLength = 0;  // m
    int totalLanes = 0;
    int lanesDir1 = 0;
    int lanesDir2 = 0;
    int numDirections = 1;
    int lanesHeight = 0;  // logical units
    int tickCount = 0;
    int upperLanes = 0;
    int lowerLanes = 0;
    int yTop = 0;      // logical y of the upper road edge
    int yBottom = 0;   // logical y of the lower road edge
    int stepMs = 100;  // time step, ms, rounded
    int worldHeight = 100;
    int worldWidth = 5000;

    void update(const CStudyShape& study, const CDisplaySettings& display);

    // Logical y of the centre of the band of road-wide lane number lane (from 1).
    double laneCentre(int lane, double laneWidth) const;
    // The road-wide lane index (from 0) of the band holding logical y, or -1 off the road.
    int laneIndexAt(int y, double laneWidth) const;
};
