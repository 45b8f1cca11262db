#pragma once
// One direction of travel: owns its lanes, output detector, statistics detectors and road
// segments, links each lane to its neighbours, and every step advances the detectors' clocks,
// updates the lanes in index order and has the output detector write what it caught.

#include "engine/Lane.h"

#include <cstdint>
#include <vector>

class Detector;
class OutputDetector;
class RoadSegment;
class Vehicle;

class Direction
{
public:
    Direction() = default;
    ~Direction();
    Direction(const Direction&) = delete;
    Direction& operator=(const Direction&) = delete;

    // Takes ownership of the output detector.
    void configure(bool direction1, OutputDetector* detector, bool changesAllowed, bool carsToOutput,
                   int roadLength, bool rightHandTraffic);
    // Takes ownership of the detectors and segments; one lane per entry of laneLengths (m).
    void buildLanes(int firstLaneIndex, const std::vector<int>& laneLengths,
                    const std::vector<Detector*>& directionDetectors,
                    const std::vector<RoadSegment*>& directionSegments);

    // True when every lane was empty as its update began.
    bool update(double dt, double time);
    void advanceDetectors(double dt);

    int getLaneCount() const { return laneCountInDirection; }
    Lane* getLane(int localIndex) { return &lanes.at(static_cast<std::size_t>(localIndex)); }
    const Lane* getLane(int localIndex) const { return &lanes.at(static_cast<std::size_t>(localIndex)); }
    OutputDetector* getOutputDetector() const { return outputDetector; }

    // One copy per lane of its vehicles, front-most first.
    std::vector<std::vector<Vehicle*>> getVehicles() const;
    // As getVehicles, after giving direction-2 vehicles their road x for drawing.
    std::vector<std::vector<Vehicle*>> getVehiclesForDisplay();
    // The same lists written into out[firstSlot...], reusing their storage: no allocation per step.
    void fillVehiclesForDisplay(std::vector<std::vector<Vehicle*>>& out, std::size_t firstSlot);

    int getVehicleCount() const;
    std::int64_t getOutputRecordCount() const;

    // Deletes vehicles, detectors, segments and the output detector; ready to configure again.
    void reset();

private:
    void linkNeighbours();
    void setDisplayPositions();

    bool drivesOnRight = true;
    bool laneChangesAllowed = false;
    bool outputCars = false;
    double length = 0.0;  // m
    bool isDirection1 = true;
    int laneCountInDirection = 0;
    OutputDetector* outputDetector = nullptr;
    std::vector<Lane> lanes;
    std::vector<Detector*> detectors;
    std::vector<RoadSegment*> segments;
};
