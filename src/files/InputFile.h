#pragma once
// Opens the files a command reads: regular files only, so that a pipe is never blocked on and a
// device never read without end, with the system's reason when one cannot be opened. Text
// starting with a UTF-8 byte-order mark is read past it; text in UTF-16 or UTF-32 is refused by
// name rather than read as garbage.

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

// The stream of a regular file opened for reading (binary), or nullptr with `error` set to the
// reason ("Permission denied", "a named pipe (FIFO), not a regular file").
std::FILE* openInputStream(const std::string& path, std::string& error);

// The length of a UTF-8 byte-order mark at the start of `text`, 0 when there is none.
std::size_t utf8ByteOrderMarkLength(std::string_view text);

// Why text starting so cannot be read as the program's text formats: it is UTF-16 or UTF-32.
std::optional<std::string> unreadableEncoding(std::string_view start);

// Reads a whole file of at most maxBytes as it is; the reason when it cannot.
std::optional<std::string> readFileBytes(const std::string& path, std::string& bytes,
                                         std::size_t maxBytes = std::size_t{1} << 30);

// Reads a whole text file of at most maxBytes, without its UTF-8 byte-order mark; the reason
// when it cannot (not a regular file, too large, another encoding, a read error).
std::optional<std::string> readTextFile(const std::string& path, std::string& text,
                                        std::size_t maxBytes = std::size_t{1} << 30);
