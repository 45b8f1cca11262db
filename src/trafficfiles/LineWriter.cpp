#include "trafficfiles/LineWriter.h"

#include "files/OutputStream.h"

bool LineWriter::open(const std::string& name)
{
    if (file)
        return false;
    // Unbuffered: `pending` already holds whole lines; a second buffer could split them.
    file = openOutputStream(name, openError);
    if (!file)
        return false;
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
        cutBack(file, committed);
    }
    pending.clear();
}
