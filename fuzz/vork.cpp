// Feeds arbitrary bytes to the VORK record reader, writes the vehicle back, and checks that
// the written record reads back to the same record number, time and axle count.

#include "trafficfiles/RecordFormat.h"
#include "vehicles/Truck.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Truck vehicle;
    readVORK(vehicle, std::string_view(reinterpret_cast<const char*>(data), size));
    std::string record;
    writeVORK(vehicle, record);
    // Only a record whose fields all fit their columns lines up again.
    const std::size_t nominal = vehicle.axleCount == 0 ? 35 : 33 + 5 * static_cast<std::size_t>(vehicle.axleCount);
    if (record.size() != nominal)
        return 0;
    Truck again;
    readVORK(again, record);
    if (again.recordNumber != vehicle.recordNumber || again.axleCount != vehicle.axleCount ||
        again.getTime() != vehicle.getTime() || again.gvw != vehicle.gvw)
        __builtin_trap();
    return 0;
}
