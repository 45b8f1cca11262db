#pragma once
// The simulated road: a straight road of length L (m) with one or two directions. Owns the
// run's traffic-file handler, the vehicles read ahead of their release and the study's
// detectors and road segments, which its directions borrow; each step it releases the
// vehicles that are due, lets the directions move theirs and tests for the end.
//
// Release in file order keeps one queue of vehicles read ahead; release per lane keeps one a
// road lane, each in file order, and reads the file until the last vehicle read is not yet due.

#include "engine/Direction.h"
#include "engine/GapFigures.h"
#include "engine/LaneMapping.h"
#include "engine/ReleaseDelays.h"
#include "engine/ReleaseOrder.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CIDMParameterSet;
class CRoadFeature;
class CStatDetector;
class Detector;
class FileHandler;
class Lane;
class RoadSegment;
class Vehicle;

class Road
{
public:
    Road();
    ~Road();
    Road(const Road&) = delete;
    Road& operator=(const Road&) = delete;

    void setOutputCars(bool value) { outputCars = value; }
    void setDrivesOnRight(bool value) { drivesOnRight = value; }
    void setLaneChangesAllowed(bool value) { laneChangesAllowed = value; }
    void setIDMParameterSet(int vehicleClass, CIDMParameterSet* set);
    void setFileLanesDir1(int count) { fileLanesDir1 = count; }
    void setFileLanesDir2(int count) { fileLanesDir2 = count; }
    void setOutputDetectorLocation1(int x) { outputDetectorLocation1 = x; }
    // Stored in direction-2 coordinates, so the length must be set first.
    void setOutputDetectorLocation2(int x) { outputDetectorLocation2 = length - x; }
    void setNumDirections(int n) { numDirections = n; }
    void setTotalLanes(int n) { totalLanes = n; }
    void setLanesDir1(int n) { lanesDir1 = n; }
    void setLanesDir2(int n) { lanesDir2 = n; }
    void setLength(int metres) { length = metres; }
    // Kept across runs, like the other settings; file order unless set. Taken up by initialise:
    // a run's vehicles read ahead wait in the queues of the order it started with.
    void setReleaseOrder(ReleaseOrder order) { chosenReleaseOrder = order; }
    ReleaseOrder getReleaseOrder() const { return chosenReleaseOrder; }

    // The parameter sets must be given before the first feature: segments copy them.
    void addRoadFeature(const CRoadFeature& feature);
    void addStatDetector(const CStatDetector& definition, int laneCountDir1, int laneCountDir2);
    void openTrafficFiles(const std::string& inputFile, const std::string& outputFile, unsigned short formatCode);

    // Builds the directions and reads ahead; returns the first arrival time (s), 0 without traffic.
    double initialise();
    // The vehicles due by `time` (s) enter the back of their lane while it is at least the entry
    // gap clear: in file order, the first that cannot holds back all later ones; per lane, it
    // holds back only its own lane's, and each lane takes at most one vehicle a step.
    void releaseVehicles(double dt, double time);
    // True in the step that ends the run.
    bool update(double dt, double time);
    // One list per road lane, front-most first; storage reused from step to step.
    const std::vector<std::vector<Vehicle*>>& getVehicles();
    // The lists as the last getVehicles() left them, empty after reset.
    const std::vector<std::vector<Vehicle*>>& getLastVehicles() const { return displayLists; }
    int getProgress() const { return progress; }
    void reset();

    // False when initialise found no vehicle that can drive on this road.
    bool hasTraffic() const { return foundTraffic; }
    bool isFileExhausted() const { return fileExhausted; }
    int getPendingCount() const { return static_cast<int>(pending.size() + queuedInLanes); }
    int getLength() const { return length; }
    int getOutputDetectorLocation1() const { return outputDetectorLocation1; }
    int getOutputDetectorLocation2() const { return outputDetectorLocation2; }
    int getLaneCount() const { return static_cast<int>(lanes.size()); }
    Lane* getLane(int index) { return lanes.at(static_cast<std::size_t>(index)); }
    Direction& getDirection1() { return direction1; }
    Direction& getDirection2() { return direction2; }
    using SegmentList = std::vector<std::unique_ptr<RoadSegment>>;
    using DetectorList = std::vector<std::unique_ptr<Detector>>;
    const SegmentList& getSegments1() const { return segments1; }
    const SegmentList& getSegments2() const { return segments2; }
    const DetectorList& getDetectors1() const { return detectors1; }
    const DetectorList& getDetectors2() const { return detectors2; }

    // Run figures, zeroed by initialise and kept after reset for a summary.
    std::int64_t getVehiclesReleased() const { return vehiclesReleased; }
    std::int64_t getSkippedVehicles() const { return skippedVehicles; }
    std::int64_t getVehicleSteps() const { return vehicleSteps; }
    std::int64_t getRecordsWritten() const { return recordsWritten; }
    // Records were lost: the output traffic file refused a write (a full disk, say).
    bool hasOutputWriteFailed() const { return outputWriteFailed; }
    // Measurement files that could not be created or lost lines, known once the run is reset.
    const std::vector<std::string>& getLostMeasurementFiles() const { return lostMeasurementFiles; }
    // Delay (s) of each release past its record's arrival time.
    ReleaseDelayFigures getReleaseDelays() const { return releaseDelays.figures(); }
    // The gaps of every lane, those of the last run after reset.
    GapFigures getGapFigures() const;
    int getVehiclesOnRoad() const;

    // For carrying the clock over empty road: the arrival time (s) of the next vehicle to
    // release (per lane, the earliest of the lanes' next), or nothing when none is waiting.
    std::optional<double> nextArrivalTime() const;
    // What `count` steps do while every lane is empty and no vehicle is due: the statistics
    // detectors' interval clocks advance by dt (s) per step, writing the rows of the intervals
    // they complete.
    void advanceEmptySteps(double dt, std::int64_t count);

private:
    void flushOutputFile();
    void collectLostMeasurementFiles();
    LaneMapping laneMapping() const;
    void prepareVehicle(Vehicle& v) const;
    bool isLaneOfItsDirection(const Vehicle& v) const;
    std::unique_ptr<Vehicle> readUsableVehicle();
    void readAhead();
    void releasePerLane(double time);
    void enter(std::unique_ptr<Vehicle> v, Lane& lane, double time);
    void assignDriver(Vehicle& v);
    void attachParameterSets(RoadSegment& segment);
    CIDMParameterSet* parameterSetFor(int vehicleClass);
    bool buildsDirection2() const;
    void buildDirection(Direction& direction, bool isDirection1, int outputLocation, int firstLaneIndex, int laneCount,
                        const DetectorList& detectors, const SegmentList& segments);

    bool outputCars = true;
    bool drivesOnRight = true;
    int progress = 0;  // %
    CIDMParameterSet* idmParameterSets[5] = {};
    int outputDetectorLocation1 = 0;  // m, direction-1 coordinate
    int outputDetectorLocation2 = 0;  // m, direction-2 coordinate
    Direction direction1;
    Direction direction2;
    int fileLanesDir1 = 0;
    int fileLanesDir2 = 0;
    std::unique_ptr<FileHandler> trafficFile;
    std::deque<std::unique_ptr<Vehicle>> pending;  // file order: every vehicle read ahead

    // Per lane: each road lane's vehicles read ahead, in file order, with their place in the file
    // so that the vehicles entering in one step do so in file order.
    struct Queued
    {
        std::unique_ptr<Vehicle> vehicle;
        std::uint64_t place;
    };
    ReleaseOrder chosenReleaseOrder = ReleaseOrder::file;
    ReleaseOrder releaseOrder = ReleaseOrder::file;  // the running run's
    std::vector<std::deque<Queued>> laneQueues;
    std::size_t queuedInLanes = 0;
    std::uint64_t vehiclesRead = 0;
    double lastReadTime = 0.0;          // s, the arrival time of the vehicle read last
    std::vector<std::size_t> entering;  // the lanes taking a vehicle this step, reused
    std::vector<Lane*> lanes;           // the directions' lanes in road order
    DetectorList detectors1;
    DetectorList detectors2;
    SegmentList segments1;
    SegmentList segments2;
    bool fileExhausted = false;
    bool laneChangesAllowed = false;
    int lanesDir1 = 0;
    int lanesDir2 = 0;
    int numDirections = 1;
    int totalLanes = 0;
    int length = 0;   // m
    double entryGap;  // m

    bool foundTraffic = false;
    std::unique_ptr<CIDMParameterSet> fallbackParameterSet;
    std::vector<std::vector<Vehicle*>> displayLists;
    std::int64_t vehiclesReleased = 0;
    std::int64_t skippedVehicles = 0;
    std::int64_t vehicleSteps = 0;
    std::int64_t recordsWritten = 0;
    bool outputWriteFailed = false;
    std::vector<std::string> lostMeasurementFiles;
    ReleaseDelays releaseDelays;
    GapFigures gapsOfRemovedLanes;  // the lanes' figures, taken before reset deletes them
};
