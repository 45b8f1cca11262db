#pragma once
// A benchmark program's folder for its traffic, output and measurement files: under the system's
// temporary folder, named for the benchmark and the process, with an empty metrics folder, and
// removed with everything in it when the program ends.

#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

class ScratchFolder
{
public:
    explicit ScratchFolder(const std::string& benchmark)
        : path(std::filesystem::temp_directory_path() /
               ("roadflux-bench-" + benchmark + "-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(path / "metrics");
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path path;
};
