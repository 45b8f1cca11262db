#pragma once
// Reading the small comma-separated files of this folder: lines with any line ending, split at
// commas into trimmed fields.

#include <string>
#include <string_view>
#include <vector>

#include <cstddef>

namespace TextLines {
// Bridges and influence-line files are a few hundred lines; a larger one is no such file.
inline constexpr std::size_t maxBytes = std::size_t{64} << 20;

// The file's lines without their endings (LF, CR LF or CR); false when it cannot be read.
bool read(const std::string& path, std::vector<std::string>& lines);

std::vector<std::string> splitFields(std::string_view line);

bool isBlank(std::string_view line);
}
