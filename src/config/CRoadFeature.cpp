#include "config/CRoadFeature.h"

#include "config/CArchive.h"

void CRoadFeature::Serialize(CArchive& archive)
{
    if (archive.isStoring())
        store(archive);
    else
        load(archive);
}

void CRoadFeature::store(CArchive& archive) const
{
    archive.writeUInt16(type);
    archive.writeInt32(directionPositive ? 1 : 0);
    archive.writeInt32(start);
    archive.writeInt32(end);
    archive.writeDouble(value);
}

void CRoadFeature::load(CArchive& archive)
{
    // All fields are read before any is changed, so a short archive leaves the feature whole.
    const std::uint16_t loadedType = archive.readUInt16();
    const bool loadedDirection = archive.readInt32() != 0;
    const std::int32_t loadedStart = archive.readInt32();
    const std::int32_t loadedEnd = archive.readInt32();
    const double loadedValue = archive.readDouble();
    type = loadedType;
    directionPositive = loadedDirection;
    start = loadedStart;
    end = loadedEnd;
    value = loadedValue;
}
