#include "trafficfiles/LineReader.h"

#include <algorithm>
#include <cstring>

namespace {

std::string_view withoutCarriageReturn(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

} // namespace

LineReader::LineReader(const std::string& fileName)
    : file(std::fopen(fileName.c_str(), "rb")), buffer(std::make_unique<char[]>(bufferSize))
{
    spill.reserve(maxLineLength);
    if (file)
        countLines();
}

LineReader::~LineReader()
{
    if (file)
        std::fclose(file);
}

void LineReader::countLines()
{
    char last = '\n';
    while (refill()) {
        lines += std::count(buffer.get(), buffer.get() + filled, '\n');
        last = buffer[filled - 1];
    }
    if (last != '\n')
        ++lines;
    start = filled = 0;
    std::clearerr(file);
    if (std::fseek(file, 0, SEEK_SET) != 0) {
        // Not seekable (a pipe): what was counted has been consumed and cannot be read again.
        std::fclose(file);
        file = nullptr;
    }
}

bool LineReader::refill()
{
    start = 0;
    filled = file ? std::fread(buffer.get(), 1, bufferSize, file) : 0;
    return filled > 0;
}

void LineReader::keep(const char* text, std::size_t length)
{
    const std::size_t room = maxLineLength - std::min(maxLineLength, spill.size());
    spill.append(text, std::min(length, room));
}

std::string_view LineReader::nextLine()
{
    spill.clear();
    bool spilled = false;
    while (start < filled || refill()) {
        const char* const begin = buffer.get() + start;
        const std::size_t available = filled - start;
        const auto* feed = static_cast<const char*>(std::memchr(begin, '\n', available));
        if (!feed) {
            keep(begin, available);
            spilled = true;
            start = filled;
            continue;
        }
        const auto length = static_cast<std::size_t>(feed - begin);
        start += length + 1;
        if (!spilled)
            return withoutCarriageReturn({begin, std::min(length, maxLineLength)});
        keep(begin, length);
        break;
    }
    return withoutCarriageReturn(spill);
}
