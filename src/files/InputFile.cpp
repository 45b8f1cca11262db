#include "files/InputFile.h"

#include "files/FileKind.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace {
struct StreamCloser
{
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}
}

std::FILE* openInputStream(const std::string& path, std::string& error)
{
    error.clear();
    // O_NONBLOCK: opening a FIFO without a writer would wait for one.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
    {
        error = std::strerror(errno);
        return nullptr;
    }
    const FileKind kind = fileKindOf(descriptor);
    if (kind != FileKind::regular)
    {
        error = describeFileKind(kind) + ", not a regular file";
        ::close(descriptor);
        return nullptr;
    }
    return streamOf(descriptor, "rb", error);
}

std::size_t utf8ByteOrderMarkLength(std::string_view text)
{
    return startsWith(text, "\xEF\xBB\xBF") ? 3 : 0;
}

std::optional<std::string> unreadableEncoding(std::string_view start)
{
    using namespace std::string_view_literals;
    if (startsWith(start, "\xFF\xFE\0\0"sv) || startsWith(start, "\0\0\xFE\xFF"sv))
        return "UTF-32 text (byte-order mark): save it as UTF-8";
    if (startsWith(start, "\xFF\xFE"sv) || startsWith(start, "\xFE\xFF"sv))
        return "UTF-16 text (byte-order mark): save it as UTF-8";
    return std::nullopt;
}

std::optional<std::string> readFileBytes(const std::string& path, std::string& text, std::size_t maxBytes)
{
    text.clear();
    std::string error;
    const std::unique_ptr<std::FILE, StreamCloser> stream(openInputStream(path, error));
    if (!stream)
        return error;
    char buffer[64 * 1024];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, stream.get())) > 0)
    {
        if (text.size() + got > maxBytes)
            return "larger than " + std::to_string(maxBytes) + " bytes";
        text.append(buffer, got);
    }
    if (std::ferror(stream.get()))
        return std::strerror(errno);
    return std::nullopt;
}

std::optional<std::string> readTextFile(const std::string& path, std::string& text, std::size_t maxBytes)
{
    if (auto problem = readFileBytes(path, text, maxBytes))
        return problem;
    if (auto encoding = unreadableEncoding(text))
        return encoding;
    text.erase(0, utf8ByteOrderMarkLength(text));
    return std::nullopt;
}
