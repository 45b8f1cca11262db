#include "trafficfiles/TALVORFile.h"

#include "trafficfiles/FixedColumns.h"
#include "vehicles/Vehicle.h"

#include <memory>

TALVORFile::TALVORFile(const std::string& inputFileName, const std::string& outputFileName)
    : FileHandler(inputFileName, outputFileName)
{
}

void TALVORFile::writeVehicle(Vehicle* vehicle)
{
    if (!vehicle)
        return;
    vehicle->writeTALVOR(record);
    writeRecord();
}

Vehicle* TALVORFile::readNextVehicle()
{
    const std::string_view line = nextRecord();
    if (line.empty())
        return nullptr;
    const int gvwColumnValue = readColumn(line, gvwColumn, gvwWidth);
    std::unique_ptr<Vehicle> vehicle(newVehicle(carMaxGVW * 0.981 > gvwColumnValue));
    vehicle->readTALVOR(line);
    return vehicle.release();
}
