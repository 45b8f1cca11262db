#include "trafficfiles/LineWriter.h"

#include <filesystem>
#include <system_error>

bool LineWriter::open(const std::string& name)
{
    if (file)
        return false;
    file = std::fopen(name.c_str(), "wb");
    if (!file)
        return false;
    fileName = name;
    // `pending` already holds whole lines; a second buffer in the stream could split them.
    std::setvbuf(file, nullptr, _IONBF, 0);
    pending.reserve(flushThreshold + 1024);
    return true;
}

LineWriter::~LineWriter()
{
    flush();
    if (file)
        std::fclose(file);
}

void LineWriter::writeLine(std::string_view text)
{
    if (!file || lostLines)
    {
        lostLines = true;
        return;
    }
    pending.append(text);
    pending.push_back('\n');
    if (pending.size() >= flushThreshold)
        writeBuffered();
}

bool LineWriter::flush()
{
    if (file && !lostLines && !pending.empty())
        writeBuffered();
    return !lostLines;
}

void LineWriter::writeBuffered()
{
    const std::size_t written = std::fwrite(pending.data(), 1, pending.size(), file);
    if (written == pending.size())
    {
        committed += written;
    }
    else
    {
        lostLines = true;
        // Cut off the partial line; a device that cannot be resized has nothing to cut.
        std::error_code ignored;
        std::filesystem::resize_file(fileName, committed, ignored);
    }
    pending.clear();
}
