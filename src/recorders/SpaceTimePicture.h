#pragma once
// A space-time diagram of one direction, ready to draw: the mean speed on a grid of time columns
// and position rows, with what the grid's axes are. SpaceTimeDiagram::picture makes it from a
// recorded run, a lane selection at a time; the charts draw it.

#include <functional>
#include <optional>
#include <vector>

struct SpaceTimePicture
{
    int columns = 0;
    int rows = 0;
    double startTime = 0.0;         // s, the clock at column 0's start
    double secondsPerColumn = 1.0;  // s
    double metresPerRow = 1.0;      // m, row 0 starting at the direction's entry
    std::vector<float> speeds;      // m/s, row-major, row 0 first; not-a-number where nothing passed
    float maximumSpeed = 0.0f;      // m/s, the colour scale's top

    float speedAt(int column, int row) const;
    double endTime() const { return startTime + secondsPerColumn * columns; }
    double length() const { return metresPerRow * rows; }
};

// What a run recorded: its lanes and, for any choice of lanes of one direction, their picture.
struct SpaceTimeSource
{
    struct Lane
    {
        int number = 1;     // road-wide, from 1, as the traffic files number lanes
        int direction = 1;  // 1 or 2
    };

    std::vector<Lane> lanes;
    std::optional<double> runStart;  // s, the clock at the run's start, when known
    std::function<SpaceTimePicture(const std::vector<int>& laneNumbers)> picture;
};
