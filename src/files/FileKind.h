#pragma once
// What stands at a path, so that a command reads only regular files and replaces only regular
// files: a device, a pipe or a folder is never read as data, blocked on, or replaced.

#include <cstdio>
#include <optional>
#include <string>

enum class FileKind
{
    missing,
    regular,
    directory,
    fifo,
    characterDevice,
    blockDevice,
    socket,
    other,
};

// Follows symbolic links: a link to a regular file is a regular file.
FileKind fileKindOf(const std::string& path);
// What an open descriptor refers to: the file itself, whatever its name stands for by now.
FileKind fileKindOf(int descriptor);

// "a folder", "a named pipe (FIFO)", "a device", ...; "" for a regular or missing file.
std::string describeFileKind(FileKind kind);

// Why the path cannot be read as a file's content: it is missing, or not a regular file.
std::optional<std::string> whyNotReadable(const std::string& path);

// Why an existing file at the path must not be replaced by a newly written one: it is not a
// regular file. Nothing for a regular or missing file.
std::optional<std::string> whyNotReplaceable(const std::string& path);

// The stream of an open descriptor, switched back to blocking I/O (it was opened with
// O_NONBLOCK so that a pipe could not block the open); nullptr with `error` set, the descriptor
// closed, when it cannot be made.
std::FILE* streamOf(int descriptor, const char* mode, std::string& error);
