// DoRIV records: 152 characters, blank-filled, twenty axle slots of six characters (three for
// the weight, three for the spacing; the last slot has no spacing). Directions count from 0.

#include "trafficfiles/DORIVFile.h"
#include "trafficfiles/RecordFields.h"

namespace {

constexpr char fill = ' ';
constexpr std::size_t dayColumn = 4;
constexpr AxleSlots axleSlots{35, 6, 3, 3, 20};
// Head, time stamp, speed, GVW, length, axle count, direction, lane, auxiliary value and the
// axle slots' weights and spacings.
constexpr std::size_t recordColumns = 1 + timeStampColumns + 7 + axleSlots.columnCount();

} // namespace

void Vehicle::readDORIV(std::string_view line)
{
    startRecord(*this);
    head = readColumn(line, 0, 4);
    readTimeStamp(*this, line, dayColumn);
    velocity = readColumn(line, 18, 3) / tenthsPerUnit;
    gvw = readColumn(line, DORIVFile::gvwColumn, DORIVFile::gvwWidth) * kNPerHundredKg;
    length = readColumn(line, 25, 3) / tenthsPerUnit;
    // The two-digit column admits "-5"; a vehicle cannot have fewer than no axles.
    axleCount = std::max(readColumn(line, 28, 2), 0);
    direction = readColumn(line, 30, 1) + 1;
    directionPositive = direction == 1;
    lane = readColumn(line, 31, 1);
    auxValue = readColumn(line, 32, 3) / 10;
    createAxles();
    readAxleSlots(*this, line, axleSlots);
    vehicleClass = classify();
}

void Vehicle::writeDORIV(std::string& out) const
{
    ColumnWriter columns(out, recordColumns, fill);
    columns.integer(head, 4);
    writeTimeStamp(columns, *this);
    columns.integer(toTenths(velocity), 3);
    columns.integer(toHundredKg(gvw), DORIVFile::gvwWidth);
    columns.integer(toTenths(length), 3);
    columns.integer(axleCount, 2);
    columns.integer(direction - 1LL, 1);
    columns.integer(lane, 1);
    columns.integer(auxValue * 10LL, 3);
    // A vehicle with more than twenty axles keeps its full count but only twenty slots.
    writeAxleSlots(columns, *this, axleSlots);
}
