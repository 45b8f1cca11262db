#pragma once
// What a frame shows of the study besides the vehicles: its road features, its statistics
// detectors and its two output detectors, copied from the document.

#include <vector>

struct CFeatureMark
{
    int type = 400;  // 400 speed limit, 401 gradient
    bool directionPositive = true;
    int start = 0;   // m, road x
    int end = 0;     // m, road x
    double value = 0.0;  // m/s for a speed limit, % for a gradient
};

struct CDetectorMark
{
    int kind = 510;  // 510 flow and density, 511 headway, 512 composition, 513 lane changes
    bool directionPositive = true;
    int location = 0;  // m, road x
};

struct CRoadScene
{
    std::vector<CFeatureMark> features;
    std::vector<CDetectorMark> detectors;
    int outputDetectorLocation1 = 0;  // m, road x
    int outputDetectorLocation2 = 0;  // m, road x
};
