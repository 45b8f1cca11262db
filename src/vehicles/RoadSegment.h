#pragma once
// A stretch of one direction of the road in which drivers behave differently. The lane
// reports each move to its direction's segments, which change the driver model on entry and
// restore it on exit.

#include <array>

class CIDMParameterSet;
class Vehicle;

class RoadSegment
{
public:
    // start and end in metres travelled along the segment's direction, start <= end.
    RoadSegment(int start, int end, bool directionPositive);

    virtual void leave(Vehicle& vehicle);
    virtual void enter(Vehicle& vehicle);
    virtual ~RoadSegment() = default;

    int getStart() const { return start; }
    int getEnd() const { return end; }
    bool isDirectionPositive() const { return directionPositive; }

    // The study's parameter set of each vehicle class; not owned.
    void setParameterSet(int vehicleClass, CIDMParameterSet* set);
    // Codes outside 1 to 4 get class 0's set; null when the road has given none.
    const CIDMParameterSet* getParameterSet(int vehicleClass) const;

    static constexpr int classCount = 5;

protected:
    int start;  // m
    int end;    // m
    bool directionPositive;
    std::array<CIDMParameterSet*, classCount> parameterSets{};
};
