// The study file byte for byte, round trips, and files that are refused.

#include "config/ArchiveError.h"
#include "config/CArchive.h"
#include "document/StudyDocument.h"
#include "document/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {
// Little-endian bytes built by hand, independent of the archive under test.
class Bytes
{
public:
    Bytes& u16(std::uint16_t v) { return raw({static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)}); }
    Bytes& i32(std::int32_t v)
    {
        const auto u = static_cast<std::uint32_t>(v);
        return raw({static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8), static_cast<std::uint8_t>(u >> 16),
                    static_cast<std::uint8_t>(u >> 24)});
    }
    Bytes& f64(double v)
    {
        std::uint64_t u;
        std::memcpy(&u, &v, sizeof u);
        for (int i = 0; i < 8; ++i)
            data.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
        return *this;
    }
    Bytes& text(const std::string& s)
    {
        data.insert(data.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& raw(std::initializer_list<std::uint8_t> b)
    {
        data.insert(data.end(), b);
        return *this;
    }
    Bytes& append(const std::vector<std::uint8_t>& b)
    {
        data.insert(data.end(), b.begin(), b.end());
        return *this;
    }
    Bytes& newClass(const std::string& name)
    {
        return u16(0xFFFF).u16(1).u16(static_cast<std::uint16_t>(name.size())).text(name);
    }
    Bytes& defaultDetector() { return u16(510).i32(1).u16(500).i32(60).i32(1000); }
    Bytes& defaultFeature() { return u16(400).i32(1).i32(0).i32(1000).f64(41.7); }

    std::vector<std::uint8_t> data;
};

std::vector<std::uint8_t> storedBytes(StudyDocument& document)
{
    CArchive archive;
    document.Serialize(archive);
    return archive.buffer();
}

std::vector<std::uint8_t> defaultParameterSets()
{
    CArchive archive;
    for (int k = 0; k < 5; ++k)
        CIDMParameterSet(k).store(archive);
    return archive.buffer();
}

Bytes settingsTail()
{
    Bytes b;
    b.raw({0, 0, 0}).u16(101);
    b.i32(2).i32(1).i32(2).i32(3).i32(2).i32(1).i32(3000).i32(1);
    b.f64(0.1).i32(2500).i32(2500).i32(1).i32(1);
    return b;
}

std::string fileText(const std::vector<std::uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}
}

TEST(StudyDocumentFile, NewStudyIsWrittenByteForByte)
{
    StudyDocument document;
    Bytes expected;
    expected.u16(1).newClass("CStatDetector").defaultDetector();
    expected.u16(1).newClass("CRoadFeature").defaultFeature();
    expected.append(defaultParameterSets());
    expected.append(settingsTail().data);

    const auto bytes = storedBytes(document);
    EXPECT_EQ(bytes, expected.data);
    EXPECT_EQ(bytes.size(), 1560u);
    // The parameter sets follow the arrays with no tag: the first starts with code 206 ("Normal").
    EXPECT_EQ(bytes[79], 206);
    EXPECT_EQ(bytes[80], 0);
}

TEST(StudyDocumentFile, LaterObjectsOfAClassAreTaggedWithTheClassIndex)
{
    StudyDocument document;
    StudyDocument::StatDetectorList detectors;
    detectors.push_back(std::make_unique<CStatDetector>());
    detectors.push_back(std::make_unique<CStatDetector>());
    detectors[1]->setKind(CStatDetector::headway);
    StudyDocument::RoadFeatureList features;
    features.push_back(std::make_unique<CRoadFeature>());
    features.push_back(std::make_unique<CRoadFeature>());
    features[1]->setType(CRoadFeature::gradient);
    document.setStatDetectors(detectors);
    document.setRoadFeatures(features);

    Bytes expected;
    expected.u16(2).newClass("CStatDetector").defaultDetector();
    expected.u16(0x8001).u16(511).i32(1).u16(500).i32(60).i32(1000);
    expected.u16(2).newClass("CRoadFeature").defaultFeature();
    expected.u16(0x8004).u16(401).i32(1).i32(0).i32(1000).f64(41.7);
    const auto bytes = storedBytes(document);
    ASSERT_GE(bytes.size(), expected.data.size());
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(expected.data.size())),
              expected.data);
}

TEST(StudyDocumentFile, StringLengthsUseTheirThreeForms)
{
    StudyDocument document;
    document.setInputFileName(std::string(254, 'a'));
    document.setOutputFileName(std::string(300, 'b'));
    document.setMetricsFolder(std::string(70000, 'c'));
    const auto bytes = storedBytes(document);
    const std::size_t strings = 37 + 42 + 5 * 284;

    EXPECT_EQ(bytes[strings], 254);
    const std::size_t output = strings + 1 + 254;
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + static_cast<long>(output),
                                        bytes.begin() + static_cast<long>(output) + 4),
              (std::vector<std::uint8_t>{0xFF, 0x2C, 0x01, 'b'}));
    const std::size_t metrics = output + 3 + 300;
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + static_cast<long>(metrics),
                                        bytes.begin() + static_cast<long>(metrics) + 7),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}));
}

TEST(StudyDocumentFile, SaveAndOpenGiveTheSameStudyBack)
{
    TemporaryFolder folder;
    StudyDocument original;
    original.setInputFileName("traffic/in.txt");
    original.setOutputFileName("out.txt");
    original.setMetricsFolder("C:\\Roadflux\\Metrics\\");
    original.setFileFormat(102);
    original.setRoadLength(12345);
    original.setLanesDir1(3);
    original.setLanesDir2(0);
    original.setFileLanesDir1(2);
    original.setFileLanesDir2(0);
    original.setDrivesOnRight(false);
    original.setTimeStep(0.05);
    original.setOutputDetectorLocation1(100);
    original.setOutputDetectorLocation2(200);
    original.setLaneChangesAllowed(false);
    original.setOutputCars(false);
    original.updateLaneTotals(true);
    CIDMParameterSet trucks(2);
    trucks.getParamV0().getDistribution().setLocation(72.5);
    original.setIDMParameterSet(2, trucks);
    ASSERT_TRUE(original.isModified());

    const std::string path = folder.file("study.rfx");
    ASSERT_EQ(original.saveFile(path), StudyFileResult::ok);
    EXPECT_FALSE(original.isModified());
    EXPECT_EQ(original.getPathName(), path);

    StudyDocument loaded;
    loaded.setModified();
    ASSERT_EQ(loaded.openFile(path), StudyFileResult::ok);
    EXPECT_FALSE(loaded.isModified());
    EXPECT_EQ(storedBytes(loaded), storedBytes(original));
    EXPECT_EQ(loaded.getNumDirections(), 1);
    EXPECT_EQ(loaded.getTotalLanes(), 3);
    EXPECT_DOUBLE_EQ(loaded.getIDMParameterSet(2).getParamV0().getDistribution().getLocation(), 72.5);
    EXPECT_EQ(fileText(storedBytes(loaded)), TemporaryFolder::read(path));
}

TEST(StudyDocumentFile, LoadingTakesTheStoredLaneTotalsAsTheyAre)
{
    StudyDocument document;
    auto bytes = storedBytes(document);
    // numDirections and totalLanes follow the three strings, the format and the file lanes.
    const std::size_t numDirections = 37 + 42 + 5 * 284 + 3 + 2 + 8;
    bytes[numDirections] = 7;
    bytes[numDirections + 4] = 9;
    CArchive archive(bytes);
    document.Serialize(archive);
    EXPECT_EQ(document.getNumDirections(), 7);
    EXPECT_EQ(document.getTotalLanes(), 9);
}

TEST(StudyDocumentFile, AFileCutShortAnywhereIsRefusedAndChangesNothing)
{
    StudyDocument source;
    source.setInputFileName("in.txt");
    const auto bytes = storedBytes(source);

    StudyDocument document;
    document.setInputFileName("kept.txt");
    const auto before = storedBytes(document);
    for (std::size_t size = 0; size < bytes.size(); ++size)
    {
        CArchive archive(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(size)));
        ASSERT_THROW(document.Serialize(archive), ArchiveError) << "cut at " << size;
        ASSERT_EQ(storedBytes(document), before) << "cut at " << size;
    }
}

TEST(StudyDocumentFile, OpeningACutFileGivesUnexpectedFormat)
{
    TemporaryFolder folder;
    StudyDocument source;
    const auto bytes = storedBytes(source);
    StudyDocument document;
    document.setModified(true);
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{40}, std::size_t{800}, bytes.size() - 1})
    {
        const std::string path =
            folder.write("cut.rfx", std::string(bytes.begin(), bytes.begin() + static_cast<long>(size)));
        EXPECT_EQ(document.openFile(path), StudyFileResult::unexpectedFormat) << "cut at " << size;
    }
    EXPECT_EQ(document.getPathName(), "");
    EXPECT_TRUE(document.isModified());
}

TEST(StudyDocumentFile, ForeignFilesAreRefused)
{
    TemporaryFolder folder;
    StudyDocument source;
    const std::string good = fileText(storedBytes(source));
    StudyDocument document;

    std::string otherClass = good;
    otherClass.replace(8, 13, "CStatDetectoX");
    EXPECT_EQ(document.openFile(folder.write("a.rfx", otherClass)), StudyFileResult::unexpectedFormat);

    std::string otherSchema = good;
    otherSchema[4] = 2;
    EXPECT_EQ(document.openFile(folder.write("b.rfx", otherSchema)), StudyFileResult::unexpectedFormat);

    EXPECT_EQ(document.openFile(folder.write("c.rfx", good + "x")), StudyFileResult::unexpectedFormat);
    EXPECT_EQ(document.openFile(folder.write("d.rfx", "1001 1 1 0 8 0 224209  15\n")),
              StudyFileResult::unexpectedFormat);
    // A count far beyond the bytes present is refused before anything is made for it.
    EXPECT_EQ(document.openFile(folder.write("e.rfx", std::string("\xFF\xFF\xFF\xFF\xFF\x7F", 6))),
              StudyFileResult::unexpectedFormat);
    EXPECT_EQ(document.getPathName(), "");
}

TEST(StudyDocumentFile, FilesThatCannotBeReadAreReportedAsSuch)
{
    TemporaryFolder folder;
    StudyDocument document;
    EXPECT_EQ(document.openFile(folder.file("missing.rfx")), StudyFileResult::openFailed);
    EXPECT_EQ(document.openFile(folder.path.string()), StudyFileResult::openFailed);
    // Devices and pipes are not opened at all: one never ends, the other waits for a writer.
    EXPECT_EQ(document.openFile("/dev/zero"), StudyFileResult::openFailed);
    const std::string fifo = folder.file("fifo.rfx");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(document.openFile(fifo), StudyFileResult::openFailed);
    EXPECT_EQ(studyFileMessage(StudyFileResult::openFailed), "Failed to open document.");
    EXPECT_EQ(studyFileMessage(StudyFileResult::unexpectedFormat), "Unexpected file format.");
    EXPECT_EQ(studyFileMessage(StudyFileResult::saveFailed), "Failed to save document.");
}

TEST(StudyDocumentFile, AFailedSaveLeavesThePreviousFileWhole)
{
    TemporaryFolder folder;
    StudyDocument document;
    const std::string path = folder.file("study.rfx");
    ASSERT_EQ(document.saveFile(path), StudyFileResult::ok);
    const std::string previous = TemporaryFolder::read(path);

    document.setInputFileName("changed.txt");
    EXPECT_EQ(document.saveFile(folder.file("no/such/folder/study.rfx")), StudyFileResult::saveFailed);
    // A folder standing where the file should go cannot be replaced by a file.
    std::filesystem::create_directory(folder.file("taken.rfx"));
    EXPECT_EQ(document.saveFile(folder.file("taken.rfx")), StudyFileResult::saveFailed);
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(document.getPathName(), path);
    EXPECT_EQ(TemporaryFolder::read(path), previous);

    // Nothing is left beside the file.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path))
        ++entries;
    EXPECT_EQ(entries, 2);
}

// The user is told why a study could not be read and which file it was, after the message of old.
TEST(StudyDocumentFile, AFileThatCannotBeReadIsNamedWithTheSystemsReason)
{
    TemporaryFolder folder;
    StudyDocument document;
    const StudyFileResult missing = document.openFile(folder.file("missing.rfx"));
    EXPECT_EQ(missing, StudyFileResult::openFailed);
    EXPECT_EQ(studyFileMessage(missing),
              "Failed to open document. " + folder.file("missing.rfx") + ": " + std::strerror(ENOENT));

    std::filesystem::create_directory(folder.file("a-folder.rfx"));
    EXPECT_EQ(studyFileMessage(document.openFile(folder.file("a-folder.rfx"))),
              "Failed to open document. " + folder.file("a-folder.rfx") + ": Is a directory");

    StudyDocument source;
    const std::string locked = folder.write("locked.rfx", fileText(storedBytes(source)));
    ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
    if (::geteuid() != 0)  // root reads it anyway
    {
        EXPECT_EQ(studyFileMessage(document.openFile(locked)),
                  "Failed to open document. " + locked + ": " + std::strerror(EACCES));
    }
    EXPECT_EQ(document.getPathName(), "");
    // Outcomes without a reason keep their message as it was.
    EXPECT_EQ(studyFileMessage(StudyFileResult::unexpectedFormat), "Unexpected file format.");
}
