#pragma once
// A disk that is full beyond `bytes` for every file this process writes, while it lives: a write
// that would make a file larger fails (EFBIG) as on a full disk. Outputs must be regular files,
// so /dev/full cannot stand in for one.

#include <csignal>

#include <sys/resource.h>

class FullDisk
{
public:
    explicit FullDisk(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &previous);
        // Without this the kernel would end the process with SIGXFSZ instead of failing the write.
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FullDisk()
    {
        ::setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    rlimit previous{};
    void (*previousHandler)(int) = SIG_DFL;
};
