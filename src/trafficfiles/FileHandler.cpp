#include "trafficfiles/FileHandler.h"

#include "config/CConfigData.h"
#include "trafficfiles/FixedColumns.h"
#include "vehicles/Car.h"
#include "vehicles/Truck.h"

#include <filesystem>
#include <memory>
#include <system_error>

namespace {

bool isSameFile(const std::string& first, const std::string& second)
{
    std::error_code ignored;
    return std::filesystem::equivalent(first, second, ignored);
}

}  // namespace

FileHandler::FileHandler(const RecordFormat& recordFormat, const std::string& inputFileName,
                         const std::string& outputFileName)
    : format(recordFormat), carMaxGVW(theConfigData.carMaxGVW), input(inputFileName), lineCount(input.lineCount())
{
    // Room for the longest DoRIV record, so that formatting does not allocate.
    record.reserve(256);
    if (!isSameFile(inputFileName, outputFileName))
        output.open(outputFileName);
}

std::string_view FileHandler::nextRecord()
{
    if (inputEnded)
        return {};
    const std::string_view line = input.nextLine();
    if (line.empty())
    {
        inputEnded = true;
        return {};
    }
    ++recordsRead;
    return line;
}

void FileHandler::writeVehicle(Vehicle* vehicle)
{
    if (!vehicle)
        return;
    format.write(*vehicle, record);
    output.writeLine(record);
}

std::unique_ptr<Vehicle> FileHandler::readNextVehicle()
{
    const std::string_view line = nextRecord();
    if (line.empty())
        return nullptr;
    const int gvwColumnValue = readColumn(line, format.gvwColumn, format.gvwWidth);
    std::unique_ptr<Vehicle> vehicle = newVehicle(carMaxGVW * format.carLimitFactor > gvwColumnValue);
    format.read(*vehicle, line);
    return vehicle;
}

std::unique_ptr<Vehicle> FileHandler::newVehicle(bool isCar) const
{
    std::unique_ptr<Vehicle> vehicle;
    if (isCar)
        vehicle = std::make_unique<Car>();
    else
        vehicle = std::make_unique<Truck>();
    // Records end at the first empty line, so the count of records read is the line number.
    vehicle->inputLine = recordsRead;
    return vehicle;
}

std::vector<std::unique_ptr<Vehicle>> FileHandler::readVehicles(int count)
{
    std::vector<std::unique_ptr<Vehicle>> vehicles;
    for (int i = 0; i < count; ++i)
        vehicles.push_back(readNextVehicle());
    return vehicles;
}

int FileHandler::getPercentRead() const
{
    if (lineCount == 0)
        return 0;
    return static_cast<int>(static_cast<double>(recordsRead) / static_cast<double>(lineCount) * 100.0 + 0.5);
}
