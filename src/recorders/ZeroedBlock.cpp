#include "recorders/ZeroedBlock.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {
constexpr std::size_t hugePageBytes = std::size_t{2} << 20;
}

ZeroedBlock::ZeroedBlock(std::size_t size) : bytes(size)
{
#ifdef __linux__
    // Worth it only from a huge page up; the mapping is padded so that its start can be aligned.
    if (bytes >= hugePageBytes)
    {
        mappedBytes = bytes + hugePageBytes;
        void* mapped = mmap(nullptr, mappedBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped != MAP_FAILED)
        {
            mapping = mapped;
            const auto address = reinterpret_cast<std::uintptr_t>(mapped);
            start = reinterpret_cast<void*>((address + hugePageBytes - 1) & ~(hugePageBytes - 1));
            // Only advice: without transparent huge pages the block is simply made of small pages.
            madvise(start, bytes, MADV_HUGEPAGE);
            return;
        }
        mappedBytes = 0;
    }
#endif
    start = std::calloc(bytes > 0 ? bytes : 1, 1);
    if (!start)
        throw std::bad_alloc();
}

ZeroedBlock::~ZeroedBlock()
{
#ifdef __linux__
    if (mapping)
    {
        munmap(mapping, mappedBytes);
        return;
    }
#endif
    std::free(start);
}
