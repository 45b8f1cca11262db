#pragma once
// Opens a file that a command streams its output into (a traffic file, a measurement file),
// emptying it. The file claimed for the command is the one opened; an output nobody claimed
// (the desktop program's tests, a library caller) is held to the same rule: absent or a
// regular file, never a device, a pipe or a folder.

#include <cstdint>
#include <cstdio>
#include <string>

// The stream, unbuffered, or nullptr with `error` set to the reason.
std::FILE* openOutputStream(const std::string& path, std::string& error);

// Cuts a stream opened so back to its first `length` bytes (after a write that failed half
// way); false when the file cannot be cut (nothing is left to cut on a device).
bool cutBack(std::FILE* stream, std::uintmax_t length);

#include <array>
#include <ostream>
#include <streambuf>

// A stream into a file opened as openOutputStream() opens it, for writers that format with
// operator<<. Failed writes set badbit; close() says whether everything reached the file.
class OutputFile : public std::ostream
{
public:
    explicit OutputFile(const std::string& path);
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool isOpen() const { return buffer.file != nullptr; }
    const std::string& error() const { return openError; }
    // Writes what is buffered and closes the file; false when any write failed.
    bool close();

private:
    class Buffer : public std::streambuf
    {
    public:
        Buffer();
        std::FILE* file = nullptr;
        bool failed = false;

    protected:
        int_type overflow(int_type c) override;
        int sync() override;

    private:
        std::array<char, 64 * 1024> space{};
    };

    Buffer buffer;
    std::string openError;
};
