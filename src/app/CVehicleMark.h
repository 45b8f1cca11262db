#pragma once
// What a frame draws of one vehicle: where its front is, which band it drives in, its size,
// speed and class.

class Vehicle;

struct CVehicleMark
{
    bool directionPositive = true;
    int lane = 1;           // road-wide lane number, from 1
    double roadX = 0.0;     // m, front of the vehicle on the road's x axis
    double length = 0.0;    // m
    double velocity = 0.0;  // m/s
    int vehicleClass = 0;

    static CVehicleMark of(const Vehicle& vehicle);
};
