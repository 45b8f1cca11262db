#include "app/CVehicleMark.h"

#include "vehicles/Vehicle.h"

CVehicleMark CVehicleMark::of(const Vehicle& vehicle)
{
    CVehicleMark mark;
    mark.directionPositive = vehicle.isDirectionPositive();
    mark.lane = vehicle.getLane();
    mark.roadX = vehicle.getRoadX();
    mark.length = vehicle.getLength();
    mark.velocity = vehicle.getVelocity();
    mark.vehicleClass = vehicle.getClass();
    return mark;
}
