#pragma once
// The fields that the three record formats share: the calendar time stamp, speed and length,
// and the axle slots of TALVOR and DoRIV records.

#include "trafficfiles/ColumnWriter.h"
#include "trafficfiles/FixedColumns.h"
#include "vehicles/Vehicle.h"
#include "vehicles/WeightUnits.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

// Speeds (m/s) and lengths (m) are written in tenths.
constexpr double tenthsPerUnit = 10.0;

// Day, month, year, hour, minute, second and hundredths: seven two-digit columns in a row.
constexpr std::size_t timeStampWidth = 2;
constexpr std::size_t timeStampColumns = 7;

inline void readTimeStamp(Vehicle& vehicle, std::string_view line, std::size_t dayColumn)
{
    int* const fields[] = {&vehicle.day,    &vehicle.month,  &vehicle.year,      &vehicle.hour,
                           &vehicle.minute, &vehicle.second, &vehicle.hundredths};
    std::size_t column = dayColumn;
    for (int* field : fields)
    {
        *field = readColumn(line, column, timeStampWidth);
        column += timeStampWidth;
    }
}

inline void writeTimeStamp(ColumnWriter& columns, const Vehicle& vehicle)
{
    for (int field :
         {vehicle.day, vehicle.month, vehicle.year, vehicle.hour, vehicle.minute, vehicle.second, vehicle.hundredths})
        columns.integer(field, timeStampWidth);
}

// Reads leave the vehicle at the start of its direction with a fresh lane-change clock, and
// build its axles anew, so that reading into a used vehicle cannot mix two records' axles.
inline void startRecord(Vehicle& vehicle)
{
    vehicle.position = 0.0;
    vehicle.roadX = 0.0;
    vehicle.laneChangeClock = 0.0;
    vehicle.axles.clear();
}

// A value in tenths (m/s or m) rounded to a whole column value.
inline int toTenths(double value)
{
    return roundHalfUp(value * tenthsPerUnit);
}

inline int toHundredKg(double kN)
{
    return roundHalfUp(kN / kNPerHundredKg);
}

// Axles the writers may format: the vehicle's axles as far as its count states them, so
// that a vehicle built with fewer axles than its count still writes safely.
inline int writableAxles(const Vehicle& vehicle)
{
    return std::clamp(vehicle.axleCount, 0, static_cast<int>(vehicle.axles.size()));
}

// The fixed axle slots of TALVOR and DoRIV records: per slot a weight column (units of 100 kg)
// and a spacing column (tenths of a metre); the last slot has no spacing.
struct AxleSlots
{
    std::size_t firstColumn;
    std::size_t slotWidth;
    std::size_t weightWidth;
    std::size_t spacingWidth;
    int count;

    constexpr std::size_t column(int i) const { return firstColumn + slotWidth * static_cast<std::size_t>(i); }
    // Columns of all slots together, as the record's column count needs them.
    constexpr std::size_t columnCount() const { return 2 * static_cast<std::size_t>(count) - 1; }
};

// Fills the vehicle's axles (created for its count) from the slots.
inline void readAxleSlots(Vehicle& vehicle, std::string_view line, const AxleSlots& slots)
{
    for (int i = 0; i < vehicle.axleCount; ++i)
    {
        const std::size_t column = slots.column(i);
        vehicle.setAxleWeight(i, readColumn(line, column, slots.weightWidth) * kNPerHundredKg);
        vehicle.setAxleSpacing(i, readColumn(line, column + slots.weightWidth, slots.spacingWidth) / tenthsPerUnit);
    }
}

// Writes every slot: the vehicle's axles, then zeros.
inline void writeAxleSlots(ColumnWriter& columns, const Vehicle& vehicle, const AxleSlots& slots)
{
    const int present = writableAxles(vehicle);
    for (int i = 0; i < slots.count; ++i)
    {
        const Axle* axle = i < present ? &vehicle.axles[static_cast<std::size_t>(i)] : nullptr;
        columns.integer(axle ? toHundredKg(axle->weight) : 0, slots.weightWidth);
        if (i == slots.count - 1)
            break;
        columns.integer(axle ? toTenths(axle->spacing) : 0, slots.spacingWidth);
    }
}
