#include "detectors/OutputDetector.h"

#include "trafficfiles/FileHandler.h"
#include "vehicles/Vehicle.h"

OutputDetector::OutputDetector(int locationOnDirection, bool positive, FileHandler* trafficWriter)
    : writer(trafficWriter)
{
    location = locationOnDirection;
    directionPositive = positive;
}

void OutputDetector::detect(Vehicle* vehicle, double time)
{
    if (vehicle == nullptr)
        return;
    vehicle->setTime(passTime(*vehicle, time));
    vehicles.push_back(vehicle);
}

void OutputDetector::flush()
{
    if (writer != nullptr)
    {
        for (Vehicle* vehicle : vehicles)
            writer->writeVehicle(vehicle);
    }
    vehicles.clear();
}
