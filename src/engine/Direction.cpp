#include "engine/Direction.h"

#include "detectors/Detector.h"
#include "detectors/OutputDetector.h"
#include "vehicles/RoadSegment.h"
#include "vehicles/Vehicle.h"

#include <utility>

Direction::Direction() = default;

Direction::~Direction() = default;

void Direction::configure(bool direction1, std::unique_ptr<OutputDetector> detector, bool changesAllowed,
                          bool carsToOutput, int roadLength, bool rightHandTraffic)
{
    isDirection1 = direction1;
    outputDetector = std::move(detector);
    laneChangesAllowed = changesAllowed;
    outputCars = carsToOutput;
    length = roadLength;
    drivesOnRight = rightHandTraffic;
}

void Direction::buildLanes(int firstLaneIndex, const std::vector<int>& laneLengths,
                           const std::vector<Detector*>& directionDetectors,
                           const std::vector<RoadSegment*>& directionSegments)
{
    detectors = directionDetectors;
    segments = directionSegments;

    lanes.clear();
    lanes.reserve(laneLengths.size());
    for (std::size_t i = 0; i < laneLengths.size(); ++i)
    {
        lanes.push_back(std::make_unique<Lane>(firstLaneIndex + static_cast<int>(i), laneLengths[i], detectors,
                                               isDirection1, laneChangesAllowed, outputCars));
        lanes.back()->setOutputDetector(outputDetector.get());
        lanes.back()->setSegments(segments);
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
            lanes[i]->setFirstNeighbour(lanes[i + 1].get());
        else
            lanes[i]->setSecondNeighbour(lanes[i + 1].get());
    }
    for (std::size_t i = 1; i < n; ++i)
    {
        if (drivesOnRight)
            lanes[i]->setSecondNeighbour(lanes[i - 1].get());
        else
            lanes[i]->setFirstNeighbour(lanes[i - 1].get());
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

    std::size_t emptyLanes = 0;
    for (const std::unique_ptr<Lane>& lane : lanes)
        if (lane->update(dt, time))
            ++emptyLanes;

    if (outputDetector)
        outputDetector->flush();

    // Only now: the flush may have written a vehicle that left the road in this step.
    for (const std::unique_ptr<Lane>& lane : lanes)
        lane->deleteDepartedVehicle();

    return emptyLanes == lanes.size();
}

void Direction::fillVehiclesForDisplay(std::vector<std::vector<Vehicle*>>& out, std::size_t firstSlot)
{
    if (lanes.empty())
        return;
    if (out.size() < firstSlot + lanes.size())
        out.resize(firstSlot + lanes.size());
    for (std::size_t i = 0; i < lanes.size(); ++i)
    {
        Lane& lane = *lanes[i];
        std::vector<Vehicle*>& list = out[firstSlot + i];
        // A lane that kept its vehicles keeps their order too: its list stands.
        if (!lane.takeMembershipChange() && list.size() == lane.getVehicles().size())
            continue;
        list.resize(lane.getVehicles().size());
        auto slot = list.begin();
        // Each move has set its vehicle's road x.
        for (Vehicle& v : lane.getVehicles())
            *slot++ = &v;
    }
}

int Direction::getVehicleCount() const
{
    int count = 0;
    for (const std::unique_ptr<Lane>& lane : lanes)
        count += lane->getVehicleCount();
    return count;
}

std::int64_t Direction::getOutputRecordCount() const
{
    std::int64_t count = 0;
    for (const std::unique_ptr<Lane>& lane : lanes)
        count += lane->getOutputRecordCount();
    return count;
}

void Direction::reset()
{
    lanes.clear();
    outputDetector.reset();
    detectors.clear();
    segments.clear();
}
