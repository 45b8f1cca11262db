#pragma once
// One vehicle as a trajectory sample saw it: where it was, how fast, in which lane, at the end of
// a sampled step.

struct TrajectorySample
{
    double time = 0.0;          // s, the clock at the end of the sampled step
    int direction = 1;          // 1 towards positive road x, 2 towards negative
    int lane = 1;               // road-wide lane number from 1, as the traffic files number lanes
    double position = 0.0;      // m, the vehicle's front from the start of its own direction
    double velocity = 0.0;      // m/s
    double acceleration = 0.0;  // m/s², of the sampled step
    short vehicleClass = 0;     // 0 Car, 1 Small Truck, 2 Large Truck, 3 Crane, 4 Low-loader
    long long vehicle = 0;      // 1-based line of its record in the input traffic file; 0 unknown
};
