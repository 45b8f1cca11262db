#pragma once
// Handler of TALVOR files, the default format: 77-character records with nine axle slots,
// weights in units of 100 kg.

#include "trafficfiles/FileHandler.h"

#include <cstddef>

class TALVORFile : public FileHandler
{
public:
    TALVORFile(const std::string& inputFileName, const std::string& outputFileName);

    void writeVehicle(Vehicle* vehicle) override;
    Vehicle* readNextVehicle() override;

    // The GVW column, read unconverted to choose between a Car and a Truck object.
    static constexpr std::size_t gvwColumn = 21;
    static constexpr std::size_t gvwWidth = 4;
};
