#include "trafficfiles/SlotRecord.h"

#include "vehicles/Vehicle.h"

#include <algorithm>

namespace {

constexpr char fill = ' ';

// Head, time stamp, speed, GVW, length, axle count, direction, lane, auxiliary value and the
// axle slots' weights and spacings.
constexpr std::size_t recordColumns(const SlotRecordLayout& layout)
{
    return 1 + timeStampColumns + 7 + layout.axleSlots.columnCount();
}

}  // namespace

void readSlotRecord(Vehicle& vehicle, std::string_view line, const SlotRecordLayout& layout)
{
    using Layout = SlotRecordLayout;
    startRecord(vehicle);
    vehicle.head = readColumn(line, 0, 4);
    readTimeStamp(vehicle, line, Layout::dayColumn);
    vehicle.velocity = readColumn(line, Layout::speedColumn, 3) / tenthsPerUnit;
    vehicle.gvw = readColumn(line, Layout::gvwColumn, Layout::gvwWidth) * kNPerHundredKg;
    vehicle.length = readColumn(line, Layout::lengthColumn, 3) / tenthsPerUnit;
    // A two-digit column admits "-5"; a vehicle cannot have fewer than no axles.
    vehicle.axleCount = std::max(readColumn(line, Layout::axleCountColumn, layout.axleCountWidth), 0);
    vehicle.direction = readColumn(line, layout.directionColumn(), 1) - layout.firstDirectionCode + 1;
    vehicle.directionPositive = vehicle.direction == 1;
    vehicle.lane = readColumn(line, layout.laneColumn(), 1);
    vehicle.auxValue = readColumn(line, layout.auxColumn(), Layout::auxWidth) / 10;
    vehicle.createAxles();
    readAxleSlots(vehicle, line, layout.axleSlots);
    vehicle.vehicleClass = vehicle.classify();
}

void writeSlotRecord(const Vehicle& vehicle, std::string& out, const SlotRecordLayout& layout)
{
    ColumnWriter columns(out, recordColumns(layout), fill);
    columns.integer(vehicle.head, 4);
    writeTimeStamp(columns, vehicle);
    columns.integer(toTenths(vehicle.velocity), 3);
    columns.integer(toHundredKg(vehicle.gvw), SlotRecordLayout::gvwWidth);
    columns.integer(toTenths(vehicle.length), 3);
    columns.integer(vehicle.axleCount, layout.axleCountWidth);
    columns.integer(vehicle.direction - 1LL + layout.firstDirectionCode, 1);
    columns.integer(vehicle.lane, 1);
    columns.integer(vehicle.auxValue * 10LL, SlotRecordLayout::auxWidth);
    // A vehicle with more axles than slots keeps its full count but fills only the slots.
    writeAxleSlots(columns, vehicle, layout.axleSlots);
}
