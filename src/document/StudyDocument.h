#pragma once
// One study without any window: the traffic-file settings, road geometry, time step, output
// detectors, run switches, road features, statistics detectors and the five IDM parameter sets,
// the study file that holds them, and the set-up of a run from them. The desktop program's
// document wraps it; the headless runner uses it directly.

#include "config/CIDMParameterSet.h"
#include "config/CRoadFeature.h"
#include "config/CStatDetector.h"
#include "document/StudyFileResult.h"
#include "engine/ReleaseOrder.h"
#include "engine/Sim.h"
#include "files/FileClaims.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CArchive;
class UserMessages;

class StudyDocument
{
public:
    using StatDetectorList = std::vector<std::unique_ptr<CStatDetector>>;
    using RoadFeatureList = std::vector<std::unique_ptr<CRoadFeature>>;

    static constexpr int vehicleClassCount = 5;

    // A new study (the defaults of File, New), never saved and not modified.
    StudyDocument();
    StudyDocument(const StudyDocument&) = delete;
    StudyDocument& operator=(const StudyDocument&) = delete;
    virtual ~StudyDocument();

    // File, New: the defaults of a new study. The metrics folder, the lane-change switch, the
    // traffic file's lane counts and the parameter sets keep their values.
    bool newDocument();
    void updateLaneTotals(bool markModified);
    void deleteContents();

    // Copies the study into the Sim and its road and initialises the run; false, with a message
    // and no file touched, when the run cannot start. The run's output files stay locked
    // against other runs until the Sim is reset.
    bool setupSimulation(UserMessages& messages);

    // The document file: stores when the archive stores, loads when it loads. A load that
    // throws ArchiveError leaves the study as it was.
    void Serialize(CArchive& archive);

    // The study file on disk. Open and Save set the path name and clear the modified mark; a
    // failed Open leaves the study as it was, a failed Save leaves the previous file intact.
    // Saved into another folder than its own file's, a study rewrites its relative file and
    // folder names so that they still lead to the same places.
    StudyFileResult openFile(const std::string& path);
    StudyFileResult saveFile(const std::string& path);
    // The study file's path as given to Open or Save; "" for a study never saved.
    const std::string& getPathName() const { return pathName; }
    void setPathName(const std::string& path) { pathName = path; }
    bool isModified() const { return modified; }
    void setModified(bool value = true) { modified = value; }

    // The stored names resolved against the study file's folder, as a run uses them.
    std::string resolvedInputFileName() const;
    std::string resolvedOutputFileName() const;
    std::string resolvedMetricsFolder() const;

    Sim& getSim() { return sim; }

    // The files a run of the study reads (the study, the configuration, the input) and writes
    // (the output, the measurement files), resolved as a run resolves them.
    FileClaims runFiles() const;
    // Files a caller reads or writes beside the study's own (bridges, load effects, trajectories):
    // checked against them and claimed with them, before any is touched.
    void addRunFiles(const FileClaims& files) { extraRunFiles.add(files); }

    const std::string& getMetricsFolder() const { return metricsFolder; }
    const StatDetectorList& getStatDetectors() const { return statDetectors; }
    const RoadFeatureList& getRoadFeatures() const { return roadFeatures; }
    bool getDrivesOnRight() const { return drivesOnRight != 0; }
    bool getLaneChangesAllowed() const { return laneChangesAllowed != 0; }
    bool getOutputCars() const { return outputCars != 0; }
    // Not in the study file: kept beside it (see StudyOptions.h).
    ReleaseOrder getReleaseOrder() const { return releaseOrder; }
    int getOutputDetectorLocation1() const { return outputDetectorLocation1; }
    int getOutputDetectorLocation2() const { return outputDetectorLocation2; }
    int getFileLanesDir1() const { return fileLanesDir1; }
    int getFileLanesDir2() const { return fileLanesDir2; }
    const std::string& getInputFileName() const { return inputFileName; }
    const std::string& getOutputFileName() const { return outputFileName; }
    std::uint16_t getFileFormat() const { return fileFormat; }
    int getLanesDir1() const { return lanesDir1; }
    int getLanesDir2() const { return lanesDir2; }
    double getTimeStep() const { return timeStep; }
    // The time step in whole milliseconds, truncated as the dialog shows it; a step stored from
    // whole milliseconds (1001 ms is 1.0009999... s) gives its own value back, not one less.
    int getTimeStepMs() const;
    int getNumDirections() const { return numDirections; }
    int getTotalLanes() const { return totalLanes; }
    int getRoadLength() const { return roadLength; }
    // vehicleClass 0 to 4.
    const CIDMParameterSet& getIDMParameterSet(int vehicleClass) const;

    // Every setter marks the study modified.
    void setInputFileName(const std::string& name);
    void setOutputFileName(const std::string& name);
    void setMetricsFolder(const std::string& folder);
    void setFileFormat(std::uint16_t code);
    void setRoadLength(int metres);
    void setTimeStep(double seconds);
    void setLanesDir1(int lanes);
    void setLanesDir2(int lanes);
    void setFileLanesDir1(int lanes);
    void setFileLanesDir2(int lanes);
    void setOutputDetectorLocation1(int metres);
    void setOutputDetectorLocation2(int metres);
    void setLaneChangesAllowed(bool allowed);
    void setOutputCars(bool output);
    void setDrivesOnRight(bool onRight);
    void setReleaseOrder(ReleaseOrder order);
    void setIDMParameterSet(int vehicleClass, const CIDMParameterSet& set);
    // Replace the whole list with copies of the given definitions.
    void setStatDetectors(const StatDetectorList& detectors);
    void setRoadFeatures(const RoadFeatureList& features);

private:
    FileClaims extraRunFiles;
    std::string saveProblem;  // why the last save failed, naming the file
    void store(CArchive& archive) const;
    // wholeArchive: bytes after the last item make the file foreign.
    void load(CArchive& archive, bool wholeArchive);
    bool writeStudyFile(const std::string& path);
    bool inputAndOutputAreUsable(UserMessages& messages) const;
    bool settingsAreRunnable(UserMessages& messages) const;
    bool formatIsKnown(UserMessages& messages) const;
    bool inputHasTraffic(UserMessages& messages) const;
    bool outputsCanBeWritten(UserMessages& messages) const;

    void configureRoad();

    Sim sim;
    std::string metricsFolder;
    StatDetectorList statDetectors;
    RoadFeatureList roadFeatures;
    std::int32_t drivesOnRight = 1;
    // Left unset by New; a first study starts with lane changes allowed.
    std::int32_t laneChangesAllowed = 1;
    std::int32_t outputCars = 1;
    ReleaseOrder releaseOrder = ReleaseOrder::file;
    std::int32_t outputDetectorLocation1 = 2500;  // m, road x
    std::int32_t outputDetectorLocation2 = 2500;  // m, road x; the road mirrors it
    // Left unset by New; a first study starts with the road's own lane counts.
    std::int32_t fileLanesDir1 = 2;
    std::int32_t fileLanesDir2 = 1;
    std::string inputFileName;
    std::string outputFileName;
    std::uint16_t fileFormat = 101;
    std::int32_t lanesDir1 = 2;
    std::int32_t lanesDir2 = 1;
    double timeStep = 0.1;  // s
    std::int32_t numDirections = 2;
    std::int32_t totalLanes = 3;
    std::int32_t roadLength = 3000;  // m
    std::array<CIDMParameterSet, vehicleClassCount> idmParameterSets;

    std::string pathName;
    bool modified = false;
};
