#pragma once
// What stands at a path, so that a command reads only regular files and replaces only regular
// files: a device, a pipe or a folder is never read as data, blocked on, or replaced.

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

// "a folder", "a named pipe (FIFO)", "a device", ...; "" for a regular or missing file.
std::string describeFileKind(FileKind kind);

// Why the path cannot be read as a file's content: it is missing, or not a regular file.
std::optional<std::string> whyNotReadable(const std::string& path);

// Why an existing file at the path must not be replaced by a newly written one: it is not a
// regular file. Nothing for a regular or missing file.
std::optional<std::string> whyNotReplaceable(const std::string& path);
