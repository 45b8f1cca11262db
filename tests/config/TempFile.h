#pragma once
// A file in the temporary folder holding given bytes, removed when the test ends.

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

class TempFile
{
public:
    explicit TempFile(const std::string& content)
    {
        static std::atomic<int> counter{0};
        path = std::filesystem::temp_directory_path() /
               ("roadflux_config_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        std::ofstream out(path, std::ios::binary);
        out << content;
    }
    ~TempFile() { std::filesystem::remove(path); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    std::string name() const { return path.string(); }

private:
    std::filesystem::path path;
};
