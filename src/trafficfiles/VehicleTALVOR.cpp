// TALVOR records: 77 characters, nine axle slots of five characters (three for the weight, two
// for the spacing; the last slot has no spacing). Directions count from 1.

#include "trafficfiles/RecordFormat.h"
#include "trafficfiles/SlotRecord.h"

namespace {

constexpr SlotRecordLayout layout{1, 1, AxleSlots{34, 5, 3, 2, 9}};
static_assert(layout.isConsistent());

}  // namespace

void readTALVOR(Vehicle& vehicle, std::string_view line)
{
    readSlotRecord(vehicle, line, layout);
}

void writeTALVOR(const Vehicle& vehicle, std::string& out)
{
    writeSlotRecord(vehicle, out, layout);
}

const RecordFormat talvorRecords{readTALVOR, writeTALVOR, SlotRecordLayout::gvwColumn, SlotRecordLayout::gvwWidth,
                                 kNPerHundredKg};
