#include "vehicles/VehiclePool.h"

#include "vehicles/Vehicle.h"

#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {
constinit VehiclePool vehicles(sizeof(Vehicle), alignof(Vehicle));
}

VehiclePool::~VehiclePool()
{
    if (inUse > 0)
        return;
    for (std::byte* block : blocks)
        ::operator delete (block, std::align_val_t{blockBytes});
}

VehiclePool& VehiclePool::forVehicles()
{
    return vehicles;
}

void VehiclePool::addBlock()
{
    // Aligned to its own size, so that a block of a huge page's size is one huge page.
    auto* block = static_cast<std::byte*>(::operator new (blockBytes, std::align_val_t{blockBytes}));
#ifdef __linux__
    // Only advice: without transparent huge pages the block is made of small pages.
    if (blockBytes >= defaultBlockBytes)
        madvise(block, blockBytes, MADV_HUGEPAGE);
#endif
    blocks.push_back(block);
}

void* VehiclePool::allocate()
{
    const std::lock_guard lock(mutex);
    std::byte* slot = nullptr;
    if (oldestFreed)
    {
        slot = reinterpret_cast<std::byte*>(oldestFreed);
        oldestFreed = oldestFreed->next;
        if (!oldestFreed)
            newestFreed = nullptr;
    }
    else
    {
        if (fresh == blockEnd)
        {
            // On to the next block, made now if the pool has never needed it.
            if (fresh != nullptr)
                ++carvingBlock;
            if (carvingBlock == blocks.size())
                addBlock();
            fresh = blocks[carvingBlock];
            blockEnd = fresh + blockBytes / size * size;
        }
        slot = fresh;
        fresh += size;
    }
    ++inUse;
    return slot;
}

void VehiclePool::release(void* slot)
{
    const std::lock_guard lock(mutex);
    --inUse;
    if (inUse == 0)
    {
        // Every slot is free: carving from the first block again lays the next vehicles out in
        // order, whatever order the last ones left in.
        oldestFreed = newestFreed = nullptr;
        carvingBlock = 0;
        fresh = blockEnd = nullptr;
        return;
    }
    // The freed slot holds the link to the one freed after it.
    auto* freed = new (slot) FreeSlot{nullptr};
    if (newestFreed)
        newestFreed->next = freed;
    else
        oldestFreed = freed;
    newestFreed = freed;
}

std::size_t VehiclePool::slotsInUse() const
{
    const std::lock_guard lock(mutex);
    return inUse;
}

std::size_t VehiclePool::blockCount() const
{
    const std::lock_guard lock(mutex);
    return blocks.size();
}
