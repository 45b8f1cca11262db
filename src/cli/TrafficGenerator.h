#pragma once
// Writes a synthetic traffic file: independent arrival streams per lane, merged into one file
// in time order (the road releases strictly in file order), each vehicle of a class drawn from
// the mix with a layout typical of that class.

#include "cli/SyntheticRandom.h"
#include "cli/SyntheticVehicleFactory.h"
#include "cli/TrafficGeneratorSettings.h"

#include <cstdint>
#include <ostream>
#include <string>

class Vehicle;

class TrafficGenerator
{
public:
    explicit TrafficGenerator(const TrafficGeneratorSettings& settings);

    // Writes every record; returns how many vehicles were written.
    long long write(std::ostream& out);

private:
    struct LaneStream
    {
        int direction = 1;
        int fileLane = 1;
        double meanHeadwayS = 0.0;     // s
        std::int64_t nextArrival = 0;  // hundredths of a second after the start
    };

    std::int64_t headwayHundredths(double meanHeadwayS);
    short drawClass();
    void stampTime(Vehicle& vehicle, std::int64_t hundredthsAfterStart) const;
    std::string formatRecord(const Vehicle& vehicle) const;

    TrafficGeneratorSettings settings;
    SyntheticRandom random;
    SyntheticVehicleFactory factory;
};
