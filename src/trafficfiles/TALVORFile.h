#pragma once
// Handler of TALVOR files, the default format: 77-character records with nine axle slots,
// weights in units of 100 kg.

#include "trafficfiles/FileHandler.h"

class TALVORFile : public FileHandler
{
public:
    TALVORFile(const std::string& inputFileName, const std::string& outputFileName)
        : FileHandler(talvorRecords, inputFileName, outputFileName)
    {
    }
};
