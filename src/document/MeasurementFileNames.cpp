#include "document/MeasurementFileNames.h"

#include "detectors/LaneChangeDetector.h"
#include "detectors/MetricsDetector.h"

std::vector<std::string> measurementFileNamesOf(const CStatDetector& definition)
{
    // As the road builds the detectors: the codes as short, and the file names in road x.
    const auto types = static_cast<short>(definition.getVehicleTypes());
    const bool positive = definition.isDirectionPositive();
    if (definition.getKind() == CStatDetector::laneChanges)
        return LaneChangeDetector::fileNamesFor(types, positive);
    std::string name = MetricsDetector::fileNameFor(static_cast<short>(definition.getKind()), types, positive,
                                                    definition.getLocation());
    if (name.empty())
        return {};
    return {name};
}
