#include "engine/Sim.h"

#include <cmath>

void Sim::setRoadLength(int metres)
{
    roadLength = metres;
    road.setLength(metres);
}

void Sim::initialise()
{
    road.setNumDirections(numDirections);
    road.setTotalLanes(totalLanes);
    road.setLanesDir1(lanesDir1);
    road.setLanesDir2(lanesDir2);
    road.setLength(roadLength);
    road.openTrafficFiles(inputFileName, outputFileName, fileFormat);
    time = road.initialise();
    progress = road.getProgress();
    startTime = time;
    lastTime = time;
    steps = 0;
}

const std::vector<std::vector<Vehicle*>>& Sim::step(bool& running)
{
    // Without a positive step the clock and the vehicles would never move: the run cannot go on.
    if (!(timeStep > 0.0 && std::isfinite(timeStep)))
    {
        running = false;
        return road.getLastVehicles();
    }
    if (carriesClockOverEmptyRoad && carryClockOverEmptyRoad())
        return road.getVehicles();
    road.releaseVehicles(timeStep, time);
    if (road.update(timeStep, time))
        running = false;
    const std::vector<std::vector<Vehicle*>>& lists = road.getVehicles();
    time += timeStep;
    progress = road.getProgress();
    ++steps;
    lastTime = time;
    return lists;
}

// The steps an empty road would take one by one until the next vehicle is due, taken here with
// only what they change: the detectors' interval clocks and the clock itself.
bool Sim::carryClockOverEmptyRoad()
{
    const std::optional<double> due = road.nextArrivalTime();
    if (!due || road.getVehiclesOnRoad() > 0)
        return false;
    steps += road.advanceEmptySteps(timeStep, time, *due, emptyStepsPerCall);
    lastTime = time;
    return time < *due;
}

void Sim::reset()
{
    time = 0.0;
    road.reset();
    heldForRun.clear();
}

RunStatistics Sim::getStatistics() const
{
    RunStatistics statistics;
    statistics.steps = steps;
    statistics.vehiclesReleased = road.getVehiclesReleased();
    statistics.recordsWritten = road.getRecordsWritten();
    statistics.vehicleSteps = road.getVehicleSteps();
    statistics.skippedVehicles = road.getSkippedVehicles();
    statistics.startTime = startTime;
    statistics.currentTime = lastTime;
    statistics.percentRead = progress;
    statistics.outputWriteFailed = road.hasOutputWriteFailed();
    statistics.lostMeasurementFiles = road.getLostMeasurementFiles();
    statistics.releaseDelays = road.getReleaseDelays();
    statistics.gaps = road.getGapFigures();
    return statistics;
}
