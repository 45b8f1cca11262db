#pragma once
// The order in which the vehicles read from the traffic file enter the road, and its names as
// the runner's option, the study's options file and the summaries give them.

#include <optional>
#include <string_view>

enum class ReleaseOrder
{
    // Strictly as the file lists them: a vehicle that cannot enter holds back every later one,
    // in every lane and both directions.
    file,
    // Each lane's vehicles in file order: a vehicle that cannot enter holds back only the later
    // vehicles of its own lane.
    perLane,
};

inline constexpr const char* releaseOrderChoices = "file or per-lane";

inline const char* releaseOrderName(ReleaseOrder order)
{
    return order == ReleaseOrder::perLane ? "per-lane" : "file";
}

inline std::optional<ReleaseOrder> releaseOrderNamed(std::string_view name)
{
    if (name == "file")
        return ReleaseOrder::file;
    if (name == "per-lane")
        return ReleaseOrder::perLane;
    return std::nullopt;
}
