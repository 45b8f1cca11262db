#pragma once
// TALVOR and DoRIV records: the same fields in the same order, blank-filled, weights in units of
// 100 kg. They differ only in the width of the axle count, the code of the first direction and
// the axle slots, which a layout states.

#include "trafficfiles/RecordFields.h"

#include <cstddef>
#include <string>
#include <string_view>

struct SlotRecordLayout
{
    std::size_t axleCountWidth;
    int firstDirectionCode;  // the column value of direction 1
    AxleSlots axleSlots;

    // The fields after the axle count follow it in order: direction, lane, auxiliary value.
    constexpr std::size_t directionColumn() const { return axleCountColumn + axleCountWidth; }
    constexpr std::size_t laneColumn() const { return directionColumn() + 1; }
    constexpr std::size_t auxColumn() const { return laneColumn() + 1; }
    constexpr bool isConsistent() const { return axleSlots.firstColumn == auxColumn() + auxWidth; }

    static constexpr std::size_t dayColumn = 4;
    static constexpr std::size_t speedColumn = 18;
    static constexpr std::size_t gvwColumn = 21;
    static constexpr std::size_t gvwWidth = 4;
    static constexpr std::size_t lengthColumn = 25;
    static constexpr std::size_t axleCountColumn = 28;
    static constexpr std::size_t auxWidth = 3;
};

void readSlotRecord(Vehicle& vehicle, std::string_view line, const SlotRecordLayout& layout);
void writeSlotRecord(const Vehicle& vehicle, std::string& out, const SlotRecordLayout& layout);
