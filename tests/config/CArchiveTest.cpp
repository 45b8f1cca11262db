#include "config/CArchive.h"
#include "config/CDistribution.h"
#include "config/CIDMParameterSet.h"
#include "config/CParameter.h"
#include "config/CRoadFeature.h"
#include "config/CStatDetector.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {
using Bytes = std::vector<std::uint8_t>;

Bytes u16(std::uint16_t v)
{
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
}

Bytes u32(std::uint32_t v)
{
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
            static_cast<std::uint8_t>(v >> 24)};
}

Bytes f64(double v)
{
    const auto bits = std::bit_cast<std::uint64_t>(v);
    Bytes out;
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    return out;
}

Bytes text(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

template <class Record>
Bytes stored(const Record& record)
{
    CArchive archive;
    record.store(archive);
    return archive.buffer();
}

template <class Record>
Record loadedWhole(const Bytes& bytes)
{
    CArchive archive(bytes);
    Record record;
    record.Serialize(archive);
    EXPECT_TRUE(archive.atEnd());
    return record;
}

const Bytes defaultDetector = concat({u16(510), u32(1), u16(500), u32(60), u32(1000)});
const Bytes defaultFeature = concat({u16(400), u32(1), u32(0), u32(1000), f64(41.7)});
}

TEST(ArchiveFormTest, DistributionIs26BytesOfTypeAndThreeDoubles)
{
    EXPECT_EQ(stored(CDistribution()), concat({u16(206), f64(10.0), f64(2.0), f64(0.0)}));
    CDistribution gev;
    gev.setType(CDistribution::gev);
    gev.setLocation(-1.5);
    gev.setScale(0.25);
    gev.setShape(3.0);
    const Bytes bytes = stored(gev);
    ASSERT_EQ(bytes.size(), 26u);
    const CDistribution back = loadedWhole<CDistribution>(bytes);
    EXPECT_EQ(back.getType(), CDistribution::gev);
    EXPECT_EQ(back.getLocation(), -1.5);
    EXPECT_EQ(back.getScale(), 0.25);
    EXPECT_EQ(back.getShape(), 3.0);
}

TEST(ArchiveFormTest, ParameterIs28BytesEndingWithItsIdentifier)
{
    CParameter delta;
    delta.setId(306);
    EXPECT_EQ(stored(delta), concat({u16(207), f64(4.0), f64(2.0), f64(0.0), u16(306)}));
    const CParameter back = loadedWhole<CParameter>(stored(delta));
    EXPECT_EQ(back.getId(), 306);
    EXPECT_EQ(back.getDistribution().getType(), CDistribution::constant);
}

TEST(ArchiveFormTest, ParameterSetIsTheTenParametersThenTheClassIn284Bytes)
{
    CIDMParameterSet set(3);
    const Bytes bytes = stored(set);
    ASSERT_EQ(bytes.size(), 284u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 2), u16(206));
    EXPECT_EQ(Bytes(bytes.begin() + 26, bytes.begin() + 28), u16(300));
    EXPECT_EQ(Bytes(bytes.begin() + 28 * 5, bytes.begin() + 28 * 6), stored(set.getParamV0()));
    EXPECT_EQ(Bytes(bytes.end() - 4, bytes.end()), u32(3));

    set.getParamS1().getDistribution().setType(CDistribution::gumbel);
    set.getParamDeltaAth().getDistribution().setLocation(0.45);
    const CIDMParameterSet back = loadedWhole<CIDMParameterSet>(stored(set));
    EXPECT_EQ(back.getVehicleClass(), 3);
    EXPECT_EQ(back.getParamS1().getDistribution().getType(), CDistribution::gumbel);
    EXPECT_EQ(back.getParamDeltaAth().getDistribution().getLocation(), 0.45);
    EXPECT_EQ(stored(back), stored(set));
}

TEST(ArchiveFormTest, RoadFeatureIs22Bytes)
{
    EXPECT_EQ(stored(CRoadFeature()), defaultFeature);
    CRoadFeature gradient;
    gradient.setType(CRoadFeature::gradient);
    gradient.setDirectionPositive(false);
    gradient.setStart(-20);
    gradient.setEnd(2500);
    gradient.setValue(-4.5);
    EXPECT_EQ(stored(gradient), concat({u16(401), u32(0), u32(0xFFFFFFECu), u32(2500), f64(-4.5)}));
    const CRoadFeature back = loadedWhole<CRoadFeature>(stored(gradient));
    EXPECT_EQ(back.getType(), CRoadFeature::gradient);
    EXPECT_FALSE(back.isDirectionPositive());
    EXPECT_EQ(back.getStart(), -20);
    EXPECT_EQ(back.getEnd(), 2500);
    EXPECT_EQ(back.getValue(), -4.5);
}

TEST(ArchiveFormTest, StatDetectorIs16BytesWithoutItsFolder)
{
    CStatDetector detector;
    detector.setOutputFolder("/tmp/metrics");
    EXPECT_EQ(stored(detector), defaultDetector);

    detector.setKind(CStatDetector::laneChanges);
    detector.setDirectionPositive(false);
    detector.setVehicleTypes(CStatDetector::cranes);
    detector.setInterval(300);
    detector.setLocation(250);
    CStatDetector back;
    back.setOutputFolder("kept");
    CArchive archive(stored(detector));
    back.Serialize(archive);
    EXPECT_EQ(back.getKind(), CStatDetector::laneChanges);
    EXPECT_FALSE(back.isDirectionPositive());
    EXPECT_EQ(back.getVehicleTypes(), CStatDetector::cranes);
    EXPECT_EQ(back.getInterval(), 300);
    EXPECT_EQ(back.getLocation(), 250);
    EXPECT_EQ(back.getOutputFolder(), "kept");
}

TEST(ArchiveFormTest, AnyNonZeroDirectionLoadsAsPositiveAndIsWrittenBackAsOne)
{
    const CStatDetector detector = loadedWhole<CStatDetector>(concat({u16(511), u32(2), u16(500), u32(60), u32(10)}));
    EXPECT_TRUE(detector.isDirectionPositive());
    EXPECT_EQ(stored(detector), concat({u16(511), u32(1), u16(500), u32(60), u32(10)}));
    const CRoadFeature feature =
        loadedWhole<CRoadFeature>(concat({u16(400), u32(0x80000000u), u32(0), u32(5), f64(1)}));
    EXPECT_TRUE(feature.isDirectionPositive());
}

TEST(ArchiveStringTest, LengthPrefixGrowsWithTheString)
{
    struct Case
    {
        std::size_t length;
        Bytes prefix;
    };
    const std::vector<Case> cases = {
        {0, {0}},
        {254, {254}},
        {255, concat({{0xFF}, u16(255)})},
        {300, concat({{0xFF}, u16(300)})},
        {0xFFFD, concat({{0xFF}, u16(0xFFFD)})},
        {0xFFFE, concat({{0xFF}, u16(0xFFFF), u32(0xFFFE)})},
        {70000, concat({{0xFF}, u16(0xFFFF), u32(70000)})},
    };
    for (const Case& c : cases)
    {
        const std::string value(c.length, 'x');
        CArchive out;
        out.writeString(value);
        const Bytes& bytes = out.buffer();
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length) << c.length;
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(c.prefix.size())), c.prefix);
        CArchive in(bytes);
        EXPECT_EQ(in.readString(), value);
        EXPECT_TRUE(in.atEnd());
    }
}

TEST(ArchiveStringTest, EightBitCharactersPassUnchanged)
{
    const std::string value("C:\\Roadflux\\Metrics\\\xe9\x00\xff", 23);
    CArchive out;
    out.writeString(value);
    CArchive in(out.buffer());
    EXPECT_EQ(in.readString(), value);
}

TEST(ArchiveObjectArrayTest, ClassesAndObjectsShareOneIndexCounter)
{
    std::vector<std::unique_ptr<CStatDetector>> detectors;
    detectors.push_back(std::make_unique<CStatDetector>());
    detectors.push_back(std::make_unique<CStatDetector>());
    std::vector<CRoadFeature*> features = {new CRoadFeature, new CRoadFeature};
    CArchive out;
    out.writeObjectArray(detectors);
    out.writeObjectArray(features);
    const Bytes expected = concat({u16(2), u16(0xFFFF), u16(1), u16(13), text("CStatDetector"), defaultDetector,
                                   u16(0x8001), defaultDetector, u16(2), u16(0xFFFF), u16(1), u16(12),
                                   text("CRoadFeature"), defaultFeature, u16(0x8004), defaultFeature});
    EXPECT_EQ(out.buffer(), expected);

    CArchive in(out.buffer());
    EXPECT_EQ(in.readObjectArray<CStatDetector>().size(), 2u);
    EXPECT_EQ(in.readObjectArray<CRoadFeature>().size(), 2u);
    EXPECT_TRUE(in.atEnd());
    for (CRoadFeature* feature : features)
        delete feature;
}

TEST(ArchiveObjectArrayTest, EmptyArraysWriteOnlyTheirCount)
{
    CArchive out;
    out.writeObjectArray(std::vector<CStatDetector>{});
    out.writeObjectArray(std::vector<CRoadFeature>(2));
    // The class first met in the second array still takes index 1.
    const Bytes expected = concat({u16(0), u16(2), u16(0xFFFF), u16(1), u16(12), text("CRoadFeature"), defaultFeature,
                                   u16(0x8001), defaultFeature});
    EXPECT_EQ(out.buffer(), expected);
    CArchive in(out.buffer());
    EXPECT_TRUE(in.readObjectArray<CStatDetector>().empty());
    EXPECT_EQ(in.readObjectArray<CRoadFeature>().size(), 2u);
}

TEST(ArchiveObjectArrayTest, LargeCountsAndIndicesUseTheirWideForms)
{
    std::vector<CStatDetector> detectors(70000);
    detectors[69999].setLocation(4242);
    std::vector<CRoadFeature> features(2);
    features[1].setValue(22.2);
    CArchive out;
    out.writeObjectArray(detectors);
    out.writeObjectArray(features);
    const Bytes& bytes = out.buffer();
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 6), concat({u16(0xFFFF), u32(70000)}));
    // "CRoadFeature" is index 70002, so its second object is tagged 0x7FFF and 0x80000000 | 70002.
    const Bytes secondFeature = concat({u16(0x7FFF), u32(0x80000000u | 70002u), stored(features[1])});
    EXPECT_EQ(Bytes(bytes.end() - static_cast<std::ptrdiff_t>(secondFeature.size()), bytes.end()), secondFeature);

    CArchive in(bytes);
    const auto loadedDetectors = in.readObjectArray<CStatDetector>();
    const auto loadedFeatures = in.readObjectArray<CRoadFeature>();
    ASSERT_EQ(loadedDetectors.size(), 70000u);
    EXPECT_EQ(loadedDetectors.back()->getLocation(), 4242);
    ASSERT_EQ(loadedFeatures.size(), 2u);
    EXPECT_EQ(loadedFeatures[1]->getValue(), 22.2);
}

TEST(ArchiveRefusalTest, EveryTruncationOfADocumentIsRefused)
{
    CArchive out;
    out.writeObjectArray(std::vector<CStatDetector>(2));
    out.writeObjectArray(std::vector<CRoadFeature>(2));
    CIDMParameterSet().store(out);
    out.writeString("input.txt");
    out.writeUInt16(101);
    out.writeDouble(0.1);
    const Bytes& whole = out.buffer();
    for (std::size_t length = 0; length < whole.size(); ++length)
    {
        CArchive in(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)));
        EXPECT_THROW(
            {
                in.readObjectArray<CStatDetector>();
                in.readObjectArray<CRoadFeature>();
                CIDMParameterSet set;
                set.load(in);
                in.readString();
                in.readUInt16();
                in.readDouble();
            },
            ArchiveError)
            << "length " << length;
    }
}

TEST(ArchiveRefusalTest, ForeignClassTagsAreRefused)
{
    const Bytes detector = defaultDetector;
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"other class", concat({u16(1), u16(0xFFFF), u16(1), u16(12), text("CRoadFeature"), detector})},
        {"other schema", concat({u16(1), u16(0xFFFF), u16(2), u16(13), text("CStatDetector"), detector})},
        {"name too long for the rest", concat({u16(1), u16(0xFFFF), u16(1), u16(500), text("CStatDetector")})},
        {"unknown class index", concat({u16(1), u16(0x8001), detector})},
        {"object back-reference",
         concat({u16(2), u16(0xFFFF), u16(1), u16(13), text("CStatDetector"), detector, u16(0x0002), detector})},
        {"null object", concat({u16(1), u16(0x0000), detector})},
        {"index of an object, not a class",
         concat({u16(2), u16(0xFFFF), u16(1), u16(13), text("CStatDetector"), detector, u16(0x8002), detector})},
        {"wide back-reference", concat({u16(1), u16(0x7FFF), u32(5), detector})},
    };
    for (const auto& [name, bytes] : cases)
    {
        CArchive in(bytes);
        EXPECT_THROW(in.readObjectArray<CStatDetector>(), ArchiveError) << name;
    }
}

TEST(ArchiveRefusalTest, SizesBeyondTheBytesLeftAreRefusedBeforeAllocating)
{
    CArchive hugeCount(concat({u16(0xFFFF), u32(0xFFFFFFFFu), Bytes(100, 0)}));
    EXPECT_THROW(hugeCount.readObjectArray<CStatDetector>(), ArchiveError);
    CArchive countJustTooLarge(concat({u16(2), u16(0xFFFF), u16(1), u16(13), text("CStatDetector"), defaultDetector}));
    EXPECT_THROW(countJustTooLarge.readObjectArray<CStatDetector>(), ArchiveError);
    CArchive hugeString(concat({{0xFF}, u16(0xFFFF), u32(0xFFFFFFF0u), text("abc")}));
    EXPECT_THROW(hugeString.readString(), ArchiveError);
    CArchive wideString(concat({{0xFF}, u16(0xFFFE), {3}, text("abc")}));
    EXPECT_THROW(wideString.readString(), ArchiveError);
}

TEST(ArchiveRefusalTest, AFailedLoadLeavesTheRecordAsItWas)
{
    CIDMParameterSet set(2);
    set.getParamT().getDistribution().setLocation(1.7);
    const Bytes before = stored(set);
    CIDMParameterSet other(4);
    other.getParamT().getDistribution().setLocation(9.0);
    Bytes truncated = stored(other);
    truncated.resize(100);
    CArchive in(truncated);
    EXPECT_THROW(set.load(in), ArchiveError);
    EXPECT_EQ(stored(set), before);

    CRoadFeature feature;
    CArchive shortFeature(Bytes(defaultFeature.begin(), defaultFeature.end() - 1));
    feature.setValue(3.0);
    EXPECT_THROW(feature.load(shortFeature), ArchiveError);
    EXPECT_EQ(feature.getValue(), 3.0);
}
