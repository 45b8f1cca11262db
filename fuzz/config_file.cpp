// Loads arbitrary bytes as a configuration file: the load must neither crash nor hang, and every
// value must come out finite.

#include "ScratchFile.h"
#include "config/CConfigData.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* name = ScratchFile::holding(data, size);
    if (name == nullptr)
        return 0;

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
