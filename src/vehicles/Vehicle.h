#pragma once
// One simulated vehicle: the traffic-file record it was read from (time stamp, weights, axles)
// and the body that moves along its lane under its own driver model.

#include "vehicles/Axle.h"
#include "vehicles/DriverModel.h"
#include "vehicles/IDM.h"
#include "vehicles/VehicleClass.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <new>
#include <string>
#include <string_view>
#include <vector>

// Aligned to a cache line, so that the fields a step reads share as few lines as they can.
class alignas(64) Vehicle
{
public:
    Vehicle();
    // The driver pointer refers to the vehicle's own model: a copy would share it.
    Vehicle(const Vehicle&) = delete;
    Vehicle& operator=(const Vehicle&) = delete;
    virtual ~Vehicle() = default;

    // Made in VehiclePool::forVehicles(), side by side in the order they are made (see there);
    // a derived class of another size, and every vehicle under AddressSanitizer, in the ordinary heap.
    static void* operator new(std::size_t size, std::align_val_t alignment);
    static void operator delete(void* p, std::size_t size, std::align_val_t alignment) noexcept;

    // Seconds since the start of year 0 of the traffic files' calendar.
    virtual double getTime() const;
    void setTime(double seconds);

    // Appends axleCount default axles; returns how many were appended.
    int createAxles();
    // Index i is 0-based; out of range throws std::out_of_range.
    void setAxleWeight(int i, double kN);
    void setAxleSpacing(int i, double metres);
    double getAxleWeight(int i) const;
    double getAxleSpacing(int i) const;

    short classify() const;

    void setDriverModel(const IDM& model);
    void setLaneCount(int n) { laneCount = n; }
    void setLane(int n) { lane = n; }
    void setRoad(int lengthOfRoad, bool onRight);
    void setWantsLaneChange(bool wants) { laneChangeWanted = wants; }

    // One time step (s) of the lane's front vehicle, and of a vehicle behind its moved leader.
    void moveFree(double dt);
    void moveBehind(double dt, const Vehicle& leader);
    // Accelerations (m/s²) for the current state; also used for hypothetical leaders.
    double accelerationFree() const;
    double accelerationBehind(const Vehicle& leader) const;
    // Trapezoidal step with the velocity floored at 0.
    void integrate(double dt, double accel);

    // 0 no change, 1 to the lane on the driver's left, 2 to the lane on the right.
    // A null leader or follower means the candidate lane has none.
    int decideLaneChange(const Vehicle* leaderLeft, const Vehicle* followerLeft, const Vehicle* leaderRight,
                         const Vehicle* followerRight, bool hasLeft, bool hasRight) const;
    // Incentive (m/s²) for one candidate lane; biasAway is true for a lane away from the kerb.
    double laneChangeIncentive(const Vehicle* newLeader, const Vehicle* newFollower, bool biasAway) const;
    // An incentive has to reach this even when a driver's threshold is lower.
    static constexpr double minimumIncentive = 0.0001;  // m/s²
    // Stands for "impossible": a gap below the minimum on either side.
    static constexpr double prohibitiveAcceleration = -1000000.0;  // m/s²
    // The most a change of lane can gain (m/s²) whoever leads in the new lane: no leader raises
    // the acceleration above the free-road bound. NaN when nothing is known.
    double bestLaneChangeGain() const;
    // False when the incentive for the lane on the driver's left (or right) is 0 whoever drives
    // in it, as even a free road ahead would not pay: such a lane need not be searched.
    // bestGain is bestLaneChangeGain(), worked out once for both sides.
    bool sideMayPay(double bestGain, bool left) const;

    double getPosition() const { return position; }
    double getRoadX() const { return roadX; }
    double getVelocity() const { return velocity; }
    double getAcceleration() const { return acceleration; }
    // The change of speed over the whole of the last step of `dt` seconds (m/s²): after the
    // velocity floor, and across both moves of a vehicle moved again in a lane it changed into.
    double getStepAcceleration(double dt) const { return (velocity - stepStartVelocity) / dt; }
    // The vehicle will be moved again in this step (in the lane it changed into): that move
    // continues the step rather than starting one.
    void continueStepInNextMove() { continuesStep = true; }
    double getLength() const { return length; }
    double getGap() const { return gap; }
    short getClass() const { return vehicleClass; }
    int getLane() const { return lane; }
    int getDirection() const { return direction; }
    bool isDirectionPositive() const { return directionPositive; }
    bool wantsLaneChange() const { return laneChangeWanted; }
    DriverModel* getDriverModel() const { return driver; }
    double getDesiredVelocity() const { return driver->getDesiredVelocity(); }
    double getGVW() const { return gvw; }
    int getAxleCount() const { return axleCount; }
    // Lane counted within the vehicle's own direction, from 1.
    int getLaneInDirection() const;

    // The inspection text shown for a clicked vehicle.
    std::string getVehicleData() const;

    // The vehicles ahead and behind in the same lane, kept by the lane that holds this one; null
    // at either end and outside a lane.
    Vehicle* ahead = nullptr;
    Vehicle* behind = nullptr;

    // What every step's move and lane-change attempt reads comes first, with the driver model's
    // own, so that a step touches few cache lines. A walk along a lane, or a look at a
    // neighbour, reads the first line only: the links, position, speed and length.
    double position = 0.0;           // m, front of the vehicle from the start of its direction
    double velocity = 0.0;           // m/s
    double acceleration = 0.0;       // m/s², of the last step, before the velocity floor
    double gap = 0.0;                // m, net gap to the leader
    double length = 0.0;             // m
    double stepStartVelocity = 0.0;  // m/s, before the last step's first move
    double roadX = 0.0;              // m, front of the vehicle on the road's x axis, set by each move
    double laneChangeClock = 0.0;    // s
    double laneChangeInterval;       // s
    double laneChangeMinGap;         // m
    DriverModel* driver;             // the model for every acceleration: the vehicle's own idm
    int roadLength = 0;              // m
    bool directionPositive = true;
    bool drivesOnRight = true;
    bool laneChangeWanted = false;
    bool continuesStep = false;
    IDM idm;  // what its evaluations read ends with the vehicle's fourth cache line

    // Read by the front vehicle, a lane change or a detector only.
    int virtualObstacleDistance;  // m
    int lane = 0;                 // road-wide, from 1
    short vehicleClass = classCar;

    int direction = 1;  // 1 towards positive x, 2 towards negative x
    int recordNumber = 0;
    // 1-based line of the input traffic file the record was read from; 0 when not read from one.
    long long inputLine = 0;
    int head = 0;
    int year = 0;   // from 0
    int month = 1;  // from 1
    int day = 1;    // from 1
    int hour = 0;
    int minute = 0;
    int second = 0;
    int hundredths = 0;
    double gvw = 0.0;  // kN
    int auxValue = 0;
    int axleCount = 0;
    std::vector<Axle> axles;  // from the front
    int laneCount = 0;        // both directions
    double entryGap;          // m
    double safeDeceleration;  // m/s²
    double craneMeanSpacing;  // m
    double craneMaxSpacing;   // m
    double lowLoaderSpacing;  // m
    int smallTruckMaxAxles;
    int daysPerMonth;
    int monthsPerYear;
    int carMaxGVW;  // units of 100 kg

    // Smallest obstacle distance that lets a stopped front vehicle still pass the removal point.
    static constexpr int minimumObstacleDistance = 100;  // m
    static int usableObstacleDistance(int configured);

private:
    void advanceLaneChangeClock(double dt);
    // The driver's acceleration (m/s²) at this vehicle's velocity.
    double driverAcceleration(double dv, double gap) const;
    // laneChangeIncentive in full, for the candidates its bound on the own gain leaves open.
    double exactIncentive(const Vehicle* newLeader, const Vehicle* newFollower, bool biasAway) const;
    // laneChangeIncentive once the own gain (m/s²) with the gap ahead (m) may pay: the new
    // follower's part.
    double incentiveWithFollower(const Vehicle* newLeader, const Vehicle* newFollower, double gapAhead, double ownGain,
                                 bool biasAway) const;
};

// The moves of every step, here so that the lane's update can inline them.

inline void Vehicle::advanceLaneChangeClock(double dt)
{
    laneChangeClock += dt;
    if (laneChangeClock >= laneChangeInterval)
    {
        laneChangeClock -= laneChangeInterval;
        laneChangeWanted = true;
    }
}

inline double Vehicle::driverAcceleration(double dv, double gap) const
{
    // The vehicle's own model is called directly: this is the engine's innermost call.
    if (driver == &idm)
        return idm.accelerationAt(velocity, dv, gap);
    driver->setVelocity(velocity);
    return driver->getAcceleration(dv, gap);
}

inline double Vehicle::accelerationBehind(const Vehicle& leader) const
{
    const double gapToLeader = leader.position - leader.length - position;
    const double approachRate = velocity - leader.velocity;
    return driverAcceleration(approachRate, gapToLeader);
}

inline void Vehicle::integrate(double dt, double accel)
{
    const double newVelocity = std::max(velocity + accel * dt, 0.0);
    if (!continuesStep)
        stepStartVelocity = velocity;
    continuesStep = false;
    position += 0.5 * (velocity + newVelocity) * dt;
    // Direction 2 drives towards lower road x.
    roadX = directionPositive ? position : roadLength - position;
    velocity = newVelocity;
    acceleration = accel;
}

inline void Vehicle::moveBehind(double dt, const Vehicle& leader)
{
    advanceLaneChangeClock(dt);
    integrate(dt, accelerationBehind(leader));
    gap = leader.position - leader.length - position;
}

inline double Vehicle::accelerationFree() const
{
    // The lead vehicle drives towards a standing obstacle beyond the road's end.
    const long long obstacle = static_cast<long long>(roadLength) + virtualObstacleDistance;  // m
    const double gapToObstacle = static_cast<double>(obstacle) - position;
    return driverAcceleration(velocity, gapToObstacle);
}

// The lane-change decision, tried by most vehicles in most steps, inline for the same reason.

inline int Vehicle::decideLaneChange(const Vehicle* leaderLeft, const Vehicle* followerLeft, const Vehicle* leaderRight,
                                     const Vehicle* followerRight, bool hasLeft, bool hasRight) const
{
    // The outside lanes lie towards the middle of the road.
    const bool leftIsOutside = drivesOnRight;
    const double incentiveLeft = hasLeft ? laneChangeIncentive(leaderLeft, followerLeft, leftIsOutside) : 0.0;
    const double incentiveRight = hasRight ? laneChangeIncentive(leaderRight, followerRight, !leftIsOutside) : 0.0;
    if (incentiveLeft < minimumIncentive && incentiveRight < minimumIncentive)
        return 0;
    return incentiveLeft > incentiveRight ? 1 : 2;
}

inline double Vehicle::laneChangeIncentive(const Vehicle* newLeader, const Vehicle* newFollower, bool biasAway) const
{
    // Most candidates fail with a bound on the acceleration behind the new leader: the gain with
    // the exact one is no larger, and the test keeps that order. exactIncentive makes the same
    // test first, so a candidate that passes gets what it would have got without this one.
    if (newLeader && driver == &idm)
    {
        const double gapAhead = newLeader->position - newLeader->length - position;  // m
        const double gainBound =
            gapAhead < laneChangeMinGap
                ? prohibitiveAcceleration
                : idm.accelerationBoundBehind(velocity, velocity - newLeader->velocity, gapAhead) - acceleration;
        if (idm.changeCannotPay(gapAhead, gainBound, biasAway))
            return 0.0;
    }
    return exactIncentive(newLeader, newFollower, biasAway);
}

inline double Vehicle::bestLaneChangeGain() const
{
    if (driver != &idm)
        return std::numeric_limits<double>::quiet_NaN();
    // The rounding keeps the bound's order: a gain that fails with it fails with every leader.
    return idm.accelerationBound(velocity) - acceleration;
}

inline bool Vehicle::sideMayPay(double bestGain, bool left) const
{
    constexpr double freeRoad = std::numeric_limits<double>::infinity();  // m
    // The outside lanes lie towards the middle of the road. A NaN gain passes.
    const bool biasAway = left == drivesOnRight;
    return !idm.changeCannotPay(freeRoad, bestGain, biasAway);
}
