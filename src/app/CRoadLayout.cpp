#include "app/CRoadLayout.h"

namespace {
int truncated(double v)
{
    return static_cast<int>(v);
}
}

void CRoadLayout::update(const CStudyShape& study, const CDisplaySettings& display)
{
    drivesOnRight = study.drivesOnRight;
    roadLength = study.roadLength;
    totalLanes = study.totalLanes;
    lanesDir1 = study.lanesDir1;
    lanesDir2 = study.lanesDir2;
    numDirections = study.numDirections;
    lanesHeight = truncated(totalLanes * display.laneWidth);
    // A tick interval below 1 m would divide by zero; such a scale simply has no ticks.
    tickCount = display.tickInterval >= 1 && roadLength >= 0 ? roadLength / display.tickInterval + 1 : 0;
    upperLanes = drivesOnRight ? lanesDir2 : lanesDir1;
    lowerLanes = drivesOnRight ? lanesDir1 : lanesDir2;
    yTop = truncated(-upperLanes * display.laneWidth);
    yBottom = truncated(lowerLanes * display.laneWidth);
    stepMs = truncated(study.timeStep * 1000.0 + 0.5);
    worldHeight = truncated(display.borderTop + display.borderBottom + lanesHeight);
    worldWidth = truncated(display.borderLeft + display.borderRight + roadLength);
}

double CRoadLayout::laneCentre(int lane, double laneWidth) const
{
    return drivesOnRight ? yBottom - (lane - 0.5) * laneWidth : yTop + (lane - 0.5) * laneWidth;
}

int CRoadLayout::laneIndexAt(int y, double laneWidth) const
{
    if (y <= yTop || y >= yBottom)
        return -1;
    // A click on the line between two bands counts for the band below it.
    int band = 1;
    while (y < truncated(yBottom - band * laneWidth))
        ++band;
    if (band > totalLanes)
        return -1;
    return drivesOnRight ? band - 1 : totalLanes - band;
}
