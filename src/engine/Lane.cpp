#include "engine/Lane.h"

#include "config/CConfigData.h"
#include "detectors/Detector.h"
#include "detectors/LaneChangeDetector.h"
#include "detectors/LaneChangeEvent.h"
#include "detectors/OutputDetector.h"
#include "vehicles/SegmentRule.h"
#include "vehicles/Vehicle.h"

#include <algorithm>
#include <utility>

namespace {
// A front vehicle this far beyond the road's end has left the road.
constexpr double exitMargin = 10.0;  // m

// A move from x0 to x1 passes d when x0 <= d < x1. Including both ends would catch a vehicle
// that ends a step exactly on d twice: a duplicate output record and a double count. Including
// the start keeps a detector at 0 m seeing every vehicle as it enters.
bool passes(double x0, double x1, int location)
{
    return x0 <= location && location < x1;
}
}

Lane::Lane(int laneIndex, int laneLength, const std::vector<Detector*>& directionDetectors,
           bool direction1, bool changesAllowed, bool carsToOutput)
    : detectors(directionDetectors),
      index(laneIndex),
      length(laneLength),
      lastPosition(theConfigData.entryGap),
      laneChangesAllowed(changesAllowed),
      outputCars(carsToOutput),
      isDirection1(direction1)
{
    detectorLocations.reserve(detectors.size());
    for (Detector* detector : detectors)
    {
        detectorLocations.push_back(detector->getLocation());
        if (!hasLaneChangeDetector && detector->getKind() == Detector::kindLaneChange &&
            detector->isDirectionPositive() == isDirection1)
        {
            hasLaneChangeDetector = true;
            laneChangeDetector = static_cast<LaneChangeDetector*>(detector);
        }
    }
}

Lane::~Lane() = default;

void Lane::deleteDepartedVehicle()
{
    departed.reset();
}

void Lane::setOutputDetector(OutputDetector* detector)
{
    outputDetector = detector;
    outputDetectorLocation = detector ? detector->getLocation() : 0;
}

bool Lane::update(double dt, double stepTime)
{
    time = stepTime;
    if (vehicles.empty())
        return true;

    Vehicle* front = vehicles.front().get();
    double x0 = front->getPosition();
    front->moveFree(dt);
    notifyPassing(time, x0, front->getPosition(), front);

    // Kept in locals so that the loop pays a compare and an add per vehicle.
    double minimumGap = gapFigures.minimumGap;
    std::int64_t nonPositiveGaps = gapFigures.nonPositiveGaps;
    std::size_t i = 1;
    while (i < vehicles.size())
    {
        Vehicle* v = vehicles[i].get();
        x0 = v->getPosition();
        v->moveBehind(dt, *vehicles[i - 1]);
        const double x1 = v->getPosition();
        const double gap = v->getGap();
        minimumGap = gap < minimumGap ? gap : minimumGap;
        nonPositiveGaps += gap <= 0.0 ? 1 : 0;

        Lane* target = nullptr;
        if (laneChangesAllowed && v->wantsLaneChange())
            target = tryLaneChange(i);

        if (target)
        {
            target->notifyPassing(time, x0, x1, v);
            v->setWantsLaneChange(false);
            vehicles.erase(vehicles.begin() + static_cast<std::ptrdiff_t>(i));
        }
        else
        {
            notifyPassing(time, x0, x1, v);
            ++i;
        }
    }

    gapFigures.minimumGap = minimumGap;
    gapFigures.nonPositiveGaps = nonPositiveGaps;
    lastPosition = vehicles.back()->getPosition();
    inDrivingOrder = checkDrivingOrder();

    if (vehicles.front()->getPosition() > length + exitMargin)
    {
        // At most one vehicle leaves per step; the previous one was deleted after its flush.
        departed = std::move(vehicles.front());
        vehicles.erase(vehicles.begin());
    }
    return false;
}

void Lane::appendVehicle(std::unique_ptr<Vehicle> v)
{
    insertVehicle(getVehicleCount(), std::move(v));
}

void Lane::insertVehicle(int insertAt, std::unique_ptr<Vehicle> v)
{
    const int count = getVehicleCount();
    const double x = v->getPosition();
    const int before = std::clamp(insertAt, 0, count) - 1;
    if (before >= 0 && !(vehicles[static_cast<std::size_t>(before)]->getPosition() >= x))
        inDrivingOrder = false;
    if (before + 1 < count && !(x >= vehicles[static_cast<std::size_t>(before + 1)]->getPosition()))
        inDrivingOrder = false;

    if (insertAt >= count)
    {
        lastPosition = x;
        vehicles.push_back(std::move(v));
    }
    else
        vehicles.insert(vehicles.begin() + std::max(insertAt, 0), std::move(v));
}

int Lane::leaderIndexAt(double x) const
{
    if (inDrivingOrder)
    {
        // The vehicles at or ahead of x form a prefix of the list: its last one is the leader.
        const auto end = std::partition_point(vehicles.begin(), vehicles.end(),
                                              [x](const auto& v) { return v->getPosition() >= x; });
        return static_cast<int>(end - vehicles.begin()) - 1;
    }
    int k = getVehicleCount() - 1;
    while (k >= 0 && vehicles[static_cast<std::size_t>(k)]->getPosition() < x)
        --k;
    return k;
}

bool Lane::checkDrivingOrder() const
{
    for (std::size_t i = 1; i < vehicles.size(); ++i)
        if (!(vehicles[i - 1]->getPosition() >= vehicles[i]->getPosition()))
            return false;
    return true;
}

Vehicle* Lane::findNeighbour(const Lane& other, double x, bool wantLeader, int* insertIndex) const
{
    if (other.vehicles.empty())
        return nullptr;
    const int k = other.leaderIndexAt(x);
    if (insertIndex)
        *insertIndex = k + 1;
    if (wantLeader)
        return k >= 0 ? other.vehicles[static_cast<std::size_t>(k)].get() : nullptr;
    return k + 1 < other.getVehicleCount() ? other.vehicles[static_cast<std::size_t>(k + 1)].get() : nullptr;
}

Lane* Lane::tryLaneChange(std::size_t i)
{
    if (!firstNeighbour && !secondNeighbour)
        return nullptr;

    const Vehicle* v = vehicles[i].get();
    const double x = v->getPosition();
    Vehicle* leaderFirst = nullptr;
    Vehicle* followerFirst = nullptr;
    Vehicle* leaderSecond = nullptr;
    Vehicle* followerSecond = nullptr;
    int firstIndex = 0;
    int secondIndex = 0;
    // One search per neighbour: the follower is the vehicle right behind the leader found.
    if (firstNeighbour)
    {
        leaderFirst = findNeighbour(*firstNeighbour, x, true, &firstIndex);
        followerFirst = firstIndex < firstNeighbour->getVehicleCount()
                            ? firstNeighbour->vehicles[static_cast<std::size_t>(firstIndex)].get()
                            : nullptr;
    }
    if (secondNeighbour)
    {
        leaderSecond = findNeighbour(*secondNeighbour, x, true, &secondIndex);
        followerSecond = secondIndex < secondNeighbour->getVehicleCount()
                             ? secondNeighbour->vehicles[static_cast<std::size_t>(secondIndex)].get()
                             : nullptr;
    }

    const bool hasFirst = firstNeighbour != nullptr;
    const bool hasSecond = secondNeighbour != nullptr;
    // Candidate 1 is always the driver's left: direction 2 sees the links mirrored.
    const int decision =
        v->isDirectionPositive()
            ? v->decideLaneChange(leaderFirst, followerFirst, leaderSecond, followerSecond, hasFirst, hasSecond)
            : v->decideLaneChange(leaderSecond, followerSecond, leaderFirst, followerFirst, hasSecond, hasFirst);
    if (decision == 0)
        return nullptr;
    return moveToNeighbour(i, decision, firstIndex, secondIndex);
}

Lane* Lane::moveToNeighbour(std::size_t i, int decision, int firstIndex, int secondIndex)
{
    Vehicle* v = vehicles[i].get();
    const int oldLane = v->getLane();
    const double x = v->getPosition();
    const bool positive = v->isDirectionPositive();

    Lane* candidate1 = positive ? firstNeighbour : secondNeighbour;
    Lane* candidate2 = positive ? secondNeighbour : firstNeighbour;
    const int index1 = positive ? firstIndex : secondIndex;
    const int index2 = positive ? secondIndex : firstIndex;
    const double eventPosition = positive ? x : length - x;  // m, road x

    Lane* target = decision == 1 ? candidate1 : candidate2;
    const int targetIndex = decision == 1 ? index1 : index2;
    // A decision for a side without a lane cannot be carried out; the vehicle stays.
    if (!target)
        return nullptr;

    v->setLane(target->index + 1);
    target->insertVehicle(targetIndex, std::move(vehicles[i]));

    if (hasLaneChangeDetector)
        laneChangeDetector->record(LaneChangeEvent(static_cast<int>(eventPosition), oldLane, target->index + 1,
                                                   v->getClass(), decision == 1, positive, time));
    return target;
}

void Lane::notifyPassing(double stepTime, double x0, double x1, Vehicle* v)
{
    notifyDetectors(stepTime, x0, x1, v);
    applySegments(x0, x1, v);
}

void Lane::notifyDetectors(double stepTime, double x0, double x1, Vehicle* v)
{
    if (outputDetector && passes(x0, x1, outputDetectorLocation) && (outputCars || v->getClass() != 0))
    {
        outputDetector->detect(v, stepTime);
        ++outputRecordCount;
    }
    for (std::size_t k = 0; k < detectors.size(); ++k)
        if (passes(x0, x1, detectorLocations[k]))
            detectors[k]->detect(v, stepTime);
}

void Lane::applySegments(double x0, double x1, Vehicle* v)
{
    if (!segments.empty())
        applySegmentRule(segments, x0, x1, v);
}
