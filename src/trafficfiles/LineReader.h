#pragma once
// Reads a text file one line at a time through a fixed-size buffer, so that memory stays the
// same however long the file is. Counts the file's lines when opened, for progress figures.
// LF, CR LF and a lone CR all end a line, so that a file saved with old Mac line ends reads as
// its records rather than as one long line.

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

class LineReader
{
public:
    // Opens the file and counts its lines; a file that cannot be opened reads as empty. A UTF-8
    // byte-order mark is read past; UTF-16 or UTF-32 text is not opened.
    explicit LineReader(const std::string& fileName);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool isOpen() const { return file != nullptr; }
    // Why the file is not open: the system's reason, not a regular file, or its encoding.
    const std::string& error() const { return openError; }

    // Lines in the file: its line ends, plus one for a last line that has none.
    long long lineCount() const { return lines; }

    // The next line without its line end; empty at the end of the file. The text stays valid
    // until the next call. Only the first maxLineLength characters of a line are kept; the rest
    // is skipped.
    std::string_view nextLine();

    // True once nextLine() has met the end of the file: tells an empty line from the end.
    bool atEnd() const { return reachedEnd; }
    // Characters consumed so far, line ends included.
    long long bytesRead() const { return consumed; }

    // Far beyond the last column of any record format, and small enough that a malformed
    // file without line feeds cannot exhaust memory.
    static constexpr std::size_t maxLineLength = 4096;

private:
    static constexpr std::size_t bufferSize = 64 * 1024;

    void countLines();
    void skipByteOrderMark();
    bool refill();
    void keep(const char* text, std::size_t length);
    void skipLineFeedAfterCarriageReturn();

    std::string openError;
    std::FILE* file = nullptr;
    std::unique_ptr<char[]> buffer;
    std::size_t start = 0;   // first unread character in buffer
    std::size_t filled = 0;  // characters in buffer
    std::string spill;       // a line that runs across buffer refills
    long long lines = 0;
    long long consumed = 0;
    // The last line ended with a CR: a LF right after it belongs to the same line end.
    bool afterCarriageReturn = false;
    bool reachedEnd = false;
};
