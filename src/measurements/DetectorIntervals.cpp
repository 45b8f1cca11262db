#include "measurements/DetectorIntervals.h"

#include "config/CStatDetector.h"

namespace {

// The four files of a lane-change detector share one key; the point detectors' keys hold their
// location.
std::string key(int kindGroup, const std::string& types, bool positive, std::optional<int> location)
{
    std::string text = std::to_string(kindGroup) + "_" + types + (positive ? "_Pos" : "_Neg");
    if (location)
        text += "_" + std::to_string(*location);
    return text;
}

int kindGroup(MeasurementKind kind)
{
    switch (kind)
    {
    case MeasurementKind::flowDensity: return CStatDetector::flowAndDensity;
    case MeasurementKind::headway: return CStatDetector::headway;
    case MeasurementKind::composition: return CStatDetector::composition;
    default: return CStatDetector::laneChanges;
    }
}

}  // namespace

DetectorIntervals::DetectorIntervals(const std::vector<std::unique_ptr<CStatDetector>>& definitions)
{
    for (const std::unique_ptr<CStatDetector>& definition : definitions)
    {
        int kind = definition->getKind();
        // A detector of an unknown kind writes a flow-and-density file.
        if (kind != CStatDetector::headway && kind != CStatDetector::composition && kind != CStatDetector::laneChanges)
            kind = CStatDetector::flowAndDensity;
        std::optional<int> location;
        if (kind != CStatDetector::laneChanges)
            location = definition->getLocation();
        // The first of two definitions with one file name writes the file.
        intervals.emplace(
            key(kind, vehicleTypesCode(definition->getVehicleTypes()), definition->isDirectionPositive(), location),
            definition->getInterval());
    }
}

std::optional<double> DetectorIntervals::of(const MeasurementFileName& name) const
{
    if (isLoadEffectKind(name.kind))
        return std::nullopt;
    auto found = intervals.find(key(kindGroup(name.kind), name.vehicleTypes, name.directionPositive, name.location));
    if (found == intervals.end())
        return std::nullopt;
    return found->second;
}
