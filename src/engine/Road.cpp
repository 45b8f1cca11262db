#include "engine/Road.h"

#include "config/CConfigData.h"
#include "config/CIDMParameterSet.h"
#include "config/CRoadFeature.h"
#include "config/CStatDetector.h"
#include "config/Trace.h"
#include "detectors/Detector.h"
#include "detectors/LaneChangeDetector.h"
#include "detectors/MeasurementFile.h"
#include "detectors/MetricsDetector.h"
#include "detectors/OutputDetector.h"
#include "engine/Lane.h"
#include "trafficfiles/DORIVFile.h"
#include "trafficfiles/FileHandler.h"
#include "trafficfiles/TALVORFile.h"
#include "trafficfiles/VORKFile.h"
#include "vehicles/DriverModelDraw.h"
#include "vehicles/Gradient.h"
#include "vehicles/RoadSegment.h"
#include "vehicles/SpeedLimit.h"
#include "vehicles/Vehicle.h"

#include <algorithm>
#include <utility>

namespace {
constexpr std::size_t readAheadCount = 10;
constexpr int maxLanesPerDirection = 9;
constexpr int vehicleClassCount = 5;
constexpr unsigned short speedLimitType = 400;
constexpr unsigned short gradientType = 401;
constexpr unsigned short laneChangeKind = 513;
constexpr unsigned short vorkCode = 100;
constexpr unsigned short talvorCode = 101;
constexpr unsigned short dorivCode = 102;

template <typename T>
std::vector<T*> borrowed(const std::vector<std::unique_ptr<T>>& owned)
{
    std::vector<T*> pointers;
    pointers.reserve(owned.size());
    for (const std::unique_ptr<T>& object : owned)
        pointers.push_back(object.get());
    return pointers;
}
}

Road::Road() : entryGap(theConfigData.entryGap) {}

Road::~Road()
{
    reset();
}

void Road::setIDMParameterSet(int vehicleClass, CIDMParameterSet* set)
{
    if (vehicleClass >= 0 && vehicleClass < vehicleClassCount)
        idmParameterSets[vehicleClass] = set;
}

CIDMParameterSet* Road::parameterSetFor(int vehicleClass)
{
    if (vehicleClass < 0 || vehicleClass >= vehicleClassCount)
        vehicleClass = 0;
    if (idmParameterSets[vehicleClass])
        return idmParameterSets[vehicleClass];
    if (idmParameterSets[0])
        return idmParameterSets[0];
    // A road set up without parameter sets still drives: with the default draws.
    if (!fallbackParameterSet)
        fallbackParameterSet = std::make_unique<CIDMParameterSet>();
    return fallbackParameterSet.get();
}

void Road::attachParameterSets(RoadSegment& segment)
{
    for (int vehicleClass = 0; vehicleClass < vehicleClassCount; ++vehicleClass)
        segment.setParameterSet(vehicleClass, parameterSetFor(vehicleClass));
}

void Road::addRoadFeature(const CRoadFeature& feature)
{
    int start = feature.getStart();
    int end = feature.getEnd();
    // Reversed ends would make a section that is left before it is entered.
    if (start > end)
        std::swap(start, end);
    const bool positive = feature.isDirectionPositive();
    const int segmentStart = positive ? start : length - end;
    const int segmentEnd = positive ? end : length - start;

    std::unique_ptr<RoadSegment> segment;
    if (feature.getType() == speedLimitType)
        segment = std::make_unique<SpeedLimit>(segmentStart, segmentEnd, feature.getValue(), positive);
    else if (feature.getType() == gradientType)
        segment = std::make_unique<Gradient>(segmentStart, segmentEnd, feature.getValue(), positive);
    else
        return;

    attachParameterSets(*segment);
    (positive ? segments1 : segments2).push_back(std::move(segment));
}

void Road::addStatDetector(const CStatDetector& definition, int laneCountDir1, int laneCountDir2)
{
    const bool positive = definition.isDirectionPositive();
    const auto vehicleTypes = static_cast<short>(definition.getVehicleTypes());
    std::unique_ptr<Detector> detector;
    if (definition.getKind() == laneChangeKind)
        detector = std::make_unique<LaneChangeDetector>(definition.getOutputFolder(),
                                                        static_cast<double>(definition.getInterval()),
                                                        definition.getLocation(), length, positive, vehicleTypes);
    else
        detector = std::make_unique<MetricsDetector>(
            definition.getOutputFolder(), static_cast<short>(definition.getKind()), positive,
            positive ? laneCountDir1 : laneCountDir2, vehicleTypes, definition.getInterval(),
            positive ? definition.getLocation() : length - definition.getLocation(), length);
    (positive ? detectors1 : detectors2).push_back(std::move(detector));
}

void Road::openTrafficFiles(const std::string& inputFile, const std::string& outputFile, unsigned short formatCode)
{
    // The old handler writes and closes its output before the new one opens a file.
    trafficFile.reset();
    switch (formatCode)
    {
    case vorkCode: trafficFile = std::make_unique<VORKFile>(inputFile, outputFile); break;
    case talvorCode: trafficFile = std::make_unique<TALVORFile>(inputFile, outputFile); break;
    case dorivCode: trafficFile = std::make_unique<DORIVFile>(inputFile, outputFile); break;
    default:
        // No handler: the run has no traffic, which the caller can see through hasTraffic().
        debugTrace("*** Road: unknown traffic-file format %u\n", static_cast<unsigned>(formatCode));
        break;
    }
}

bool Road::buildsDirection2() const
{
    // A road with lanes only in direction 2 counts as one direction, yet its lanes are needed.
    return numDirections == 2 || lanesDir2 > 0;
}

double Road::initialise()
{
    const auto byStart = [](const std::unique_ptr<RoadSegment>& a, const std::unique_ptr<RoadSegment>& b) {
        return a->getStart() < b->getStart();
    };
    std::stable_sort(segments1.begin(), segments1.end(), byStart);
    std::stable_sort(segments2.begin(), segments2.end(), byStart);

    // A study file can hold any count; no record can name a lane beyond 9 anyway.
    lanesDir1 = std::clamp(lanesDir1, 0, maxLanesPerDirection);
    lanesDir2 = std::clamp(lanesDir2, 0, maxLanesPerDirection);
    if (totalLanes != lanesDir1 + lanesDir2)
        debugTrace("*** Road: total lanes %d corrected to %d\n", totalLanes, lanesDir1 + lanesDir2);
    totalLanes = lanesDir1 + lanesDir2;

    fileExhausted = false;
    progress = 0;
    vehiclesReleased = 0;
    skippedVehicles = 0;
    vehicleSteps = 0;
    recordsWritten = 0;
    outputWriteFailed = false;
    lostMeasurementFiles.clear();
    releaseDelays.clear();
    gapsOfRemovedLanes = GapFigures();

    releaseOrder = chosenReleaseOrder;
    laneQueues.clear();
    laneQueues.resize(static_cast<std::size_t>(totalLanes));
    queuedInLanes = 0;
    vehiclesRead = 0;
    entering.clear();
    entering.reserve(laneQueues.size());
    // Per lane, releaseVehicles reads on as far as the clock needs: one vehicle gives the start.
    const std::size_t firstRead = releaseOrder == ReleaseOrder::perLane ? 1 : readAheadCount;
    while (pending.size() + queuedInLanes < firstRead && !fileExhausted)
        readAhead();
    foundTraffic = pending.size() + queuedInLanes > 0;

    lanes.clear();
    buildDirection(direction1, true, outputDetectorLocation1, 0, lanesDir1, detectors1, segments1);
    if (buildsDirection2())
        buildDirection(direction2, false, outputDetectorLocation2, lanesDir1, lanesDir2, detectors2, segments2);
    displayLists.assign(lanes.size(), {});

    if (!foundTraffic)
        return 0.0;
    return releaseOrder == ReleaseOrder::perLane ? lastReadTime : pending.front()->getTime();
}

void Road::buildDirection(Direction& direction, bool isDirection1, int outputLocation, int firstLaneIndex,
                          int laneCount, const DetectorList& detectors, const SegmentList& segments)
{
    direction.configure(isDirection1, std::make_unique<OutputDetector>(outputLocation, isDirection1, trafficFile.get()),
                        laneChangesAllowed, outputCars, length, drivesOnRight);
    direction.buildLanes(firstLaneIndex, std::vector<int>(static_cast<std::size_t>(laneCount), length),
                         borrowed(detectors), borrowed(segments));
    for (int i = 0; i < laneCount; ++i)
        lanes.push_back(direction.getLane(i));
}

LaneMapping Road::laneMapping() const
{
    // Without direction 2's lanes built, none of its records has a lane.
    return LaneMapping{lanesDir1, buildsDirection2() ? lanesDir2 : 0, fileLanesDir1, fileLanesDir2};
}

void Road::prepareVehicle(Vehicle& v) const
{
    v.setLaneCount(totalLanes);
    if (!v.isDirectionPositive())
        v.setLane(laneMapping().roadLane(false, v.getLane()));
}

bool Road::isLaneOfItsDirection(const Vehicle& v) const
{
    return laneMapping().isOnRoad(v.isDirectionPositive(), v.getLane());
}

std::unique_ptr<Vehicle> Road::readUsableVehicle()
{
    if (!trafficFile)
        return nullptr;
    while (std::unique_ptr<Vehicle> v = trafficFile->readNextVehicle())
    {
        prepareVehicle(*v);
        if (isLaneOfItsDirection(*v))
            return v;
        // Its lane is not one of its direction's lanes on this road: it cannot drive here.
        debugTrace("*** Road: vehicle of direction %d in lane %d skipped\n", v->isDirectionPositive() ? 1 : 2,
                   v->getLane());
        ++skippedVehicles;
    }
    return nullptr;
}

void Road::readAhead()
{
    std::unique_ptr<Vehicle> v = readUsableVehicle();
    if (trafficFile)
        progress = std::max(progress, trafficFile->getPercentRead());
    if (!v)
    {
        fileExhausted = true;
        return;
    }
    if (releaseOrder != ReleaseOrder::perLane)
    {
        pending.push_back(std::move(v));
        return;
    }
    lastReadTime = v->getTime();
    const auto lane = static_cast<std::size_t>(v->getLane() - 1);
    laneQueues[lane].push_back(Queued{std::move(v), vehiclesRead++});
    ++queuedInLanes;
}

void Road::assignDriver(Vehicle& v)
{
    v.setDriverModel(drawDriverModel(*parameterSetFor(v.getClass())));
}

void Road::enter(std::unique_ptr<Vehicle> v, Lane& lane, double time)
{
    releaseDelays.add(time - v->getTime());
    assignDriver(*v);
    v->setRoad(length, drivesOnRight);
    lane.appendVehicle(std::move(v));
    ++vehiclesReleased;
}

void Road::releaseVehicles(double /*dt*/, double time)
{
    if (releaseOrder == ReleaseOrder::perLane)
    {
        releasePerLane(time);
        return;
    }
    while (!pending.empty())
    {
        const Vehicle& v = *pending.front();
        Lane* lane = lanes[static_cast<std::size_t>(v.getLane() - 1)];
        if (lane->getLastPosition() < entryGap)
            return;
        if (v.getTime() > time)
            return;

        std::unique_ptr<Vehicle> next = std::move(pending.front());
        pending.pop_front();
        enter(std::move(next), *lane, time);
        readAhead();
    }
}

void Road::releasePerLane(double time)
{
    // Every vehicle due by now is read, so that each lane's next one is known whatever the other
    // lanes hold, and one beyond, which tells the clock when the next is due.
    while (!fileExhausted && lastReadTime <= time)
        readAhead();

    entering.clear();
    for (std::size_t i = 0; i < laneQueues.size(); ++i)
    {
        const std::deque<Queued>& queue = laneQueues[i];
        if (!queue.empty() && lanes[i]->getLastPosition() >= entryGap && queue.front().vehicle->getTime() <= time)
            entering.push_back(i);
    }
    // In file order, so that a run in which no lane is ever blocked draws its drivers and counts
    // its delays exactly as a run in file order does.
    std::sort(entering.begin(), entering.end(), [this](std::size_t a, std::size_t b) {
        return laneQueues[a].front().place < laneQueues[b].front().place;
    });
    for (const std::size_t i : entering)
    {
        std::unique_ptr<Vehicle> v = std::move(laneQueues[i].front().vehicle);
        laneQueues[i].pop_front();
        --queuedInLanes;
        enter(std::move(v), *lanes[i], time);
    }
}

GapFigures Road::getGapFigures() const
{
    GapFigures figures = gapsOfRemovedLanes;
    for (const Lane* lane : lanes)
        figures.merge(lane->getGapFigures());
    return figures;
}

int Road::getVehiclesOnRoad() const
{
    int count = 0;
    for (const Lane* lane : lanes)
        count += lane->getVehicleCount();
    return count;
}

std::optional<double> Road::nextArrivalTime() const
{
    if (releaseOrder != ReleaseOrder::perLane)
    {
        if (pending.empty())
            return std::nullopt;
        return pending.front()->getTime();
    }
    std::optional<double> earliest;
    for (const std::deque<Queued>& queue : laneQueues)
        if (!queue.empty() && (!earliest || queue.front().vehicle->getTime() < *earliest))
            earliest = queue.front().vehicle->getTime();
    return earliest;
}

void Road::advanceEmptySteps(double dt, std::int64_t count)
{
    const MeasurementFile::HeldFlushes oneWriteForTheWholeGap;
    for (std::int64_t step = 0; step < count; ++step)
    {
        // A direction that was not built has no detectors.
        direction1.advanceDetectors(dt);
        direction2.advanceDetectors(dt);
    }
}

void Road::flushOutputFile()
{
    if (trafficFile && !trafficFile->flushOutput())
        outputWriteFailed = true;
}

bool Road::update(double dt, double time)
{
    vehicleSteps += getVehiclesOnRoad();

    // A direction that was not built has nothing to update and counts as empty.
    const bool direction1Empty = direction1.update(dt, time);
    const bool direction2Empty = direction2.update(dt, time);
    recordsWritten = direction1.getOutputRecordCount() + direction2.getOutputRecordCount();

    if (!(direction1Empty && direction2Empty && fileExhausted && pending.empty() && queuedInLanes == 0))
        return false;
    for (const std::unique_ptr<Detector>& detector : detectors1)
        detector->finish();
    for (const std::unique_ptr<Detector>& detector : detectors2)
        detector->finish();
    // The output traffic file is complete as soon as the run has ended, not only at reset.
    flushOutputFile();
    return true;
}

const std::vector<std::vector<Vehicle*>>& Road::getVehicles()
{
    direction1.fillVehiclesForDisplay(displayLists, 0);
    direction2.fillVehiclesForDisplay(displayLists, static_cast<std::size_t>(lanesDir1));
    return displayLists;
}

void Road::collectLostMeasurementFiles()
{
    for (const auto& detector : detectors1)
        detector->collectLostFiles(lostMeasurementFiles);
    for (const auto& detector : detectors2)
        detector->collectLostFiles(lostMeasurementFiles);
}

void Road::reset()
{
    // While the detectors still exist; a stopped run learns here of its last lost lines.
    collectLostMeasurementFiles();
    gapsOfRemovedLanes = getGapFigures();
    // The directions borrow the detectors and segments: they go first.
    direction1.reset();
    direction2.reset();
    lanes.clear();
    detectors1.clear();
    detectors2.clear();
    segments1.clear();
    segments2.clear();

    // A stopped run's records are flushed here, where a failure can still be seen.
    flushOutputFile();
    trafficFile.reset();
    pending.clear();
    laneQueues.clear();
    queuedInLanes = 0;

    displayLists.clear();
    std::fill(std::begin(idmParameterSets), std::end(idmParameterSets), nullptr);
    fileExhausted = false;
    foundTraffic = false;
}
