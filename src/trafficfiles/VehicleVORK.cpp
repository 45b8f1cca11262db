// VORK records: zero-filled, weights in kN, no direction or lane. A record holds as many axle
// blocks as the vehicle has axles: three characters for the weight and, for all but the last
// axle, two for the spacing.

#include "trafficfiles/RecordFields.h"
#include "trafficfiles/VORKFile.h"

namespace {

constexpr char fill = '0';
constexpr std::size_t dayColumn = 10;
constexpr std::size_t firstAxleColumn = 35;
constexpr std::size_t axleBlockWidth = 5;
constexpr std::size_t weightWidth = 3;
constexpr std::size_t spacingWidth = 2;
// Record number, head, time stamp, speed, GVW, length and axle count.
constexpr std::size_t headerColumns = 2 + timeStampColumns + 4;
// VORK records carry no head code; this one marks their vehicles in the other formats' terms.
constexpr int vorkHead = 20005;

std::size_t axleColumn(int i) { return firstAxleColumn + axleBlockWidth * static_cast<std::size_t>(i); }

} // namespace

void Vehicle::readVORK(std::string_view line)
{
    startRecord(*this);
    recordNumber = readColumn(line, 0, 5);
    head = vorkHead;
    readTimeStamp(*this, line, dayColumn);
    velocity = readColumn(line, 24, 3) / tenthsPerUnit;
    gvw = readColumn(line, VORKFile::gvwColumn, VORKFile::gvwWidth);
    length = readColumn(line, 31, 3) / tenthsPerUnit;
    axleCount = readColumn(line, 34, 1);
    lane = 1;
    direction = 1;
    directionPositive = true;
    createAxles();
    for (int i = 0; i < axleCount; ++i) {
        const std::size_t column = axleColumn(i);
        setAxleWeight(i, readColumn(line, column, weightWidth));
        // The last axle has no spacing column and keeps spacing 0.
        if (i == axleCount - 1)
            break;
        setAxleSpacing(i, readColumn(line, column + weightWidth, spacingWidth) / tenthsPerUnit);
    }
    vehicleClass = classify();
}

void Vehicle::writeVORK(std::string& out) const
{
    const int present = writableAxles(*this);
    ColumnWriter columns(out, headerColumns + 2 * static_cast<std::size_t>(present), fill);
    columns.integer(recordNumber, 5);
    columns.integer(head, 5);
    writeTimeStamp(columns, *this);
    columns.integer(toTenths(velocity), 3);
    // Written as a real: a weight in kN that is not whole keeps its decimals.
    columns.general(gvw, VORKFile::gvwWidth);
    columns.integer(toTenths(length), 3);
    columns.integer(axleCount, 1);
    for (int i = 0; i < present; ++i) {
        const Axle& axle = axles[static_cast<std::size_t>(i)];
        columns.integer(roundHalfUp(axle.weight), weightWidth);
        if (i == present - 1)
            break;
        columns.integer(toTenths(axle.spacing), spacingWidth);
    }
}
