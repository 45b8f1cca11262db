#include "engine/Lane.h"

#include "config/CConfigData.h"
#include "detectors/Detector.h"
#include "detectors/LaneChangeDetector.h"
#include "detectors/LaneChangeEvent.h"
#include "detectors/OutputDetector.h"
#include "vehicles/RoadSegment.h"
#include "vehicles/SegmentRule.h"
#include "vehicles/Vehicle.h"

#include <algorithm>
#include <limits>
#include <optional>
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

// Moves mark to the first of the sorted locations that is not `below`, walking from where it
// was: an update meets positions from the front to the back, so the walk is mostly nil.
template <typename Below>
std::size_t walk(const std::vector<double>& sorted, std::size_t mark, Below below)
{
    while (mark > 0 && !below(sorted[mark - 1]))
        --mark;
    while (mark < sorted.size() && below(sorted[mark]))
        ++mark;
    return mark;
}

constexpr double infinity = std::numeric_limits<double>::infinity();

void frame(Lane::Window& window, const std::vector<double>& sorted)
{
    window.low = window.next > 0 ? sorted[window.next - 1] : -infinity;
    window.high = window.next < sorted.size() ? sorted[window.next] : infinity;
}

// Whether a move from x0 to x1 passes one of the sorted locations (m), as passes() counts it.
// The window holds low < x0 <= high, with no location between.
inline bool passesAny(const std::vector<double>& sortedLocations, double x0, double x1, Lane::Window& window)
{
    if (!(window.low < x0 && x0 <= window.high))
    {
        window.next = walk(sortedLocations, window.next, [x0](double location) { return location < x0; });
        frame(window, sortedLocations);
    }
    return window.high < x1;
}

// Whether a move from x0 to x1 reaches one of the sorted section ends (m), x0 < end <= x1, the
// only moves besides the first one off 0 m in which a section can be entered or left. The
// window holds low <= x0 < high, with no end between.
inline bool reachesAny(const std::vector<double>& sortedEnds, double x0, double x1, Lane::Window& window)
{
    if (!(window.low <= x0 && x0 < window.high))
    {
        window.next = walk(sortedEnds, window.next, [x0](double end) { return end <= x0; });
        frame(window, sortedEnds);
    }
    return window.high <= x1;
}

// A move reads the first four cache lines of its vehicle: its own figures and its driver
// model's (see Vehicle). Asked for while the vehicle ahead moves, they are there when needed;
// otherwise each vehicle's lines are waited for in turn once the lane outgrows the cache.
constexpr std::size_t cacheLine = 64;  // bytes
constexpr std::size_t linesReadByAMove = 4;
static_assert(sizeof(Vehicle) >= linesReadByAMove * cacheLine);

inline void prefetchMove(const Vehicle* v)
{
    const auto* bytes = reinterpret_cast<const char*>(v);
    for (std::size_t line = 0; line < linesReadByAMove; ++line)
        __builtin_prefetch(bytes + line * cacheLine);
}

std::vector<double> sorted(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values;
}
}

Lane::Lane(int laneIndex, int laneLength, const std::vector<Detector*>& directionDetectors, bool direction1,
           bool changesAllowed, bool carsToOutput)
    : detectors(directionDetectors), index(laneIndex), length(laneLength), lastPosition(theConfigData.entryGap),
      laneChangesAllowed(changesAllowed), outputCars(carsToOutput), isDirection1(direction1)
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
    collectDetectorLocations();
}

Lane::~Lane()
{
    while (Vehicle* v = vehicles.front())
    {
        vehicles.remove(v);
        delete v;
    }
}

void Lane::deleteDepartedVehicle()
{
    departed.reset();
}

void Lane::setOutputDetector(OutputDetector* detector)
{
    outputDetector = detector;
    outputDetectorLocation = detector ? detector->getLocation() : 0;
    collectDetectorLocations();
}

void Lane::collectDetectorLocations()
{
    std::vector<double> locations(detectorLocations.begin(), detectorLocations.end());
    if (outputDetector)
        locations.push_back(outputDetectorLocation);
    sortedDetectorLocations = sorted(std::move(locations));
}

void Lane::setSegments(const std::vector<RoadSegment*>& directionSegments)
{
    segments = directionSegments;
    std::vector<double> ends;
    for (const RoadSegment* segment : segments)
    {
        ends.push_back(segment->getStart());
        ends.push_back(segment->getEnd());
    }
    sortedSegmentEnds = sorted(std::move(ends));
}

Lane::Marks Lane::freshMarks() const
{
    Marks marks{{sortedDetectorLocations.size(), 0.0, 0.0}, {sortedSegmentEnds.size(), 0.0, 0.0}};
    frame(marks.detector, sortedDetectorLocations);
    frame(marks.segmentEnd, sortedSegmentEnds);
    return marks;
}

// Called for every move: kept in the update loop.
[[gnu::always_inline]] inline void Lane::notifyPassing(double stepTime, double x0, double x1, Vehicle* v, Marks& marks)
{
    // Most moves pass no detector and reach no section end: the sorted locations settle that.
    if (passesAny(sortedDetectorLocations, x0, x1, marks.detector))
        notifyDetectors(stepTime, x0, x1, v);
    if (reachesAny(sortedSegmentEnds, x0, x1, marks.segmentEnd) || x0 == 0.0)
        applySegments(x0, x1, v);
}

bool Lane::update(double dt, double stepTime)
{
    time = stepTime;
    // Detectors stamp a passage back from where the move ended, at the step's end.
    const double stepEnd = stepTime + dt;
    if (vehicles.empty())
        return true;

    // Started afresh each update: the neighbours' vehicles have moved since the last one.
    std::optional<NeighbourSearch> firstSearch;
    std::optional<NeighbourSearch> secondSearch;
    if (laneChangesAllowed && firstNeighbour)
        firstSearch.emplace(*firstNeighbour);
    if (laneChangesAllowed && secondNeighbour)
        secondSearch.emplace(*secondNeighbour);
    const Searches searches{firstSearch ? &*firstSearch : nullptr, secondSearch ? &*secondSearch : nullptr};
    const bool changesPossible = searches.first || searches.second;

    Vehicle* leader = vehicles.front();
    double x0 = leader->getPosition();
    leader->moveFree(dt);
    Marks marks = freshMarks();
    notifyPassing(stepEnd, x0, leader->getPosition(), leader, marks);
    Vehicle* next = leader->behind;

    // Kept in locals so that the loop pays a compare and an add per vehicle.
    double minimumGap = gapFigures.minimumGap;
    std::int64_t nonPositiveGaps = gapFigures.nonPositiveGaps;
    bool ordered = true;
    while (next)
    {
        Vehicle* v = next;
        // Read before v may leave for another lane.
        next = v->behind;
        if (next)
            prefetchMove(next);
        x0 = v->getPosition();
        v->moveBehind(dt, *leader);
        const double x1 = v->getPosition();

        Lane* target = nullptr;
        if (changesPossible && v->wantsLaneChange())
            target = tryLaneChange(v, searches);

        if (target)
        {
            Marks targetMarks = target->freshMarks();
            target->notifyPassing(stepEnd, x0, x1, v, targetMarks);
            v->setWantsLaneChange(false);
        }
        else
        {
            // Gaps as they are at the step's end: a vehicle that changed lanes has left this one.
            const double gap = v->getGap();
            minimumGap = gap < minimumGap ? gap : minimumGap;
            nonPositiveGaps += gap <= 0.0 ? 1 : 0;
            notifyPassing(stepEnd, x0, x1, v, marks);
            if (!(leader->getPosition() >= x1))
                ordered = false;
            leader = v;
        }
    }

    gapFigures.minimumGap = minimumGap;
    gapFigures.nonPositiveGaps = nonPositiveGaps;
    lastPosition = vehicles.back()->getPosition();
    inDrivingOrder = ordered;

    if (Vehicle* front = vehicles.front(); front->getPosition() > length + exitMargin)
    {
        // At most one vehicle leaves per step; the previous one was deleted after its flush.
        vehicles.remove(front);
        departed.reset(front);
        membershipChanged = true;
    }
    return false;
}

void Lane::appendVehicle(std::unique_ptr<Vehicle> v)
{
    receive(nullptr, v.release());
}

void Lane::receive(Vehicle* follower, Vehicle* v)
{
    const double x = v->getPosition();
    const Vehicle* leader = follower ? follower->ahead : vehicles.back();
    if (leader && !(leader->getPosition() >= x))
        inDrivingOrder = false;
    if (follower && !(x >= follower->getPosition()))
        inDrivingOrder = false;
    if (!follower)
        lastPosition = x;
    vehicles.insertBefore(follower, v);
    membershipChanged = true;
}

Lane::NeighbourSearch::NeighbourSearch(Lane& searched) : lane(searched), next(searched.vehicles.front()) {}

Lane* Lane::tryLaneChange(Vehicle* v, const Searches& searches)
{
    // A side where the change cannot pay gets no incentive: the same as a side without a lane.
    // Most attempts end here, without a search. Candidate 1 is the driver's left.
    const bool firstIsLeft = v->isDirectionPositive();
    const double bestGain = v->bestLaneChangeGain();
    const bool hasFirst = searches.first && v->sideMayPay(bestGain, firstIsLeft);
    const bool hasSecond = searches.second && v->sideMayPay(bestGain, !firstIsLeft);
    if (!hasFirst && !hasSecond)
        return nullptr;

    const double x = v->getPosition();
    Place firstPlace;
    Place secondPlace;
    if (hasFirst)
        firstPlace = searches.first->at(x);
    if (hasSecond)
        secondPlace = searches.second->at(x);

    // Candidate 1 is always the driver's left: direction 2 sees the links mirrored.
    const int decision = v->isDirectionPositive()
                             ? v->decideLaneChange(firstPlace.leader, firstPlace.follower, secondPlace.leader,
                                                   secondPlace.follower, hasFirst, hasSecond)
                             : v->decideLaneChange(secondPlace.leader, secondPlace.follower, firstPlace.leader,
                                                   firstPlace.follower, hasSecond, hasFirst);
    if (decision == 0)
        return nullptr;
    return moveToNeighbour(v, decision, firstPlace, secondPlace);
}

Lane* Lane::moveToNeighbour(Vehicle* v, int decision, const Place& firstPlace, const Place& secondPlace)
{
    const int oldLane = v->getLane();
    const double x = v->getPosition();
    const bool positive = v->isDirectionPositive();

    Lane* candidate1 = positive ? firstNeighbour : secondNeighbour;
    Lane* candidate2 = positive ? secondNeighbour : firstNeighbour;
    const Place& place1 = positive ? firstPlace : secondPlace;
    const Place& place2 = positive ? secondPlace : firstPlace;
    const double eventPosition = positive ? x : length - x;  // m, road x

    Lane* target = decision == 1 ? candidate1 : candidate2;
    const Place& place = decision == 1 ? place1 : place2;
    // A decision for a side without a lane cannot be carried out; the vehicle stays.
    if (!target)
        return nullptr;

    v->setLane(target->index + 1);
    vehicles.remove(v);
    target->receive(place.follower, v);
    membershipChanged = true;
    // A lane updated after this one moves the vehicle again, and finds its gap then; one updated
    // before it has ended its step, so the gaps the vehicle makes there are those of the step's end.
    if (target->index > index)
        v->continueStepInNextMove();
    else
        target->countGapsAround(*v, place);

    if (hasLaneChangeDetector)
        laneChangeDetector->record(LaneChangeEvent(static_cast<int>(eventPosition), oldLane, target->index + 1,
                                                   v->getClass(), decision == 1, positive, time));
    return target;
}

void Lane::countGapsAround(const Vehicle& v, const Place& place)
{
    if (place.leader)
        gapFigures.count(place.leader->getPosition() - place.leader->getLength() - v.getPosition());
    if (place.follower)
        gapFigures.count(v.getPosition() - v.getLength() - place.follower->getPosition());
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
