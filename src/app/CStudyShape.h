#pragma once
// The study values that decide the road's drawn geometry and the run's step length.

struct CStudyShape
{
    bool drivesOnRight = true;
    int roadLength = 3000;  // m
    int lanesDir1 = 2;      // lanes towards positive x
    int lanesDir2 = 1;      // lanes towards negative x
    int totalLanes = 3;
    int numDirections = 2;
    double timeStep = 0.1;  // s
};
