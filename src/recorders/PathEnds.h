#pragma once
// Where each vehicle's drawn path ended at the last snapshot, found by its input line in O(1):
// a direct-mapped table, enough because the vehicles on a road at one time were released close
// together in file order. Two vehicles of one snapshot in one slot grow the table (to a bound);
// past it, the loser's next sample starts a fresh path instead of continuing its line.

#include <cstdint>
#include <span>
#include <vector>

class PathEnds
{
public:
    struct End
    {
        long long vehicle = 0;  // input line; 0 empty
        double time = 0.0;      // s, the snapshot's clock
        double position = 0.0;  // m
        float speed = 0.0f;     // m/s
        int lane = 0;
    };

    static constexpr std::size_t initialSlots = 1024;
    static constexpr std::size_t maximumSlots = std::size_t{1} << 16;

    PathEnds() : entries(initialSlots) {}

    // The vehicle's end at the snapshot taken at `previousTime`, or null.
    const End* find(long long vehicle, double previousTime) const
    {
        const End& end = slotOf(vehicle);
        return end.vehicle == vehicle && end.time == previousTime ? &end : nullptr;
    }

    // Records a vehicle's new end; false when it displaced another vehicle of the same snapshot.
    bool store(const End& end)
    {
        End& slot = slotOf(end.vehicle);
        const bool displaced = slot.vehicle != end.vehicle && slot.time == end.time && slot.vehicle != 0;
        slot = end;
        return !displaced;
    }

    // Doubles the table, if still allowed, and stores the given ends again; false at the bound.
    bool grow(std::span<const End> ends)
    {
        if (entries.size() >= maximumSlots)
            return false;
        entries.assign(entries.size() * 2, End());
        for (const End& end : ends)
            store(end);
        return true;
    }

    std::size_t getSlotCount() const { return entries.size(); }

private:
    End& slotOf(long long vehicle) { return entries[static_cast<std::size_t>(vehicle) & (entries.size() - 1)]; }
    const End& slotOf(long long vehicle) const
    {
        return entries[static_cast<std::size_t>(vehicle) & (entries.size() - 1)];
    }

    std::vector<End> entries;  // a power of two
};
