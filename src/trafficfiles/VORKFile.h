#pragma once
// Handler of VORK files: zero-filled records that grow with the axle count, weights in kN,
// every vehicle in direction 1, lane 1.

#include "trafficfiles/FileHandler.h"

class VORKFile : public FileHandler
{
public:
    VORKFile(const std::string& inputFileName, const std::string& outputFileName)
        : FileHandler(vorkRecords, inputFileName, outputFileName)
    {
    }
};
