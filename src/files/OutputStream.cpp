#include "files/OutputStream.h"

#include "files/FileClaims.h"
#include "files/FileKind.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {
int openUnclaimed(const std::string& path, std::string& error)
{
    if (auto problem = whyNotReplaceable(path))
    {
        error = *problem;
        return -1;
    }
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (descriptor < 0)
        error = std::strerror(errno);
    return descriptor;
}
}

std::FILE* openOutputStream(const std::string& path, std::string& error)
{
    error.clear();
    int descriptor = FileClaim::duplicateClaimed(path);
    if (descriptor < 0)
        descriptor = openUnclaimed(path, error);
    if (descriptor < 0)
        return nullptr;
    if (fileKindOf(descriptor) != FileKind::regular)
    {
        error = "not a regular file";
        ::close(descriptor);
        return nullptr;
    }
    // Emptied only now, once every claim of the command has held.
    if (::ftruncate(descriptor, 0) != 0 || ::lseek(descriptor, 0, SEEK_SET) != 0)
    {
        error = std::strerror(errno);
        ::close(descriptor);
        return nullptr;
    }
    std::FILE* stream = streamOf(descriptor, "wb", error);
    if (stream)
        std::setvbuf(stream, nullptr, _IONBF, 0);
    return stream;
}

bool cutBack(std::FILE* stream, std::uintmax_t length)
{
    return stream && ::ftruncate(::fileno(stream), static_cast<off_t>(length)) == 0;
}

OutputFile::Buffer::Buffer()
{
    setp(space.data(), space.data() + space.size());
}

OutputFile::Buffer::int_type OutputFile::Buffer::overflow(int_type c)
{
    if (sync() != 0)
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof()))
    {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int OutputFile::Buffer::sync()
{
    const auto pending = static_cast<std::size_t>(pptr() - pbase());
    if (pending > 0 && (!file || failed || std::fwrite(pbase(), 1, pending, file) != pending))
        failed = true;
    setp(space.data(), space.data() + space.size());
    return failed ? -1 : 0;
}

OutputFile::OutputFile(const std::string& path) : std::ostream(&buffer)
{
    buffer.file = openOutputStream(path, openError);
    if (!buffer.file)
        setstate(std::ios::badbit);
}

OutputFile::~OutputFile()
{
    close();
}

bool OutputFile::close()
{
    if (!buffer.file)
        return false;
    buffer.pubsync();
    const bool closed = std::fclose(buffer.file) == 0;
    buffer.file = nullptr;
    const bool whole = closed && !buffer.failed;
    if (!whole)
        setstate(std::ios::badbit);
    return whole;
}
