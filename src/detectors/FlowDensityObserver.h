#pragma once
// Hears each completed interval of a flow-and-density detector with the figures its file gets,
// for a program that shows them while the run goes. A detector without one pays a null check
// per interval.

#include <span>

class MetricsDetector;

// One group of a flow-and-density row: a lane, or the totals.
struct FlowDensityFigures
{
    double density = 0.0;  // veh/km
    double flow = 0.0;     // veh/h
    double speed = 0.0;    // km/h, not a number when no vehicle passed
};

class FlowDensityObserver
{
public:
    virtual ~FlowDensityObserver() = default;

    // `interval` counts from 1; it ended `interval` × the detector's interval after the run's
    // start. `groups` holds the lanes of the detector's direction, then the totals; it is valid
    // during the call only.
    virtual void intervalEnded(const MetricsDetector& detector, int interval,
                               std::span<const FlowDensityFigures> groups) = 0;
};
