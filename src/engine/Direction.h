#pragma once
// One direction of travel: owns its lanes and its output detector, links each lane to its
// neighbours, and every step advances the statistics detectors' clocks, updates the lanes in
// index order and has the output detector write what it caught.

#include "engine/Lane.h"

#include <cstdint>
#include <memory>
#include <vector>

class Detector;
class OutputDetector;
class RoadSegment;
class Vehicle;

class Direction
{
public:
    Direction();
    ~Direction();
    Direction(const Direction&) = delete;
    Direction& operator=(const Direction&) = delete;

    void configure(bool direction1, std::unique_ptr<OutputDetector> detector, bool changesAllowed, bool carsToOutput,
                   int roadLength, bool rightHandTraffic);
    // One lane per entry of laneLengths (m). The statistics detectors and segments stay the
    // caller's and must outlive the lanes, that is until reset.
    void buildLanes(int firstLaneIndex, const std::vector<int>& laneLengths,
                    const std::vector<Detector*>& directionDetectors,
                    const std::vector<RoadSegment*>& directionSegments);

    // True when every lane was empty as its update began.
    bool update(double dt, double time);
    void advanceDetectors(double dt);

    int getLaneCount() const { return static_cast<int>(lanes.size()); }
    Lane* getLane(int localIndex) { return lanes.at(static_cast<std::size_t>(localIndex)).get(); }
    const Lane* getLane(int localIndex) const { return lanes.at(static_cast<std::size_t>(localIndex)).get(); }
    OutputDetector* getOutputDetector() const { return outputDetector.get(); }

    // Each lane's vehicles, front-most first, written into out[firstSlot...]; reuses the lists'
    // storage.
    void fillVehiclesForDisplay(std::vector<std::vector<Vehicle*>>& out, std::size_t firstSlot);

    int getVehicleCount() const;
    std::int64_t getOutputRecordCount() const;

    // Deletes the lanes with their vehicles and the output detector, and forgets the borrowed
    // detectors and segments; ready to configure again.
    void reset();

private:
    void linkNeighbours();

    bool drivesOnRight = true;
    bool laneChangesAllowed = false;
    bool outputCars = false;
    double length = 0.0;  // m
    bool isDirection1 = true;
    std::unique_ptr<OutputDetector> outputDetector;
    std::vector<std::unique_ptr<Lane>> lanes;
    std::vector<Detector*> detectors;
    std::vector<RoadSegment*> segments;
};
