#include "recorders/TrajectoryRecorder.h"

#include "recorders/TrajectorySink.h"
#include "vehicles/Vehicle.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

TrajectoryRecorder::TrajectoryRecorder(double start, double intervalSeconds)
    : startTime(start), interval(intervalSeconds), previousTime(start)
{
    if (!isUsableInterval(intervalSeconds))
        throw std::invalid_argument("the trajectory interval must be a positive number of seconds");
}

bool TrajectoryRecorder::isUsableInterval(double seconds)
{
    return seconds > 0.0 && std::isfinite(seconds);
}

void TrajectoryRecorder::addSink(TrajectorySink& sink)
{
    sinks.push_back(&sink);
}

bool TrajectoryRecorder::isDue(double time, double tolerance) const
{
    return time >= startTime + static_cast<double>(nextIndex) * interval - tolerance;
}

bool TrajectoryRecorder::observe(double time, const std::vector<std::vector<Vehicle*>>& lanes)
{
    // Half a step of slack: the clock adds the step up and drifts off the grid by rounding.
    const double step = time - previousTime;
    const double tolerance = 0.5 * std::min(step > 0.0 ? step : 0.0, interval);
    previousTime = time;
    if (!isDue(time, tolerance))
        return false;
    takeSnapshot(time, lanes);
    nextIndex = static_cast<std::int64_t>(std::floor((time + tolerance - startTime) / interval)) + 1;
    return true;
}

void TrajectoryRecorder::takeSnapshot(double time, const std::vector<std::vector<Vehicle*>>& lanes)
{
    buffer.clear();
    for (const std::vector<Vehicle*>& lane : lanes)
        for (const Vehicle* v : lane)
        {
            TrajectorySample& sample = buffer.emplace_back();
            sample.time = time;
            sample.direction = v->isDirectionPositive() ? 1 : 2;
            sample.lane = v->getLane();
            sample.position = v->getPosition();
            sample.velocity = v->getVelocity();
            sample.acceleration = stepLength > 0.0 ? v->getStepAcceleration(stepLength) : v->getAcceleration();
            sample.vehicleClass = v->getClass();
            sample.vehicle = v->inputLine;
        }
    ++snapshots;
    for (TrajectorySink* sink : sinks)
        sink->addSnapshot(time, buffer);
}
