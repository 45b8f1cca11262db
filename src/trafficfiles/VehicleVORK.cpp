// VORK records: zero-filled, weights in kN, no direction or lane. A record holds as many axle
// blocks as the vehicle has axles: three characters for the weight and, for all but the last
// axle, two for the spacing.

#include "trafficfiles/RecordFields.h"
#include "trafficfiles/RecordFormat.h"

namespace {

constexpr char fill = '0';
constexpr std::size_t dayColumn = 10;
constexpr std::size_t gvwColumn = 27;
constexpr std::size_t gvwWidth = 4;
constexpr std::size_t firstAxleColumn = 35;
constexpr std::size_t axleBlockWidth = 5;
constexpr std::size_t weightWidth = 3;
constexpr std::size_t spacingWidth = 2;
// Record number, head, time stamp, speed, GVW, length and axle count.
constexpr std::size_t headerColumns = 2 + timeStampColumns + 4;
// VORK records carry no head code; this one marks their vehicles in the other formats' terms.
constexpr int vorkHead = 20005;

std::size_t axleColumn(int i)
{
    return firstAxleColumn + axleBlockWidth * static_cast<std::size_t>(i);
}

}  // namespace

void readVORK(Vehicle& vehicle, std::string_view line)
{
    startRecord(vehicle);
    vehicle.recordNumber = readColumn(line, 0, 5);
    vehicle.head = vorkHead;
    readTimeStamp(vehicle, line, dayColumn);
    vehicle.velocity = readColumn(line, 24, 3) / tenthsPerUnit;
    vehicle.gvw = readColumn(line, gvwColumn, gvwWidth);
    vehicle.length = readColumn(line, 31, 3) / tenthsPerUnit;
    vehicle.axleCount = readColumn(line, 34, 1);
    vehicle.lane = 1;
    vehicle.direction = 1;
    vehicle.directionPositive = true;
    vehicle.createAxles();
    for (int i = 0; i < vehicle.axleCount; ++i)
    {
        const std::size_t column = axleColumn(i);
        vehicle.setAxleWeight(i, readColumn(line, column, weightWidth));
        // The last axle has no spacing column and keeps spacing 0.
        if (i == vehicle.axleCount - 1)
            break;
        vehicle.setAxleSpacing(i, readColumn(line, column + weightWidth, spacingWidth) / tenthsPerUnit);
    }
    vehicle.vehicleClass = vehicle.classify();
}

void writeVORK(const Vehicle& vehicle, std::string& out)
{
    const int present = writableAxles(vehicle);
    ColumnWriter columns(out, headerColumns + 2 * static_cast<std::size_t>(present), fill);
    columns.integer(vehicle.recordNumber, 5);
    columns.integer(vehicle.head, 5);
    writeTimeStamp(columns, vehicle);
    columns.integer(toTenths(vehicle.velocity), 3);
    // Written as a real: a weight in kN that is not whole keeps its decimals.
    columns.general(vehicle.gvw, gvwWidth);
    columns.integer(toTenths(vehicle.length), 3);
    columns.integer(vehicle.axleCount, 1);
    for (int i = 0; i < present; ++i)
    {
        const Axle& axle = vehicle.axles[static_cast<std::size_t>(i)];
        columns.integer(roundHalfUp(axle.weight), weightWidth);
        if (i == present - 1)
            break;
        columns.integer(toTenths(axle.spacing), spacingWidth);
    }
}

// The GVW column holds kN here, yet is compared with the car limit unconverted, as VORK files
// have always been read.
const RecordFormat vorkRecords{readVORK, writeVORK, gvwColumn, gvwWidth, 1.0};
