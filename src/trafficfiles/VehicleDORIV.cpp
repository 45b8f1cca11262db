// DoRIV records: 152 characters, blank-filled, twenty axle slots of six characters (three for
// the weight, three for the spacing; the last slot has no spacing). Directions count from 0.

#include "trafficfiles/DORIVFile.h"
#include "trafficfiles/RecordFields.h"

namespace {

constexpr char fill = ' ';
constexpr std::size_t dayColumn = 4;
constexpr std::size_t firstAxleColumn = 35;
constexpr std::size_t axleBlockWidth = 6;
constexpr std::size_t weightWidth = 3;
constexpr std::size_t spacingWidth = 3;
constexpr int axleSlots = 20;
// Head, time stamp, speed, GVW, length, axle count, direction, lane, auxiliary value and the
// axle slots' weights and spacings.
constexpr std::size_t recordColumns = 1 + timeStampColumns + 7 + 2 * axleSlots - 1;

std::size_t axleColumn(int i) { return firstAxleColumn + axleBlockWidth * static_cast<std::size_t>(i); }

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
    for (int i = 0; i < axleCount; ++i) {
        const std::size_t column = axleColumn(i);
        setAxleWeight(i, readColumn(line, column, weightWidth) * kNPerHundredKg);
        setAxleSpacing(i, readColumn(line, column + weightWidth, spacingWidth) / tenthsPerUnit);
    }
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
    const int present = writableAxles(*this);
    for (int i = 0; i < axleSlots; ++i) {
        const Axle* axle = i < present ? &axles[static_cast<std::size_t>(i)] : nullptr;
        columns.integer(axle ? toHundredKg(axle->weight) : 0, weightWidth);
        if (i == axleSlots - 1)
            break;
        columns.integer(axle ? toTenths(axle->spacing) : 0, spacingWidth);
    }
}
