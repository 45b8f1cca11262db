#pragma once
// Every entry of a folder, for checking that a refused command touched nothing: its type, where
// a link points and a regular file's content.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

inline std::map<std::string, std::string> sandboxSnapshot(const std::filesystem::path& folder)
{
    namespace fs = std::filesystem;
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
    {
        const fs::file_status status = entry.symlink_status();
        std::string state = std::to_string(static_cast<int>(status.type()));
        if (fs::is_symlink(status))
            state += " -> " + fs::read_symlink(entry.path()).string();
        else if (fs::is_regular_file(status))
        {
            std::ifstream in(entry.path(), std::ios::binary);
            state += " " + std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        entries[entry.path().string()] = state;
    }
    return entries;
}
