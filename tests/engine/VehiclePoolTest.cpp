// The pool the vehicles are made in: slots carved in address order, freed ones reused oldest
// first, a fresh start once all are free, and no two live vehicles sharing memory however they
// enter, change lanes and leave.

#include "vehicles/VehiclePool.h"
#include "engine/VehicleChain.h"
#include "vehicles/Vehicle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <set>
#include <vector>

namespace {

constexpr std::size_t slot = 64;  // bytes
constexpr std::size_t slotsPerBlock = 4;
constexpr std::size_t block = slot * slotsPerBlock;  // bytes

std::uintptr_t address(const void* p)
{
    return reinterpret_cast<std::uintptr_t>(p);
}

}  // namespace

TEST(VehiclePool, CarvesSlotsInAddressOrderAndReusesFreedOnesOldestFirst)
{
    VehiclePool pool(48, slot, block);
    EXPECT_EQ(pool.slotSize(), slot);
    std::vector<void*> slots;
    for (std::size_t i = 0; i < slotsPerBlock + 2; ++i)
        slots.push_back(pool.allocate());
    EXPECT_EQ(pool.blockCount(), 2u);
    EXPECT_EQ(pool.slotsInUse(), slotsPerBlock + 2);
    // Side by side within a block, each aligned.
    for (std::size_t i = 0; i < slots.size(); ++i)
    {
        EXPECT_EQ(address(slots[i]) % slot, 0u);
        if (i % slotsPerBlock != 0)
        {
            EXPECT_EQ(address(slots[i]), address(slots[i - 1]) + slot);
        }
    }

    pool.release(slots[2]);
    pool.release(slots[0]);
    pool.release(slots[4]);
    EXPECT_EQ(pool.slotsInUse(), slotsPerBlock - 1);
    EXPECT_EQ(pool.allocate(), slots[2]);
    EXPECT_EQ(pool.allocate(), slots[0]);
    EXPECT_EQ(pool.allocate(), slots[4]);
    // No slot is free: carving goes on where it stopped.
    slots.push_back(pool.allocate());
    EXPECT_EQ(address(slots.back()), address(slots[5]) + slot);
    EXPECT_EQ(pool.blockCount(), 2u);
    // A pool keeps its blocks while a slot is in use (a leak checker would report them).
    for (void* each : slots)
        pool.release(each);
}

TEST(VehiclePool, StartsOverFromItsFirstBlockOnceEverySlotIsFree)
{
    VehiclePool pool(slot, slot, block);
    std::vector<void*> slots;
    for (std::size_t i = 0; i < 2 * slotsPerBlock + 1; ++i)
        slots.push_back(pool.allocate());
    // Freed in an order of their own: the next run does not inherit it.
    for (std::size_t i = slots.size(); i-- > 0;)
        pool.release(slots[i]);
    EXPECT_EQ(pool.slotsInUse(), 0u);
    for (std::size_t i = 0; i < slots.size(); ++i)
        EXPECT_EQ(pool.allocate(), slots[i]) << "slot " << i;
    EXPECT_EQ(pool.blockCount(), 3u);
    for (void* each : slots)
        pool.release(each);
}

TEST(VehiclePool, LiveVehiclesNeverShareMemoryThroughEntriesLaneChangesAndExits)
{
    VehiclePool& pool = VehiclePool::forVehicles();
    const std::size_t inUseBefore = pool.slotsInUse();
    std::array<VehicleChain, 3> lanes;
    int made = 0;
    std::mt19937 random(7);

    // Vehicles made one after another while no slot is free lie side by side. (Under
    // AddressSanitizer they come from the ordinary heap, and only the checks of their memory
    // below apply.)
    std::vector<std::unique_ptr<Vehicle>> first;
    for (int i = 0; i < 3; ++i)
        first.push_back(std::make_unique<Vehicle>());
    const bool pooled = pool.slotsInUse() == inUseBefore + 3;
    if (pooled && inUseBefore == 0)
    {
        EXPECT_EQ(address(first[1].get()), address(first[0].get()) + pool.slotSize());
        EXPECT_EQ(address(first[2].get()), address(first[1].get()) + pool.slotSize());
    }
    for (std::unique_ptr<Vehicle>& v : first)
    {
        v->recordNumber = ++made;
        lanes[0].insertBefore(nullptr, v.release());
    }

    for (int round = 0; round < 5000; ++round)
    {
        VehicleChain& lane = lanes[random() % lanes.size()];
        const unsigned action = random() % 4;
        if (action == 0)
        {
            // A vehicle enters at the back.
            auto* v = new Vehicle;
            v->recordNumber = ++made;
            v->position = -static_cast<double>(made);
            lane.insertBefore(nullptr, v);
        }
        else if (action == 1 && !lane.empty())
        {
            // The front one leaves the road.
            Vehicle* v = lane.front();
            lane.remove(v);
            delete v;
        }
        else if (!lane.empty())
        {
            // One changes into another lane, at the back or in front of any vehicle there.
            Vehicle* v = lane.front();
            for (unsigned k = random() % lane.size(); k > 0; --k)
                v = v->behind;
            VehicleChain& target = lanes[random() % lanes.size()];
            if (&target == &lane)
                continue;
            lane.remove(v);
            Vehicle* follower = target.front();
            for (unsigned k = random() % (target.size() + 1); k > 0; --k)
                follower = follower->behind;
            target.insertBefore(follower, v);
        }

        // Every live vehicle is whole and alone in its slot.
        std::set<std::uintptr_t> starts;
        std::set<int> numbers;
        std::size_t live = 0;
        for (const VehicleChain& each : lanes)
            for (const Vehicle& v : each)
            {
                ++live;
                starts.insert(address(&v));
                numbers.insert(v.recordNumber);
            }
        ASSERT_EQ(starts.size(), live);
        ASSERT_EQ(numbers.size(), live);
        if (pooled)
        {
            ASSERT_EQ(pool.slotsInUse(), inUseBefore + live);
        }
        std::uintptr_t previousEnd = 0;
        for (const std::uintptr_t start : starts)
        {
            ASSERT_GE(start, previousEnd);
            previousEnd = start + sizeof(Vehicle);
        }
    }

    for (VehicleChain& lane : lanes)
        while (Vehicle* v = lane.front())
        {
            lane.remove(v);
            delete v;
        }
    if (pooled)
    {
        EXPECT_EQ(pool.slotsInUse(), inUseBefore);
    }
}
