#pragma once
// Another program's lock on a file: flock locks belong to an open file, so a second open in this
// process stands for another program holding the file.

#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

class ForeignLock
{
public:
    explicit ForeignLock(const std::string& path) : descriptor(::open(path.c_str(), O_RDONLY))
    {
        ::flock(descriptor, LOCK_EX);
    }
    ~ForeignLock() { ::close(descriptor); }
    ForeignLock(const ForeignLock&) = delete;
    ForeignLock& operator=(const ForeignLock&) = delete;

private:
    int descriptor;
};
