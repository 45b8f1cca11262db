// Loads arbitrary bytes as a document's records, in the document file's order. Anything that
// is not a whole, well-formed document must be refused with ArchiveError; what loads must store
// back and load again to the same records, and must draw usable driver models.

#include "config/CArchive.h"
#include "config/CIDMParameterSet.h"
#include "config/CRoadFeature.h"
#include "config/CStatDetector.h"
#include "config/MersenneTwister.h"
#include "vehicles/DriverModelDraw.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {
struct Document
{
    std::vector<std::unique_ptr<CStatDetector>> detectors;
    std::vector<std::unique_ptr<CRoadFeature>> features;
    CIDMParameterSet sets[5];
    std::string names[3];
    std::uint16_t format = 0;
    std::int32_t integers[8] = {};
    double timeStep = 0.0;
    std::int32_t tail[4] = {};
};

void load(CArchive& archive, Document& document)
{
    document.detectors = archive.readObjectArray<CStatDetector>();
    document.features = archive.readObjectArray<CRoadFeature>();
    for (CIDMParameterSet& set : document.sets)
        set.load(archive);
    for (std::string& name : document.names)
        name = archive.readString();
    document.format = archive.readUInt16();
    for (std::int32_t& value : document.integers)
        value = archive.readInt32();
    document.timeStep = archive.readDouble();
    for (std::int32_t& value : document.tail)
        value = archive.readInt32();
}

std::vector<std::uint8_t> store(const Document& document)
{
    CArchive archive;
    archive.writeObjectArray(document.detectors);
    archive.writeObjectArray(document.features);
    for (const CIDMParameterSet& set : document.sets)
        set.store(archive);
    for (const std::string& name : document.names)
        archive.writeString(name);
    archive.writeUInt16(document.format);
    for (std::int32_t value : document.integers)
        archive.writeInt32(value);
    archive.writeDouble(document.timeStep);
    for (std::int32_t value : document.tail)
        archive.writeInt32(value);
    return archive.buffer();
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Document document;
    try
    {
        CArchive archive(std::vector<std::uint8_t>(data, data + size));
        load(archive, document);
    }
    catch (const ArchiveError&)
    {
        return 0;
    }

    const std::vector<std::uint8_t> once = store(document);
    Document again;
    CArchive reread(once);
    load(reread, again);
    if (!reread.atEnd() || store(again) != once)
        std::abort();

    theRandomGenerator.seed(1u);
    for (const CIDMParameterSet& set : document.sets)
    {
        const IDM model = drawDriverModel(set);
        if (!(model.getA() > 0.0) || !(model.getB() > 0.0) || !(model.getV0() > 0.0) || !std::isfinite(model.getA()) ||
            !std::isfinite(model.getB()) || !std::isfinite(model.getV0()) || !std::isfinite(model.getT()) ||
            !std::isfinite(model.getDelta()))
            std::abort();
    }
    return 0;
}
