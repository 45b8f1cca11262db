#pragma once
// What a frame shows of the study besides the vehicles: its road features, its statistics
// detectors, its two output detectors and its bridges, copied from the document.

#include <string>
#include <vector>

struct CFeatureMark
{
    int type = 400;  // 400 speed limit, 401 gradient
    bool directionPositive = true;
    int start = 0;       // m, road x
    int end = 0;         // m, road x
    double value = 0.0;  // m/s for a speed limit, % for a gradient
};

struct CDetectorMark
{
    int kind = 510;  // 510 flow and density, 511 headway, 512 composition, 513 lane changes
    bool directionPositive = true;
    int location = 0;  // m, road x
};

struct CBridgeMark
{
    std::string name;
    double start = 0.0;   // m, road x
    double length = 0.0;  // m along the road
};

struct CRoadScene
{
    std::vector<CFeatureMark> features;
    std::vector<CDetectorMark> detectors;
    std::vector<CBridgeMark> bridges;
    int outputDetectorLocation1 = 0;  // m, road x
    int outputDetectorLocation2 = 0;  // m, road x
};
