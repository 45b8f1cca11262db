#pragma once
// A point on one direction of the road that observes the vehicles passing it: the common base of
// the output, metrics and lane-change detectors, with their place, vehicle-type filter, interval
// clock and result folder.

#include <string>
#include <vector>

class Vehicle;

class Detector
{
public:
    // Detector kinds (the output detector has none of these).
    static constexpr short kindFlowDensity = 510;
    static constexpr short kindHeadway = 511;
    static constexpr short kindComposition = 512;
    static constexpr short kindLaneChange = 513;

    // Vehicle-type filter codes.
    static constexpr short vehicleTypesAll = 500;
    static constexpr short vehicleTypesTrucks = 501;
    static constexpr short vehicleTypesCars = 502;
    static constexpr short vehicleTypesSmallTrucks = 503;
    static constexpr short vehicleTypesLargeTrucks = 504;
    static constexpr short vehicleTypesCranes = 505;
    static constexpr short vehicleTypesLowLoaders = 506;

    Detector() = default;
    Detector(const Detector&) = delete;
    Detector& operator=(const Detector&) = delete;
    virtual ~Detector() = default;

    // Called once when the run has ended, so that file-writing detectors close their files.
    virtual void finish() {}
    // Called by the lane when a vehicle's move passes `location`; `time` (s) is the end of the step.
    virtual void detect(Vehicle* vehicle, double time);
    virtual void openFiles() {}
    virtual void endInterval() {}
    virtual void resetInterval() {}

    // Advances the interval clock by one time step (s), before the step's vehicles move.
    void advance(double dt);

    // When the vehicle's front was at the detector (s), from its state after the move that passed
    // it; `time` is the end of that step, when the vehicle had that state.
    double passTime(const Vehicle& vehicle, double time) const;

    int getLocation() const { return location; }
    bool isDirectionPositive() const { return directionPositive; }
    short getKind() const { return kind; }
    int getIntervalCount() const { return intervalCount; }

    // The filter's and the direction's codes in the file names: "All", "Pos".
    std::string vehicleTypeName() const;
    std::string directionName() const;

    // Writes out what the detector's measurement files still buffer, then appends the paths of
    // those that could not be created or lost lines: the run must not pass for complete.
    virtual void collectLostFiles(std::vector<std::string>& /*paths*/) {}

protected:
    bool acceptsClass(short vehicleClass) const;
    std::string filePath(const std::string& fileName) const;

    short kind = 0;
    int roadLength = 0;  // m
    bool directionPositive = true;
    int location = 0;  // m from the start of the detector's direction
    int laneCount = 0;
    short vehicleTypes = vehicleTypesAll;
    double intervalClock = 0.0;  // s accumulated in the current interval
    double elapsed = 0.0;        // s advanced since the run started
    double interval = 0.0;       // s
    int intervalCount = 0;
    std::vector<Vehicle*> vehicles;  // captured in the current step, not owned
    std::string metricsDirectory = "C:\\Roadflux\\Metrics\\";
};
