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
    out.clear();
    appendColumn(out, head, 4, fill);
    appendTimeStamp(out, *this, fill);
    appendColumn(out, toTenths(velocity), 3, fill);
    appendColumn(out, toHundredKg(gvw), TALVORFile::gvwWidth, fill);
    appendColumn(out, toTenths(length), 3, fill);
    appendColumn(out, axleCount, 1, fill);
    appendColumn(out, direction, 1, fill);
    appendColumn(out, lane, 1, fill);
    appendColumn(out, auxValue * 10LL, 3, fill);
    const int present = writableAxles(*this);
    for (int i = 0; i < axleSlots; ++i) {
        const Axle* axle = i < present ? &axles[static_cast<std::size_t>(i)] : nullptr;
        appendColumn(out, axle ? toHundredKg(axle->weight) : 0, weightWidth, fill);
        if (i == axleSlots - 1)
            break;
        appendColumn(out, axle ? toTenths(axle->spacing) : 0, spacingWidth, fill);
    }
}
