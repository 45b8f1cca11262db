// TALVOR records: 77 characters, blank-filled, nine axle slots of five characters
// (three for the weight, two for the spacing; the last slot has no spacing).

#include "trafficfiles/RecordFields.h"
#include "trafficfiles/TALVORFile.h"

namespace {

constexpr char fill = ' ';
constexpr std::size_t dayColumn = 4;
constexpr std::size_t firstAxleColumn = 34;
constexpr std::size_t axleBlockWidth = 5;
constexpr std::size_t weightWidth = 3;
constexpr std::size_t spacingWidth = 2;
constexpr int axleSlots = 9;
// Head, time stamp, speed, GVW, length, axle count, direction, lane, auxiliary value and the
// axle slots' weights and spacings.
constexpr std::size_t recordColumns = 1 + timeStampColumns + 7 + 2 * axleSlots - 1;

std::size_t axleColumn(int i) { return firstAxleColumn + axleBlockWidth * static_cast<std::size_t>(i); }

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
    for (int i = 0; i < axleCount; ++i) {
        const std::size_t column = axleColumn(i);
        setAxleWeight(i, readColumn(line, column, weightWidth) * kNPerHundredKg);
        setAxleSpacing(i, readColumn(line, column + weightWidth, spacingWidth) / tenthsPerUnit);
    }
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
    const int present = writableAxles(*this);
    for (int i = 0; i < axleSlots; ++i) {
        const Axle* axle = i < present ? &axles[static_cast<std::size_t>(i)] : nullptr;
        columns.integer(axle ? toHundredKg(axle->weight) : 0, weightWidth);
        if (i == axleSlots - 1)
            break;
        columns.integer(axle ? toTenths(axle->spacing) : 0, spacingWidth);
    }
}
