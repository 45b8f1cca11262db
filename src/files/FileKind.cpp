#include "files/FileKind.h"

#include <filesystem>
#include <system_error>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

FileKind fileKindOf(const std::string& path)
{
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    switch (status.type())
    {
    case fs::file_type::not_found:
    case fs::file_type::none: return FileKind::missing;
    case fs::file_type::regular: return FileKind::regular;
    case fs::file_type::directory: return FileKind::directory;
    case fs::file_type::fifo: return FileKind::fifo;
    case fs::file_type::character: return FileKind::characterDevice;
    case fs::file_type::block: return FileKind::blockDevice;
    case fs::file_type::socket: return FileKind::socket;
    default: return FileKind::other;
    }
}

FileKind fileKindOf(int descriptor)
{
    struct stat status
    {
    };
    if (::fstat(descriptor, &status) != 0)
        return FileKind::missing;
    const mode_t mode = status.st_mode;
    return S_ISREG(mode)    ? FileKind::regular
           : S_ISDIR(mode)  ? FileKind::directory
           : S_ISFIFO(mode) ? FileKind::fifo
           : S_ISCHR(mode)  ? FileKind::characterDevice
           : S_ISBLK(mode)  ? FileKind::blockDevice
           : S_ISSOCK(mode) ? FileKind::socket
                            : FileKind::other;
}

std::string describeFileKind(FileKind kind)
{
    switch (kind)
    {
    case FileKind::missing:
    case FileKind::regular: return "";
    case FileKind::directory: return "a folder";
    case FileKind::fifo: return "a named pipe (FIFO)";
    case FileKind::characterDevice:
    case FileKind::blockDevice: return "a device";
    case FileKind::socket: return "a socket";
    case FileKind::other: break;
    }
    return "not a file";
}

std::optional<std::string> whyNotReadable(const std::string& path)
{
    const FileKind kind = fileKindOf(path);
    if (kind == FileKind::missing)
        return "it does not exist";
    if (kind != FileKind::regular)
        return "not a regular file (" + describeFileKind(kind) + ")";
    return std::nullopt;
}

std::optional<std::string> whyNotReplaceable(const std::string& path)
{
    const FileKind kind = fileKindOf(path);
    if (kind == FileKind::missing || kind == FileKind::regular)
        return std::nullopt;
    return "not a regular file (" + describeFileKind(kind) + ")";
}

std::FILE* streamOf(int descriptor, const char* mode, std::string& error)
{
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags >= 0)
        ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
    std::FILE* stream = ::fdopen(descriptor, mode);
    if (!stream)
    {
        error = std::strerror(errno);
        ::close(descriptor);
    }
    return stream;
}
