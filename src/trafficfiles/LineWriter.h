#pragma once
// Writes whole text lines to a file. Lines are gathered in a buffer and reach the file only as
// whole lines; if the file refuses a write (a full disk), it is cut back to its last complete
// line and later lines are dropped, so the file never ends in a partial record.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

class LineWriter
{
public:
    // Closed until open() succeeds; writes to a closed writer are lost.
    LineWriter() = default;
    // Writes what is still buffered and closes the file.
    ~LineWriter();
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    // Creates the file, or empties an existing one (the one claimed for the command, when it
    // was); false when it cannot be created or is no regular file.
    bool open(const std::string& fileName);

    bool isOpen() const { return file != nullptr; }
    // Why open() failed: the system's reason, or what stands at the name instead of a file.
    const std::string& error() const { return openError; }

    // Appends the text and a line feed.
    void writeLine(std::string_view text);

    // Hands the buffered lines to the file; false when any line written so far has been lost.
    bool flush();

    // True once a line has been lost: the file could not be created or refused a write.
    bool failed() const { return lostLines; }

private:
    static constexpr std::size_t flushThreshold = 64 * 1024;

    void writeBuffered();

    std::FILE* file = nullptr;
    std::string openError;
    std::string pending;           // whole lines not yet handed to the file
    std::uintmax_t committed = 0;  // bytes of whole lines the file has accepted
    bool lostLines = false;
};
