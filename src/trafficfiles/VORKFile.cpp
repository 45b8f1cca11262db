#include "trafficfiles/VORKFile.h"

#include "trafficfiles/FixedColumns.h"
#include "vehicles/Vehicle.h"

#include <memory>

VORKFile::VORKFile(const std::string& inputFileName, const std::string& outputFileName)
    : FileHandler(inputFileName, outputFileName)
{
}

void VORKFile::writeVehicle(Vehicle* vehicle)
{
    if (!vehicle)
        return;
    vehicle->writeVORK(record);
    writeRecord();
}

Vehicle* VORKFile::readNextVehicle()
{
    const std::string_view line = nextRecord();
    if (line.empty())
        return nullptr;
    const int gvwColumnValue = readColumn(line, gvwColumn, gvwWidth);
    std::unique_ptr<Vehicle> vehicle(newVehicle(carMaxGVW > gvwColumnValue));
    vehicle->readVORK(line);
    return vehicle.release();
}
