#include "vehicles/Gradient.h"

#include "vehicles/Vehicle.h"

Gradient::Gradient(int segmentStart, int segmentEnd, double percent, bool positive)
    : RoadSegment(segmentStart, segmentEnd, positive), gradient(percent)
{
}

void Gradient::enter(Vehicle& vehicle)
{
    vehicle.getDriverModel()->enterGradient(gradient);
}

void Gradient::leave(Vehicle& vehicle)
{
    vehicle.getDriverModel()->leaveGradient();
}
