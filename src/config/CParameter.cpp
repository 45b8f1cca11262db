#include "config/CParameter.h"

#include "config/CArchive.h"

void CParameter::setId(std::uint16_t identifier)
{
    id = identifier;
    switch (identifier)
    {
    case 300:
        distribution.setLocation(1.2);
        distribution.setScale(0.05);
        break;
    case 301:
        distribution.setLocation(1.0);
        distribution.setScale(0.05);
        break;
    case 302:
        distribution.setLocation(2.0);
        distribution.setScale(0.1);
        break;
    case 303:
        distribution.setLocation(1.0);
        distribution.setScale(0.05);
        break;
    case 304:
        distribution.setLocation(10.0);
        distribution.setScale(0.7);
        break;
    case 306:
        distribution.setType(CDistribution::constant);
        distribution.setLocation(4.0);
        break;
    case 307:
        distribution.setType(CDistribution::constant);
        distribution.setLocation(0.0);
        break;
    case 308:
        distribution.setType(CDistribution::constant);
        distribution.setLocation(0.1);
        break;
    case 309:
        distribution.setType(CDistribution::constant);
        distribution.setLocation(0.3);
        break;
    default:  // 305, desired velocity in km/h, and any unknown identifier
        distribution.setLocation(80.0);
        distribution.setScale(3.0);
        break;
    }
}

void CParameter::Serialize(CArchive& archive)
{
    if (archive.isStoring())
        store(archive);
    else
        load(archive);
}

void CParameter::store(CArchive& archive) const
{
    distribution.store(archive);
    archive.writeUInt16(id);
}

void CParameter::load(CArchive& archive)
{
    CDistribution loadedDistribution;
    loadedDistribution.load(archive);
    const std::uint16_t loadedId = archive.readUInt16();
    distribution = loadedDistribution;
    id = loadedId;
}
