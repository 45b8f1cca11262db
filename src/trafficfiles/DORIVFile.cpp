#include "trafficfiles/DORIVFile.h"

#include "trafficfiles/FixedColumns.h"
#include "vehicles/Vehicle.h"

#include <memory>

DORIVFile::DORIVFile(const std::string& inputFileName, const std::string& outputFileName)
    : FileHandler(inputFileName, outputFileName)
{
}

void DORIVFile::writeVehicle(Vehicle* vehicle)
{
    if (!vehicle)
        return;
    vehicle->writeDORIV(record);
    writeRecord();
}

Vehicle* DORIVFile::readNextVehicle()
{
    const std::string_view line = nextRecord();
    if (line.empty())
        return nullptr;
    const int gvwColumnValue = readColumn(line, gvwColumn, gvwWidth);
    std::unique_ptr<Vehicle> vehicle(newVehicle(carMaxGVW * 0.981 > gvwColumnValue));
    vehicle->readDORIV(line);
    return vehicle.release();
}
