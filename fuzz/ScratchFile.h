#pragma once
// A file for fuzz targets whose code under test reads from a path: one per process, in memory
// where possible (rewriting a file on disk for every input costs milliseconds), removed at exit.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace ScratchFile {
// A plain buffer, so that the exit handler that removes the file never sees a destroyed string.
inline char path[64];

// Replaces the file's content with the bytes; nullptr when the file cannot be written.
inline const char* holding(const std::uint8_t* data, std::size_t size)
{
    if (path[0] == '\0')
    {
        std::snprintf(path, sizeof path, "%s/roadflux_fuzz_XXXXXX",
                      std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp");
        const int descriptor = mkstemp(path);
        if (descriptor < 0)
            std::abort();
        close(descriptor);
        std::atexit([] { std::remove(path); });
    }
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr)
        return nullptr;
    if (size > 0)
        std::fwrite(data, 1, size, file);
    std::fclose(file);
    return path;
}
}
