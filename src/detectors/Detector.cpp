#include "detectors/Detector.h"

#include "detectors/MeasurementFile.h"
#include "outputfiles/MeasurementFileName.h"
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
    return vehicleTypesCode(static_cast<std::uint16_t>(vehicleTypes));
}

std::string Detector::directionName() const
{
    return directionCode(directionPositive);
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
