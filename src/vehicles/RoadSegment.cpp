#include "vehicles/RoadSegment.h"

#include <cstddef>

RoadSegment::RoadSegment(int segmentStart, int segmentEnd, bool positive)
    : start(segmentStart), end(segmentEnd), directionPositive(positive)
{
}

void RoadSegment::leave(Vehicle&) {}

void RoadSegment::enter(Vehicle&) {}

void RoadSegment::setParameterSet(int vehicleClass, CIDMParameterSet* set)
{
    if (vehicleClass >= 0 && vehicleClass < classCount)
        parameterSets[static_cast<std::size_t>(vehicleClass)] = set;
}

const CIDMParameterSet* RoadSegment::getParameterSet(int vehicleClass) const
{
    if (vehicleClass < 1 || vehicleClass >= classCount)
        vehicleClass = 0;
    return parameterSets[static_cast<std::size_t>(vehicleClass)];
}
