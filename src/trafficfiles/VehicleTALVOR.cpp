// TALVOR records: 77 characters, blank-filled, nine axle slots of five characters
// (three for the weight, two for the spacing; the last slot has no spacing).

#include "trafficfiles/RecordFields.h"
#include "trafficfiles/TALVORFile.h"

namespace {

constexpr char fill = ' ';
constexpr std::size_t dayColumn = 4;
constexpr AxleSlots axleSlots{34, 5, 3, 2, 9};
// Head, time stamp, speed, GVW, length, axle count, direction, lane, auxiliary value and the
// axle slots' weights and spacings.
constexpr std::size_t recordColumns = 1 + timeStampColumns + 7 + axleSlots.columnCount();

} // namespace

void Vehicle::readTALVOR(std::string_view line)
{
    startRecord(*this);
    head = readColumn(line, 0, 4);
    readTimeStamp(*this, line, dayColumn);
    velocity = readColumn(line, 18, 3) / tenthsPerUnit;
    gvw = readColumn(line, TALVORFile::gvwColumn, TALVORFile::gvwWidth) * kNPerHundredKg;
    length = readColumn(line, 25, 3) / tenthsPerUnit;
    axleCount = readColumn(line, 28, 1);
    direction = readColumn(line, 29, 1);
    directionPositive = direction == 1;
    lane = readColumn(line, 30, 1);
    auxValue = readColumn(line, 31, 3) / 10;
    createAxles();
    readAxleSlots(*this, line, axleSlots);
    vehicleClass = classify();
}

void Vehicle::writeTALVOR(std::string& out) const
{
    ColumnWriter columns(out, recordColumns, fill);
    columns.integer(head, 4);
    writeTimeStamp(columns, *this);
    columns.integer(toTenths(velocity), 3);
    columns.integer(toHundredKg(gvw), TALVORFile::gvwWidth);
    columns.integer(toTenths(length), 3);
    columns.integer(axleCount, 1);
    columns.integer(direction, 1);
    columns.integer(lane, 1);
    columns.integer(auxValue * 10LL, 3);
    writeAxleSlots(columns, *this, axleSlots);
}
