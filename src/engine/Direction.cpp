#include "engine/Direction.h"

#include "detectors/Detector.h"
#include "detectors/OutputDetector.h"
#include "vehicles/RoadSegment.h"
#include "vehicles/Vehicle.h"

Direction::~Direction()
{
    reset();
}

void Direction::configure(bool direction1, OutputDetector* detector, bool changesAllowed, bool carsToOutput,
                          int roadLength, bool rightHandTraffic)
{
    isDirection1 = direction1;
    if (outputDetector != detector)
        delete outputDetector;
    outputDetector = detector;
    laneChangesAllowed = changesAllowed;
    outputCars = carsToOutput;
    length = roadLength;
    drivesOnRight = rightHandTraffic;
}

void Direction::buildLanes(int firstLaneIndex, const std::vector<int>& laneLengths,
                           const std::vector<Detector*>& directionDetectors,
                           const std::vector<RoadSegment*>& directionSegments)
{
    laneCountInDirection = static_cast<int>(laneLengths.size());
    detectors = directionDetectors;
    segments = directionSegments;

    // Reserved up front: lanes point at each other and the road keeps pointers to them.
    lanes.clear();
    lanes.reserve(laneLengths.size());
    for (std::size_t i = 0; i < laneLengths.size(); ++i)
    {
        lanes.emplace_back(firstLaneIndex + static_cast<int>(i), laneLengths[i], detectors, isDirection1,
                           laneChangesAllowed, outputCars);
        lanes.back().setOutputDetector(outputDetector);
        lanes.back().setSegments(segments);
    }
    linkNeighbours();
}

void Direction::linkNeighbours()
{
    const std::size_t n = lanes.size();
    if (n < 2)
        return;
    for (std::size_t i = 0; i + 1 < n; ++i)
    {
        if (drivesOnRight)
            lanes[i].setFirstNeighbour(&lanes[i + 1]);
        else
            lanes[i].setSecondNeighbour(&lanes[i + 1]);
    }
    for (std::size_t i = 1; i < n; ++i)
    {
        if (drivesOnRight)
            lanes[i].setSecondNeighbour(&lanes[i - 1]);
        else
            lanes[i].setFirstNeighbour(&lanes[i - 1]);
    }
}

void Direction::advanceDetectors(double dt)
{
    for (Detector* detector : detectors)
        detector->advance(dt);
}

bool Direction::update(double dt, double time)
{
    advanceDetectors(dt);

    int emptyLanes = 0;
    for (Lane& lane : lanes)
        if (lane.update(dt, time))
            ++emptyLanes;

    if (outputDetector)
        outputDetector->flush();

    // Only now: the flush may have written a vehicle that left the road in this step.
    for (Lane& lane : lanes)
        lane.deleteDepartedVehicle();

    return emptyLanes == laneCountInDirection;
}

std::vector<std::vector<Vehicle*>> Direction::getVehicles() const
{
    std::vector<std::vector<Vehicle*>> lists;
    lists.reserve(lanes.size());
    for (const Lane& lane : lanes)
        lists.push_back(lane.getVehicles());
    return lists;
}

void Direction::setDisplayPositions()
{
    if (isDirection1)
        return;
    for (const Lane& lane : lanes)
        for (Vehicle* v : lane.getVehicles())
            v->setRoadX(lane.getLength() - v->getPosition());
}

std::vector<std::vector<Vehicle*>> Direction::getVehiclesForDisplay()
{
    setDisplayPositions();
    return getVehicles();
}

void Direction::fillVehiclesForDisplay(std::vector<std::vector<Vehicle*>>& out, std::size_t firstSlot)
{
    setDisplayPositions();
    if (out.size() < firstSlot + lanes.size())
        out.resize(firstSlot + lanes.size());
    for (std::size_t i = 0; i < lanes.size(); ++i)
    {
        const std::vector<Vehicle*>& source = lanes[i].getVehicles();
        out[firstSlot + i].assign(source.begin(), source.end());
    }
}

int Direction::getVehicleCount() const
{
    int count = 0;
    for (const Lane& lane : lanes)
        count += lane.getVehicleCount();
    return count;
}

std::int64_t Direction::getOutputRecordCount() const
{
    std::int64_t count = 0;
    for (const Lane& lane : lanes)
        count += lane.getOutputRecordCount();
    return count;
}

void Direction::reset()
{
    for (Lane& lane : lanes)
        lane.clear();
    lanes.clear();
    laneCountInDirection = 0;
    delete outputDetector;
    outputDetector = nullptr;
    for (Detector* detector : detectors)
        delete detector;
    detectors.clear();
    for (RoadSegment* segment : segments)
        delete segment;
    segments.clear();
}
