#include "document/StudyDocument.h"

#include "config/ArchiveError.h"
#include "config/CArchive.h"
#include "config/CConfigData.h"
#include "detectors/MeasurementFile.h"
#include "document/MeasurementFileNames.h"
#include "document/StudyChecks.h"
#include "document/StudyNames.h"
#include "document/StudyPaths.h"
#include "document/TrafficFileSurvey.h"
#include "document/UserMessages.h"
#include "files/AtomicFileWriter.h"
#include "files/FileClaims.h"
#include "files/FileKind.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <system_error>

namespace fs = std::filesystem;

namespace {
// Far beyond any real study; a larger file is not one of ours and is not read into memory.
constexpr std::size_t largestStudyFileBytes = 64u * 1024u * 1024u;

template <class Definition>
std::vector<std::unique_ptr<Definition>> copiesOf(const std::vector<std::unique_ptr<Definition>>& list)
{
    std::vector<std::unique_ptr<Definition>> copies;
    copies.reserve(list.size());
    for (const auto& definition : list)
        copies.push_back(std::make_unique<Definition>(*definition));
    return copies;
}

// Traffic files are plain text: a zero byte near the start means some other kind of file, whose
// bytes could still happen to read as a few vehicles.
bool looksLikeText(std::istream& file)
{
    char head[4096];
    file.read(head, sizeof head);
    const char* const first = head;
    const char* const last = head + file.gcount();
    return std::find(first, last, '\0') == last;
}
}

StudyDocument::StudyDocument()
{
    for (int k = 0; k < vehicleClassCount; ++k)
        idmParameterSets[static_cast<std::size_t>(k)].setVehicleClass(k);
    newDocument();
}

StudyDocument::~StudyDocument()
{
    // The road of a run still set up points into the parameter sets, which go before the Sim.
    sim.reset();
    deleteContents();
}

bool StudyDocument::newDocument()
{
    pathName.clear();
    modified = false;
    inputFileName.clear();
    outputFileName.clear();
    roadLength = 3000;
    lanesDir1 = 2;
    lanesDir2 = 1;
    fileFormat = 101;
    timeStep = 0.1;
    drivesOnRight = 1;
    outputDetectorLocation1 = 2500;
    outputDetectorLocation2 = 2500;
    outputCars = 1;
    releaseOrder = ReleaseOrder::file;
    deleteContents();
    roadFeatures.push_back(std::make_unique<CRoadFeature>());
    statDetectors.push_back(std::make_unique<CStatDetector>());
    updateLaneTotals(false);
    return true;
}

void StudyDocument::updateLaneTotals(bool markModified)
{
    totalLanes = lanesDir1 + lanesDir2;
    numDirections = (lanesDir1 >= 1 && lanesDir2 >= 1) ? 2 : 1;
    if (markModified)
        modified = true;
}

void StudyDocument::deleteContents()
{
    statDetectors.clear();
    roadFeatures.clear();
}

const CIDMParameterSet& StudyDocument::getIDMParameterSet(int vehicleClass) const
{
    return idmParameterSets.at(static_cast<std::size_t>(vehicleClass));
}

std::string StudyDocument::resolvedInputFileName() const
{
    return StudyPaths(pathName).resolveFile(inputFileName);
}

std::string StudyDocument::resolvedOutputFileName() const
{
    return StudyPaths(pathName).resolveFile(outputFileName);
}

std::string StudyDocument::resolvedMetricsFolder() const
{
    return StudyPaths(pathName).resolveFolder(metricsFolder);
}

// The checks that keep a run from failing silently or destroying data; none touches the Sim
// or any file.
bool StudyDocument::inputAndOutputAreUsable(UserMessages& messages) const
{
    const std::string input = resolvedInputFileName();
    const std::string output = resolvedOutputFileName();
    const FileKind inputKind = input.empty() ? FileKind::missing : fileKindOf(input);
    if (inputKind == FileKind::missing)
    {
        messages.warn("The input traffic file does not exist" +
                      (input.empty() ? std::string() : ": " + StudyPaths::fullPath(input)));
        return false;
    }
    if (inputKind == FileKind::directory)
    {
        messages.warn("The input traffic file cannot be read");
        return false;
    }
    // A pipe could be read only once (the run reads its input twice) and could block; a device
    // may never end.
    if (inputKind != FileKind::regular)
    {
        messages.warn("The input traffic file is not a regular file (" + describeFileKind(inputKind) + ")");
        return false;
    }
    std::ifstream inputFile(input, std::ios::binary);
    if (!inputFile.is_open())
    {
        messages.warn("The input traffic file cannot be read");
        return false;
    }
    if (!looksLikeText(inputFile))
    {
        messages.warn("The input traffic file is not a text file");
        return false;
    }
    if (output.empty())
    {
        messages.warn("Please specify a filename.");
        return false;
    }
    // Opening the output empties it: were it the input, the traffic would be lost.
    if (FileClaims::isSameFile(input, output))
    {
        messages.warn("The output traffic file must not be the input traffic file");
        return false;
    }
    return true;
}

bool StudyDocument::formatIsKnown(UserMessages& messages) const
{
    if (StudyNames::findName(StudyNames::fileFormats(), fileFormat))
        return true;
    messages.warn("The study's traffic file format (code " + std::to_string(fileFormat) +
                  ") is unknown: it is TALVOR, VORK or DoRIV");
    return false;
}

// Reads the input once before anything is written: a run without a single vehicle is refused,
// and what would silently reshape the run is told.
bool StudyDocument::inputHasTraffic(UserMessages& messages) const
{
    const std::string input = resolvedInputFileName();
    const TrafficFileSurvey survey(input, fileFormat, LaneMapping{lanesDir1, lanesDir2, fileLanesDir1, fileLanesDir2});
    const std::vector<std::string> report = survey.report();
    if (!report.empty())
    {
        std::string text = "The input traffic file " + input + ":";
        for (const std::string& line : report)
            text += "\n  " + line;
        messages.warn(text);
    }
    if (survey.getUsableVehicles() == 0)
    {
        messages.warn("The input traffic file has no vehicle that can drive on this road");
        return false;
    }
    return true;
}

// Every file the run reads, and every file it writes, each named for messages.
FileClaims StudyDocument::runFiles() const
{
    FileClaims files;
    files.addInput(pathName, "the study file");
    files.addInput(theConfigData.getLoadedFrom(), "the configuration file");
    files.addInput(resolvedInputFileName(), "the input traffic file");
    files.addOutput(resolvedOutputFileName(), "the output traffic file");
    const std::string folder = resolvedMetricsFolder();
    for (const auto& detector : statDetectors)
        for (const std::string& name : measurementFileNamesOf(*detector))
        {
            const std::string path = MeasurementFile::pathInFolder(folder, name);
            files.addOutput(path, "the measurement file " + path);
        }
    files.add(extraRunFiles);
    return files;
}

bool StudyDocument::outputsCanBeWritten(UserMessages& messages) const
{
    if (auto refusal = StudyChecks::checkMeasurementFileNames(statDetectors))
    {
        messages.warn(refusal->message);
        return false;
    }
    bool writesMeasurements = false;
    for (const auto& detector : statDetectors)
        writesMeasurements = writesMeasurements || !measurementFileNamesOf(*detector).empty();
    const std::string metrics = resolvedMetricsFolder();
    const FileKind folderKind = fileKindOf(metrics.empty() ? "." : fs::path(metrics).parent_path().string());
    if (writesMeasurements && folderKind != FileKind::directory)
    {
        messages.warn("The metrics folder " + StudyPaths::fullPath(metrics.empty() ? "./" : metrics) +
                      (folderKind == FileKind::missing ? " does not exist" : " is not a folder") +
                      ": the measurement files cannot be written");
        return false;
    }
    if (auto conflict = runFiles().findConflict())
    {
        messages.warn(*conflict);
        return false;
    }
    return true;
}

// Settings no dialog lets through, found only in damaged or hand-made files: the engine would
// index lanes that do not exist, or never advance its clock.
bool StudyDocument::settingsAreRunnable(UserMessages& messages) const
{
    const bool laneCountsUsable = lanesDir1 >= 0 && lanesDir1 <= StudyChecks::maxLanesPerDirection && lanesDir2 >= 0 &&
                                  lanesDir2 <= StudyChecks::maxLanesPerDirection &&
                                  totalLanes == lanesDir1 + lanesDir2 &&
                                  numDirections == ((lanesDir1 >= 1 && lanesDir2 >= 1) ? 2 : 1);
    if (!laneCountsUsable)
    {
        messages.warn("The study's lane counts must be 0 to 4 in each direction and add up to its total lanes");
        return false;
    }
    if (roadLength < StudyChecks::minRoadLength || roadLength > StudyChecks::maxRoadLength)
    {
        messages.warn("The study's road length must be between 500 and 100000 m");
        return false;
    }
    const double timeStepMs = timeStep * 1000.0;
    if (!(timeStepMs >= StudyChecks::minTimeStepMs - 0.5 && timeStepMs <= StudyChecks::maxTimeStepMs + 0.5))
    {
        messages.warn("The study's time step must be between 10 and 2000 ms");
        return false;
    }
    // The lane's last vehicle must be entryGap past its start before the next enters: a gap
    // longer than the road is never free once the first has left, and the run never ends.
    if (theConfigData.entryGap > roadLength)
    {
        char gap[64];
        std::snprintf(gap, sizeof gap, "%g", theConfigData.entryGap);
        messages.warn(theConfigData.getLoadedFrom() + ": line " + std::to_string(theConfigData.getEntryGapLine()) +
                      ": entryGap " + gap + " m is longer than the road (" + std::to_string(roadLength) +
                      " m): no vehicle after a lane's first could enter");
        return false;
    }
    if (const auto offRoad = StudyChecks::findOffRoadItem(roadFeatures, statDetectors, roadLength,
                                                          outputDetectorLocation1, outputDetectorLocation2))
    {
        messages.warn(*offRoad);
        return false;
    }
    // A run with an infinite speed limit or desired speed would crawl and never end.
    if (const auto number = StudyChecks::findNonFiniteNumber(roadFeatures, idmParameterSets))
    {
        messages.warn(*number);
        return false;
    }
    // A desired velocity at or below 0, or a negative spread, leaves every draw to be redrawn.
    if (const auto flaw = StudyChecks::findUnusableParameter(idmParameterSets))
    {
        messages.warn(flaw->message);
        return false;
    }
    return true;
}

bool StudyDocument::setupSimulation(UserMessages& messages)
{
    // Everything is checked before the first file is touched: a refused run destroys nothing.
    if (!inputAndOutputAreUsable(messages) || !settingsAreRunnable(messages) || !formatIsKnown(messages) ||
        !outputsCanBeWritten(messages) || !inputHasTraffic(messages))
        return false;

    // A run left set up by a caller that never reset it would keep its lanes, files and locks.
    sim.reset();
    auto claim = std::make_shared<FileClaim>();
    if (auto problem = runFiles().claim(*claim))
    {
        messages.warn(*problem);
        return false;
    }
    sim.setInputFile(resolvedInputFileName());
    sim.setOutputFile(resolvedOutputFileName());
    sim.setFileFormat(fileFormat);
    sim.setNumDirections(numDirections);
    sim.setTotalLanes(totalLanes);
    sim.setLanesDir1(lanesDir1);
    sim.setLanesDir2(lanesDir2);
    sim.setRoadLength(roadLength);
    sim.setTimeStep(timeStep);
    configureRoad();
    sim.initialise();

    if (!sim.hasTraffic())
    {
        sim.reset();
        messages.warn("The input traffic file has no vehicle that can drive on this road");
        return false;
    }
    sim.holdUntilReset(std::move(claim));
    return true;
}

// Sets before features (segments copy the set pointers) and the road length before anything
// mirrored for direction 2: setRoadLength above has passed it on already.
void StudyDocument::configureRoad()
{
    Road& road = sim.getRoad();
    for (int k = 0; k < vehicleClassCount; ++k)
        road.setIDMParameterSet(k, &idmParameterSets[static_cast<std::size_t>(k)]);
    for (const auto& feature : roadFeatures)
        road.addRoadFeature(*feature);
    const std::string folder = resolvedMetricsFolder();
    for (const auto& detector : statDetectors)
    {
        detector->setOutputFolder(folder);
        road.addStatDetector(*detector, lanesDir1, lanesDir2);
    }
    road.setFileLanesDir1(fileLanesDir1);
    road.setFileLanesDir2(fileLanesDir2);
    road.setOutputDetectorLocation1(outputDetectorLocation1);
    road.setOutputDetectorLocation2(outputDetectorLocation2);
    road.setLaneChangesAllowed(laneChangesAllowed != 0);
    road.setOutputCars(outputCars != 0);
    road.setDrivesOnRight(drivesOnRight != 0);
    road.setReleaseOrder(releaseOrder);
}

void StudyDocument::Serialize(CArchive& archive)
{
    if (archive.isStoring())
        store(archive);
    else
        load(archive, false);
}

void StudyDocument::store(CArchive& archive) const
{
    archive.writeObjectArray(statDetectors);
    archive.writeObjectArray(roadFeatures);
    for (const CIDMParameterSet& set : idmParameterSets)
        set.store(archive);
    archive.writeString(inputFileName);
    archive.writeString(outputFileName);
    archive.writeString(metricsFolder);
    archive.writeUInt16(fileFormat);
    archive.writeInt32(fileLanesDir1);
    archive.writeInt32(fileLanesDir2);
    archive.writeInt32(numDirections);
    archive.writeInt32(totalLanes);
    archive.writeInt32(lanesDir1);
    archive.writeInt32(lanesDir2);
    archive.writeInt32(roadLength);
    archive.writeInt32(drivesOnRight);
    archive.writeDouble(timeStep);
    archive.writeInt32(outputDetectorLocation1);
    archive.writeInt32(outputDetectorLocation2);
    archive.writeInt32(laneChangesAllowed);
    archive.writeInt32(outputCars);
}

// Everything is read into locals first and taken over only once the whole file has been read,
// so that a file which ends early changes nothing. The lane totals are taken as stored.
void StudyDocument::load(CArchive& archive, bool wholeArchive)
{
    StatDetectorList loadedDetectors = archive.readObjectArray<CStatDetector>();
    RoadFeatureList loadedFeatures = archive.readObjectArray<CRoadFeature>();
    std::array<CIDMParameterSet, vehicleClassCount> loadedSets = idmParameterSets;
    for (CIDMParameterSet& set : loadedSets)
        set.load(archive);
    std::string loadedInput = archive.readString();
    std::string loadedOutput = archive.readString();
    std::string loadedMetrics = archive.readString();
    const std::uint16_t loadedFormat = archive.readUInt16();
    const std::int32_t loadedFileLanes1 = archive.readInt32();
    const std::int32_t loadedFileLanes2 = archive.readInt32();
    const std::int32_t loadedDirections = archive.readInt32();
    const std::int32_t loadedTotalLanes = archive.readInt32();
    const std::int32_t loadedLanes1 = archive.readInt32();
    const std::int32_t loadedLanes2 = archive.readInt32();
    const std::int32_t loadedLength = archive.readInt32();
    const std::int32_t loadedOnRight = archive.readInt32();
    const double loadedTimeStep = archive.readDouble();
    const std::int32_t loadedDetector1 = archive.readInt32();
    const std::int32_t loadedDetector2 = archive.readInt32();
    const std::int32_t loadedLaneChanges = archive.readInt32();
    const std::int32_t loadedOutputCars = archive.readInt32();
    if (wholeArchive && !archive.atEnd())
        throw ArchiveError("bytes after the last item of a study");

    statDetectors = std::move(loadedDetectors);
    roadFeatures = std::move(loadedFeatures);
    idmParameterSets = loadedSets;
    inputFileName = std::move(loadedInput);
    outputFileName = std::move(loadedOutput);
    metricsFolder = std::move(loadedMetrics);
    fileFormat = loadedFormat;
    fileLanesDir1 = loadedFileLanes1;
    fileLanesDir2 = loadedFileLanes2;
    numDirections = loadedDirections;
    totalLanes = loadedTotalLanes;
    lanesDir1 = loadedLanes1;
    lanesDir2 = loadedLanes2;
    roadLength = loadedLength;
    drivesOnRight = loadedOnRight;
    timeStep = loadedTimeStep;
    outputDetectorLocation1 = loadedDetector1;
    outputDetectorLocation2 = loadedDetector2;
    laneChangesAllowed = loadedLaneChanges;
    outputCars = loadedOutputCars;
}

StudyFileResult StudyDocument::openFile(const std::string& path)
{
    // A folder, a device or a pipe is no study; opening a pipe would wait for a writer for ever.
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status))
        return StudyFileResult(StudyFileResult::openFailed,
                               StudyPaths::fullPath(path) + ": " + (error ? error.message() : std::strerror(ENOENT)));
    if (!fs::is_regular_file(status))
        return StudyFileResult(StudyFileResult::openFailed,
                               StudyPaths::fullPath(path) +
                                   (fs::is_directory(status) ? ": Is a directory" : ": not a regular file"));
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open())
        return StudyFileResult(StudyFileResult::openFailed, StudyPaths::fullPath(path) + ": " +
                                                                (errno != 0 ? std::strerror(errno) : "cannot be read"));
    // Read in pieces up to a limit, so that a device or pipe that never ends cannot exhaust memory.
    std::vector<std::uint8_t> bytes;
    char piece[65536];
    while (file.read(piece, sizeof piece) || file.gcount() > 0)
    {
        bytes.insert(bytes.end(), piece, piece + file.gcount());
        if (bytes.size() > largestStudyFileBytes)
            return StudyFileResult::unexpectedFormat;
        if (!file)
            break;
    }
    if (file.bad())
        return StudyFileResult(StudyFileResult::openFailed,
                               StudyPaths::fullPath(path) + ": " + (errno != 0 ? std::strerror(errno) : "read error"));
    try
    {
        CArchive archive(std::move(bytes));
        load(archive, true);
    }
    catch (const ArchiveError&)
    {
        return StudyFileResult::unexpectedFormat;
    }
    catch (const std::bad_alloc&)
    {
        return StudyFileResult::unexpectedFormat;
    }
    pathName = path;
    modified = false;
    return StudyFileResult::ok;
}

StudyFileResult StudyDocument::saveFile(const std::string& path)
{
    // Relative names are taken from the study's folder: saved into another folder, the study
    // must name the same files from there. A study never saved takes them from its first folder.
    const std::array<std::string, 3> keptNames = {inputFileName, outputFileName, metricsFolder};
    if (!pathName.empty())
    {
        const StudyPaths from(pathName);
        const StudyPaths to(path);
        inputFileName = from.relocate(inputFileName, to);
        outputFileName = from.relocate(outputFileName, to);
        metricsFolder = from.relocate(metricsFolder, to);
    }
    if (writeStudyFile(path))
        return StudyFileResult::ok;
    inputFileName = keptNames[0];
    outputFileName = keptNames[1];
    metricsFolder = keptNames[2];
    return StudyFileResult(StudyFileResult::saveFailed, saveProblem);
}

bool StudyDocument::writeStudyFile(const std::string& path)
{
    CArchive archive;
    try
    {
        store(archive);
    }
    catch (const ArchiveError&)
    {
        return false;
    }
    // A study saved over its own traffic file or the configuration would destroy it.
    const StudyPaths to(path);
    FileClaims files;
    files.addInput(to.resolveFile(inputFileName), "the input traffic file");
    files.addInput(to.resolveFile(outputFileName), "the output traffic file");
    files.addInput(theConfigData.getLoadedFrom(), "the configuration file");
    files.addOutput(path, "the study file", FileClaims::Writing::replacedWhole);
    FileClaim claim;
    saveProblem.clear();
    if (auto problem = files.claim(claim))
    {
        saveProblem = *problem;
        return false;
    }
    AtomicFileWriter writer(path);
    if (!writer.isOpen())
    {
        saveProblem = "The study file cannot be written (" + path + ": " + writer.getError() + ")";
        return false;
    }
    const auto& bytes = archive.buffer();
    writer.out().write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!writer.commit())
        return false;
    pathName = path;
    modified = false;
    return true;
}

void StudyDocument::setInputFileName(const std::string& name)
{
    inputFileName = name;
    modified = true;
}

void StudyDocument::setOutputFileName(const std::string& name)
{
    outputFileName = name;
    modified = true;
}

void StudyDocument::setMetricsFolder(const std::string& folder)
{
    metricsFolder = folder;
    modified = true;
}

void StudyDocument::setFileFormat(std::uint16_t code)
{
    fileFormat = code;
    modified = true;
}

void StudyDocument::setRoadLength(int metres)
{
    roadLength = metres;
    modified = true;
}

int StudyDocument::getTimeStepMs() const
{
    // Far below a millisecond, far above the error of seconds = ms / 1000.
    constexpr double representationError = 1e-6;  // ms
    const double ms = std::floor(timeStep * 1000.0 + representationError);
    if (!(ms > INT_MIN && ms < INT_MAX))
        return ms > 0 ? INT_MAX : INT_MIN;
    return static_cast<int>(ms);
}

void StudyDocument::setTimeStep(double seconds)
{
    timeStep = seconds;
    modified = true;
}

void StudyDocument::setLanesDir1(int lanes)
{
    lanesDir1 = lanes;
    modified = true;
}

void StudyDocument::setLanesDir2(int lanes)
{
    lanesDir2 = lanes;
    modified = true;
}

void StudyDocument::setFileLanesDir1(int lanes)
{
    fileLanesDir1 = lanes;
    modified = true;
}

void StudyDocument::setFileLanesDir2(int lanes)
{
    fileLanesDir2 = lanes;
    modified = true;
}

void StudyDocument::setOutputDetectorLocation1(int metres)
{
    outputDetectorLocation1 = metres;
    modified = true;
}

void StudyDocument::setOutputDetectorLocation2(int metres)
{
    outputDetectorLocation2 = metres;
    modified = true;
}

void StudyDocument::setLaneChangesAllowed(bool allowed)
{
    laneChangesAllowed = allowed ? 1 : 0;
    modified = true;
}

void StudyDocument::setOutputCars(bool output)
{
    outputCars = output ? 1 : 0;
    modified = true;
}

void StudyDocument::setReleaseOrder(ReleaseOrder order)
{
    releaseOrder = order;
    modified = true;
}

void StudyDocument::setDrivesOnRight(bool onRight)
{
    drivesOnRight = onRight ? 1 : 0;
    modified = true;
}

void StudyDocument::setIDMParameterSet(int vehicleClass, const CIDMParameterSet& set)
{
    idmParameterSets.at(static_cast<std::size_t>(vehicleClass)).assign(set);
    modified = true;
}

void StudyDocument::setStatDetectors(const StatDetectorList& detectors)
{
    statDetectors = copiesOf(detectors);
    modified = true;
}

void StudyDocument::setRoadFeatures(const RoadFeatureList& features)
{
    roadFeatures = copiesOf(features);
    modified = true;
}
