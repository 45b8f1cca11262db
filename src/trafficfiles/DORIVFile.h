#pragma once
// Handler of DoRIV files: 152-character records with twenty axle slots, weights in units of
// 100 kg, directions counted from 0.

#include "trafficfiles/FileHandler.h"

#include <cstddef>

class DORIVFile : public FileHandler
{
public:
    DORIVFile(const std::string& inputFileName, const std::string& outputFileName);

    void writeVehicle(Vehicle* vehicle) override;
    Vehicle* readNextVehicle() override;

    // The GVW column, read unconverted to choose between a Car and a Truck object.
    static constexpr std::size_t gvwColumn = 21;
    static constexpr std::size_t gvwWidth = 4;
};
