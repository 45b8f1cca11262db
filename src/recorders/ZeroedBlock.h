#pragma once
// A block of zeroed memory for large grids. On Linux it is mapped straight from the system and
// offered to the kernel as huge pages: a grid of megabytes then costs a couple of page faults
// instead of one per 4 kB, which on virtual machines is most of the cost of filling it.

#include <cstddef>

class ZeroedBlock
{
public:
    // Throws std::bad_alloc when no memory can be had.
    explicit ZeroedBlock(std::size_t bytes);
    ~ZeroedBlock();
    ZeroedBlock(const ZeroedBlock&) = delete;
    ZeroedBlock& operator=(const ZeroedBlock&) = delete;

    void* data() const { return start; }
    std::size_t size() const { return bytes; }

private:
    std::size_t bytes;
    void* start = nullptr;
    void* mapping = nullptr;  // the whole mapping, when mapped
    std::size_t mappedBytes = 0;
};
