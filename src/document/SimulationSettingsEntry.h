#pragma once
// The simulation settings as the user entered them, before they are taken into a study: the
// members of the simulation configuration dialog, and the options of the runner's new command.

#include <string>

struct SimulationSettingsEntry
{
    static constexpr int noSelection = -1;

    std::string inputFileName;
    std::string outputFileName;
    int roadLength = 3000;  // m
    int timeStepMs = 100;   // ms
    int lanesDir1 = 2;      // 0 to 4, or noSelection
    int lanesDir2 = 1;
    int fileLanesDir1 = 2;
    int fileLanesDir2 = 1;
    int outputDetectorLocation1 = 2500;  // m, road x
    int outputDetectorLocation2 = 2500;  // m, road x
};
