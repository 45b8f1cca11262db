// Loads arbitrary bytes as a configuration file: the load must neither crash nor hang, and every
// value must come out finite.

#include "config/CConfigData.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {
// A plain buffer, so that the exit handler that removes the file never sees a destroyed string.
char scratchPath[64];

const char* scratchFile()
{
    if (scratchPath[0] == '\0')
    {
        // In memory where possible: rewriting a file on disk for every input costs milliseconds.
        std::snprintf(scratchPath, sizeof scratchPath, "%s/roadflux_fuzz_config_XXXXXX",
                      std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp");
        const int descriptor = mkstemp(scratchPath);
        if (descriptor < 0)
            std::abort();
        close(descriptor);
        std::atexit([] { std::remove(scratchPath); });
    }
    return scratchPath;
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* name = scratchFile();
    std::FILE* file = std::fopen(name, "wb");
    if (file == nullptr)
        return 0;
    if (size > 0)
        std::fwrite(data, 1, size, file);
    std::fclose(file);

    CConfigData config;
    if (!config.readConfigFile(name))
        std::abort();
    const double reals[] = {config.laneChangeMinGap,   config.entryGap,          config.safeDeceleration,
                            config.laneChangeInterval, config.gradientMinAccel,  config.gradientHeadwayStep,
                            config.gradientMinSpeed,   config.gradientSpeedStep, config.craneMeanSpacing,
                            config.lowLoaderSpacing,   config.minViewScale,      config.vehicleTipTime};
    for (double value : reals)
        if (!std::isfinite(value))
            std::abort();
    for (Colour colour : config.classColour)
        if (colour > 0xFFFFFFu)
            std::abort();
    if (config.gradientColour > 0xFFFFFFu || config.backgroundColour > 0xFFFFFFu)
        std::abort();
    return 0;
}
