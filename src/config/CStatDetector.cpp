#include "config/CStatDetector.h"

#include "config/CArchive.h"

void CStatDetector::Serialize(CArchive& archive)
{
    if (archive.isStoring())
        store(archive);
    else
        load(archive);
}

void CStatDetector::store(CArchive& archive) const
{
    archive.writeUInt16(kind);
    archive.writeInt32(directionPositive ? 1 : 0);
    archive.writeUInt16(vehicleTypes);
    archive.writeInt32(interval);
    archive.writeInt32(location);
}

void CStatDetector::load(CArchive& archive)
{
    // All fields are read before any is changed, so a short archive leaves the detector whole.
    const std::uint16_t loadedKind = archive.readUInt16();
    const bool loadedDirection = archive.readInt32() != 0;
    const std::uint16_t loadedVehicleTypes = archive.readUInt16();
    const std::int32_t loadedInterval = archive.readInt32();
    const std::int32_t loadedLocation = archive.readInt32();
    kind = loadedKind;
    directionPositive = loadedDirection;
    vehicleTypes = loadedVehicleTypes;
    interval = loadedInterval;
    location = loadedLocation;
}
