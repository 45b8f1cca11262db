// DoRIV records: 152 characters, twenty axle slots of six characters (three for the weight,
// three for the spacing; the last slot has no spacing). Directions count from 0.

#include "trafficfiles/RecordFormat.h"
#include "trafficfiles/SlotRecord.h"

namespace {

constexpr SlotRecordLayout layout{2, 0, AxleSlots{35, 6, 3, 3, 20}};
static_assert(layout.isConsistent());

}  // namespace

void readDORIV(Vehicle& vehicle, std::string_view line)
{
    readSlotRecord(vehicle, line, layout);
}

void writeDORIV(const Vehicle& vehicle, std::string& out)
{
    writeSlotRecord(vehicle, out, layout);
}

const RecordFormat dorivRecords{readDORIV, writeDORIV, SlotRecordLayout::gvwColumn, SlotRecordLayout::gvwWidth,
                                kNPerHundredKg};
