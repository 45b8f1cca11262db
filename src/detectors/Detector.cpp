#include "detectors/Detector.h"

#include "detectors/MeasurementFile.h"
#include "vehicles/Vehicle.h"

void Detector::detect(Vehicle*, double) {}

void Detector::advance(double dt)
{
    elapsed += dt;
    intervalClock += dt;
    // An interval that is not positive would end on every step and divide every rate by zero;
    // such a detector writes its headers only.
    if (interval > 0.0 && intervalClock >= interval)
    {
        intervalClock -= interval;
        ++intervalCount;
        endInterval();
    }
}

double Detector::passTime(const Vehicle& vehicle, double time) const
{
    double velocity = vehicle.getVelocity();
    // A vehicle that stopped at or past the detector has no defined passage; the step's end, when
    // it was seen there, is the closest time that is known.
    if (!(velocity > 0.0))
        return time;
    return time - (vehicle.getPosition() - location) / velocity;
}

std::string Detector::vehicleTypeName() const
{
    return vehicleTypeNameOf(vehicleTypes);
}

std::string Detector::vehicleTypeNameOf(short types)
{
    switch (types)
    {
    case vehicleTypesTrucks: return "Trucks";
    case vehicleTypesCars: return "Car";
    case vehicleTypesSmallTrucks: return "ST";
    case vehicleTypesLargeTrucks: return "LT";
    case vehicleTypesCranes: return "Crane";
    case vehicleTypesLowLoaders: return "LL";
    default: return "All";
    }
}

std::string Detector::directionName() const
{
    return directionNameOf(directionPositive);
}

std::string Detector::directionNameOf(bool positive)
{
    return positive ? "Pos" : "Neg";
}

bool Detector::acceptsClass(short vehicleClass) const
{
    switch (vehicleTypes)
    {
    case vehicleTypesTrucks: return vehicleClass >= 1 && vehicleClass <= 4;
    case vehicleTypesCars: return vehicleClass == 0;
    case vehicleTypesSmallTrucks: return vehicleClass == 1;
    case vehicleTypesLargeTrucks: return vehicleClass == 2;
    case vehicleTypesCranes: return vehicleClass == 3;
    case vehicleTypesLowLoaders: return vehicleClass == 4;
    default: return true;
    }
}

std::string Detector::filePath(const std::string& fileName) const
{
    return MeasurementFile::pathInFolder(metricsDirectory, fileName);
}
