// Reads arbitrary bytes as a traffic model and, when they are accepted, draws an hour of traffic
// from it: reading must neither crash nor hang, and every drawn record must fit its columns.

#include "trafficmodel/ModelFile.h"
#include "trafficmodel/ModelTraffic.h"
#include "trafficmodel/TrafficModelError.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TrafficModel::Model model;
    try
    {
        model = ModelFile::fromJson(std::string(reinterpret_cast<const char*>(data), size), "fuzz.json");
    }
    catch (const TrafficModelError&)
    {
        return 0;
    }
    const std::uint16_t format = ModelTraffic::unfitFor(model, 102) ? 0 : 102;
    if (format == 0)
        return 0;
    std::ostringstream out;
    ModelTraffic(model, format, 1, 3600.0).write(out);
    std::istringstream records(out.str());
    for (std::string line; std::getline(records, line);)
        if (line.size() != 152)
            std::abort();
    return 0;
}
