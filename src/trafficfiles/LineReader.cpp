#include "trafficfiles/LineReader.h"

#include "files/InputFile.h"

#include <algorithm>
#include <cstring>

namespace {

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

// The first LF or CR in [begin, end), or end: two fast scans rather than one slow one.
const char* findLineEnd(const char* begin, const char* end)
{
    const auto* feed = static_cast<const char*>(std::memchr(begin, '\n', static_cast<std::size_t>(end - begin)));
    const char* const limit = feed ? feed : end;
    const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', static_cast<std::size_t>(limit - begin)));
    return cr ? cr : limit;
}

}  // namespace

LineReader::LineReader(const std::string& fileName)
    : file(openInputStream(fileName, openError)), buffer(std::make_unique<char[]>(bufferSize))
{
    spill.reserve(maxLineLength);
    if (file)
        countLines();
    if (file)
        skipByteOrderMark();
}

// A mark saved by some editors before the first record would otherwise make that record
// unreadable; text in another encoding is refused whole rather than read as garbage.
void LineReader::skipByteOrderMark()
{
    if (!refill())
        return;
    const std::string_view head(buffer.get(), filled);
    if (auto encoding = unreadableEncoding(head))
    {
        openError = *encoding;
        std::fclose(file);
        file = nullptr;
        start = filled = 0;
        lines = 0;
        return;
    }
    start = utf8ByteOrderMarkLength(head);
    consumed = static_cast<long long>(start);
    // A mark and nothing else is an empty file, not a line.
    if (start > 0 && start == filled)
        lines = 0;
}

LineReader::~LineReader()
{
    if (file)
        std::fclose(file);
}

// A line end is a LF, or a CR not followed by a LF; a CR at the end of one buffer may meet its
// LF at the start of the next.
void LineReader::countLines()
{
    char last = '\n';
    bool carriageReturnPending = false;
    while (refill())
    {
        const char* const text = buffer.get();
        const char* const end = text + filled;
        lines += std::count(text, end, '\n');
        if (carriageReturnPending && text[0] != '\n')
            ++lines;
        carriageReturnPending = false;
        for (auto* cr = static_cast<const char*>(std::memchr(text, '\r', filled)); cr;
             cr = static_cast<const char*>(std::memchr(cr + 1, '\r', static_cast<std::size_t>(end - cr - 1))))
        {
            if (cr + 1 == end)
            {
                carriageReturnPending = true;
                break;
            }
            if (cr[1] != '\n')
                ++lines;
        }
        last = end[-1];
    }
    if (carriageReturnPending)
        ++lines;
    else if (!isLineEnd(last))
        ++lines;
    start = filled = 0;
    std::clearerr(file);
    if (std::fseek(file, 0, SEEK_SET) != 0)
    {
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

void LineReader::skipLineFeedAfterCarriageReturn()
{
    if (!afterCarriageReturn)
        return;
    if (start < filled || refill())
    {
        afterCarriageReturn = false;
        if (buffer[start] == '\n')
        {
            ++start;
            ++consumed;
        }
    }
}

std::string_view LineReader::nextLine()
{
    spill.clear();
    skipLineFeedAfterCarriageReturn();
    bool spilled = false;
    while (start < filled || refill())
    {
        const char* const begin = buffer.get() + start;
        const char* const end = buffer.get() + filled;
        const char* const lineEnd = findLineEnd(begin, end);
        const auto length = static_cast<std::size_t>(lineEnd - begin);
        if (lineEnd == end)
        {
            keep(begin, length);
            spilled = true;
            start = filled;
            consumed += static_cast<long long>(length);
            continue;
        }
        afterCarriageReturn = *lineEnd == '\r';
        start += length + 1;
        consumed += static_cast<long long>(length) + 1;
        if (!spilled)
            return {begin, std::min(length, maxLineLength)};
        keep(begin, length);
        return spill;
    }
    reachedEnd = true;
    return spill;
}
