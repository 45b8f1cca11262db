#pragma once
// Where a trajectory recorder hands its snapshots: every vehicle on the road at one sampled step.

#include "recorders/TrajectorySample.h"

#include <span>

class TrajectorySink
{
public:
    virtual ~TrajectorySink() = default;

    // One sampled step: `time` (s) is the clock at its end; the samples are lane by lane, each
    // lane front-most first, and valid only during the call.
    virtual void addSnapshot(double time, std::span<const TrajectorySample> samples) = 0;
};
