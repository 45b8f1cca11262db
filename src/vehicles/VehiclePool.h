#pragma once
// Fixed-size slots carved in address order from large blocks, freed slots reused first in, first
// out: the vehicles made one after another lie side by side in memory, as they do on the road.
//
// Every Vehicle is made here (Vehicle's operator new). A lane's update walks its vehicles from
// the front to the back and reads the first cache lines of each: on a long road that holds
// thousands, vehicles scattered over the heap would cost a walk of the lane more cache and
// address-translation misses than the same vehicles packed in the order they entered. Vehicles
// enter in the order they are read, and mostly leave in that order too, so slots freed at the
// front come back, in their order, to the vehicles entering at the back. Once every slot is free
// again (a run has ended) the pool carves from the start of its first block anew.
//
// Thread-safe; the blocks are kept for the pool's life.

#include <cstddef>
#include <mutex>
#include <stdexcept>
#include <vector>

class VehiclePool
{
public:
    // Slots of slotSize bytes aligned to slotAlignment, blockBytes to a block; both powers of two.
    // No block is made before the first slot is asked for (and the pool can be constinit).
    constexpr VehiclePool(std::size_t slotSize, std::size_t slotAlignment, std::size_t blockBytes = defaultBlockBytes);
    // Gives the blocks back unless a slot is still in use: a vehicle that was never freed keeps
    // its block, which a leak checker then reports.
    ~VehiclePool();
    VehiclePool(const VehiclePool&) = delete;
    VehiclePool& operator=(const VehiclePool&) = delete;

    void* allocate();
    // slot came from this pool's allocate() and was not released since.
    void release(void* slot);

    std::size_t slotSize() const { return size; }
    std::size_t slotsInUse() const;
    std::size_t blockCount() const;

    // One huge page on x86-64 Linux, asked for where transparent huge pages are on madvise: a
    // road's vehicles then take one address translation entry for some 3,600 of them.
    static constexpr std::size_t defaultBlockBytes = std::size_t{2} << 20;

    // The pool of the vehicles. Initialized as a constant, before anything runs, so that it is
    // destroyed only after main's objects and the function-local statics: the vehicles those
    // hold are freed first.
    static VehiclePool& forVehicles();

private:
    static constexpr std::size_t roundUp(std::size_t bytes, std::size_t multiple)
    {
        return (bytes + multiple - 1) / multiple * multiple;
    }
    static constexpr bool isPowerOfTwo(std::size_t n) { return n != 0 && (n & (n - 1)) == 0; }

    struct FreeSlot
    {
        FreeSlot* next;  // freed after this one
    };
    void addBlock();

    const std::size_t size;  // bytes, a multiple of the alignment
    const std::size_t blockBytes;
    mutable std::mutex mutex;
    std::vector<std::byte*> blocks;
    std::size_t carvingBlock = 0;     // the block `fresh` lies in
    std::byte* fresh = nullptr;       // the next slot never handed out since the pool started over
    std::byte* blockEnd = nullptr;    // the end of the carving block's slots
    FreeSlot* oldestFreed = nullptr;  // the next to reuse
    FreeSlot* newestFreed = nullptr;
    std::size_t inUse = 0;
};

constexpr VehiclePool::VehiclePool(std::size_t slotSize, std::size_t slotAlignment, std::size_t blockSize)
    : size(roundUp(slotSize > sizeof(FreeSlot) ? slotSize : sizeof(FreeSlot), slotAlignment)), blockBytes(blockSize)
{
    if (!isPowerOfTwo(slotAlignment) || !isPowerOfTwo(blockBytes) || blockBytes < size)
        throw std::invalid_argument("VehiclePool: the alignment and the block size must be powers of two, "
                                    "and a block must hold a slot");
}
