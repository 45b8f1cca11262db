#pragma once
// Handler of VORK files: zero-filled records that grow with the axle count, weights in kN,
// every vehicle in direction 1, lane 1.

#include "trafficfiles/FileHandler.h"

#include <cstddef>

class VORKFile : public FileHandler
{
public:
    VORKFile(const std::string& inputFileName, const std::string& outputFileName);

    void writeVehicle(Vehicle* vehicle) override;
    Vehicle* readNextVehicle() override;

    // The GVW column, read unconverted to choose between a Car and a Truck object.
    static constexpr std::size_t gvwColumn = 27;
    static constexpr std::size_t gvwWidth = 4;
};
