#pragma once
// Handler of DoRIV files: 152-character records with twenty axle slots, weights in units of
// 100 kg, directions counted from 0.

#include "trafficfiles/FileHandler.h"

class DORIVFile : public FileHandler
{
public:
    DORIVFile(const std::string& inputFileName, const std::string& outputFileName)
        : FileHandler(dorivRecords, inputFileName, outputFileName)
    {
    }
};
