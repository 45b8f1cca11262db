#pragma once
// A fresh folder under the system's temporary directory for one test, removed afterwards, and
// a helper that reads a whole file back as bytes.

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

class TempFolder
{
public:
    TempFolder()
    {
        static std::atomic<int> counter{0};
        path = std::filesystem::temp_directory_path() /
               ("roadflux-detectors-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }

    // The folder as a study would hold it, with a trailing separator.
    std::string withSlash() const { return path.string() + "/"; }
    std::filesystem::path file(const std::string& name) const { return path / name; }
    bool exists(const std::string& name) const { return std::filesystem::exists(path / name); }
    std::string read(const std::string& name) const
    {
        std::ifstream in(path / name, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    std::filesystem::path path;
};
