#pragma once
// One lane of one direction: its vehicles in driving order (the front-most first), moved once
// per step, offered lane changes into the neighbour lanes, reported to the detectors and road
// segments whose locations each move passes, and taken off once beyond the road's end.

#include "engine/GapFigures.h"
#include "engine/VehicleChain.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class Detector;
class OutputDetector;
class LaneChangeDetector;
class RoadSegment;
class Vehicle;

class Lane
{
public:
    // Where a vehicle at some x (m) would join a lane: behind `leader`, the rear-most vehicle at
    // or ahead of x, and in front of `follower`, the vehicle right behind it; either may be null.
    struct Place
    {
        Vehicle* leader = nullptr;
        Vehicle* follower = nullptr;
    };

    // Finds places in one lane for positions given in any order. It walks on from the last
    // place found, so the positions an update meets from the front to the back cost one pass
    // over the lane in all. Valid while no vehicle leaves that lane.
    class NeighbourSearch
    {
    public:
        explicit NeighbourSearch(Lane& lane);
        Place at(double x);

    private:
        Lane& lane;
        Vehicle* next;  // the follower of the last place found, null at the back
    };

    // The detectors stay their owner's and must outlive the lane.
    Lane(int index, int length, const std::vector<Detector*>& detectors, bool isDirection1, bool laneChangesAllowed,
         bool outputCars);
    ~Lane();
    // Neighbour lanes and the road point at a lane: it never moves.
    Lane(const Lane&) = delete;
    Lane& operator=(const Lane&) = delete;

    // Moves every vehicle by one step; true when the lane was empty as the update began.
    bool update(double dt, double time);

    // Puts v at the back of the lane, where vehicles enter. The lane owns its vehicles.
    void appendVehicle(std::unique_ptr<Vehicle> v);

    // Front-most first; read in place, valid until the lane next changes.
    const VehicleChain& getVehicles() const { return vehicles; }
    // Whether a vehicle joined or left the lane since the last call (or since it was built), so
    // that a copy of the list need not be made again while it holds the same vehicles.
    bool takeMembershipChange() { return std::exchange(membershipChanged, false); }
    int getVehicleCount() const { return static_cast<int>(vehicles.size()); }
    double getLastPosition() const { return lastPosition; }
    int getIndex() const { return index; }
    double getLength() const { return length; }
    Lane* getFirstNeighbour() const { return firstNeighbour; }
    Lane* getSecondNeighbour() const { return secondNeighbour; }

    // Neither the output detector nor the segments are owned; both must outlive the lane.
    void setOutputDetector(OutputDetector* detector);
    void setSegments(const std::vector<RoadSegment*>& directionSegments);
    void setFirstNeighbour(Lane* lane) { firstNeighbour = lane; }
    void setSecondNeighbour(Lane* lane) { secondNeighbour = lane; }

    // The vehicle taken off at the road's end in this step is kept until the direction's output
    // detector has written the step's records, which may include it.
    void deleteDepartedVehicle();

    // Records handed to the output detector since the lane was built.
    std::int64_t getOutputRecordCount() const { return outputRecordCount; }
    // Gaps of the car-following moves made in this lane since it was built.
    const GapFigures& getGapFigures() const { return gapFigures; }

    // A place among sorted locations (m) and the locations either side of it, kept from move to
    // move: most moves stay between the same two.
    struct Window
    {
        std::size_t next;  // the first location not behind the last position asked about
        double low;        // m, the one before it, or -infinity
        double high;       // m, that one, or infinity
    };

private:
    struct Searches
    {
        NeighbourSearch* first;
        NeighbourSearch* second;
    };
    // Hands v over to a neighbour lane when its driver decides to change; returns that lane, or
    // null when the vehicle stays. At least one of the searches is given.
    Lane* tryLaneChange(Vehicle* v, const Searches& searches);
    Lane* moveToNeighbour(Vehicle* v, int decision, const Place& firstPlace, const Place& secondPlace);
    // Links v, in no lane, into this one in front of `follower` (at the back when null).
    void receive(Vehicle* follower, Vehicle* v);
    void collectDetectorLocations();
    // Windows on the detector locations and on the section ends.
    struct Marks
    {
        Window detector;
        Window segmentEnd;
    };
    Marks freshMarks() const;
    void notifyPassing(double stepTime, double x0, double x1, Vehicle* v, Marks& marks);
    void notifyDetectors(double stepTime, double x0, double x1, Vehicle* v);
    // Counts the gaps a vehicle received into this lane, after its update, makes with its new
    // leader and follower.
    void countGapsAround(const Vehicle& v, const Place& place);
    void applySegments(double x0, double x1, Vehicle* v);

    VehicleChain vehicles;  // owned
    std::vector<Detector*> detectors;
    int index;
    double length;        // m
    double lastPosition;  // m
    bool laneChangesAllowed;
    bool outputCars;
    bool isDirection1;
    double time = 0.0;  // s, start of the step being processed
    bool hasLaneChangeDetector = false;
    std::vector<RoadSegment*> segments;
    Lane* firstNeighbour = nullptr;
    Lane* secondNeighbour = nullptr;
    OutputDetector* outputDetector = nullptr;
    LaneChangeDetector* laneChangeDetector = nullptr;

    // Locations cached so that the per-move passage test reads no detector object.
    int outputDetectorLocation = 0;               // m
    std::vector<int> detectorLocations;           // m, parallel to detectors
    std::vector<double> sortedDetectorLocations;  // m, the output detector's too
    std::vector<double> sortedSegmentEnds;        // m, starts and ends
    std::unique_ptr<Vehicle> departed;
    // Positions do not increase from the front to the back, so a search may walk from where it
    // last stopped. A vehicle that ran into its leader breaks this until the lane's next update.
    bool inDrivingOrder = true;
    std::int64_t outputRecordCount = 0;
    bool membershipChanged = true;
    GapFigures gapFigures;
};

// Inline: tried for most vehicles in most steps.
inline Lane::Place Lane::NeighbourSearch::at(double x)
{
    const auto behindX = [x](const Vehicle* v) { return v->getPosition() < x; };
    // Steps `next` back while the vehicle in front of it is behind x too.
    const auto backUp = [this, &behindX] {
        for (Vehicle* ahead = next ? next->ahead : lane.vehicles.back(); ahead && behindX(ahead); ahead = ahead->ahead)
            next = ahead;
    };
    if (lane.inDrivingOrder)
    {
        // The vehicles at or ahead of x come first: the place is where they end.
        while (next && !behindX(next))
            next = next->behind;
        backUp();
    }
    else
    {
        // Out of order: the leader is the rear-most vehicle at or ahead of x, wherever it is.
        next = nullptr;
        backUp();
    }
    Place place;
    place.leader = next ? next->ahead : lane.vehicles.back();
    place.follower = next;
    // The next search, a vehicle later, mostly walks on to the follower's follower: asked for
    // now, it is there by then rather than waited for once the lanes outgrow the cache.
    if (next && next->behind)
        __builtin_prefetch(next->behind);
    return place;
}
