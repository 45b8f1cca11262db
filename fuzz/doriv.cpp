// Feeds arbitrary bytes to the DoRIV record reader, writes the vehicle back, and checks that
// a record written at its full width reads back to the same whole-number fields.

#include "trafficfiles/RecordFormat.h"
#include "vehicles/Truck.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Truck vehicle;
    readDORIV(vehicle, std::string_view(reinterpret_cast<const char*>(data), size));
    std::string record;
    writeDORIV(vehicle, record);
    if (record.size() != 152)
        return 0;
    Truck again;
    readDORIV(again, record);
    if (again.head != vehicle.head || again.axleCount != vehicle.axleCount || again.lane != vehicle.lane ||
        again.direction != vehicle.direction || again.getTime() != vehicle.getTime() ||
        again.axles.size() != vehicle.axles.size())
        __builtin_trap();
    return 0;
}
