#include "engine/Sim.h"

#include <algorithm>
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
    ++steps;
    time = clockAt(steps);
    // The file is read whole while its last vehicles still have the road to drive: 100 % waits
    // for the step that ends the run.
    progress = running ? std::min(road.getProgress(), 99) : 100;
    lastTime = time;
    return lists;
}

// The steps an empty road would take one by one until the next vehicle is due, taken here with
// only what they change: the detectors' interval clocks and the clock itself.
bool Sim::carryClockOverEmptyRoad()
{
    const std::optional<double> due = road.nextArrivalTime();
    if (!due || road.getVehiclesOnRoad() > 0 || !(time < *due))
        return false;
    const std::int64_t jump = std::min(stepsUntil(*due), emptyStepsPerCall);
    road.advanceEmptySteps(timeStep, jump);
    steps += jump;
    time = clockAt(steps);
    lastTime = time;
    return time < *due;
}

// The clock is counted, not summed: a sum of millions of steps drifts below the true time, and a
// vehicle due exactly at a step's start would wait a step.
double Sim::clockAt(std::int64_t stepCount) const
{
    return startTime + static_cast<double>(stepCount) * timeStep;
}

// The steps from now until the clock first reaches `due`.
std::int64_t Sim::stepsUntil(double due) const
{
    const double estimate = std::ceil((due - startTime) / timeStep) - static_cast<double>(steps);
    // Far beyond any run (a stamp centuries ahead): carried over in several calls.
    if (!(estimate < static_cast<double>(emptyStepsPerCall)))
        return emptyStepsPerCall;
    std::int64_t count = std::max<std::int64_t>(0, static_cast<std::int64_t>(estimate));
    // The estimate's rounding, mended against the clock itself: a step or two at most.
    for (int mend = 0; mend < 4 && count > 0 && clockAt(steps + count - 1) >= due; ++mend)
        --count;
    for (int mend = 0; mend < 4 && clockAt(steps + count) < due; ++mend)
        ++count;
    return count;
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
