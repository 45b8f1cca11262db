#pragma once
// What a synthetic traffic file should hold: its format, length in time, lanes and flows per
// direction, class mix and the seed that makes it repeatable.

#include <array>
#include <cstdint>

struct TrafficGeneratorSettings
{
    unsigned short fileFormat = 101;  // 100 VORK, 101 TALVOR, 102 DoRIV
    double durationS = 1800.0;        // s of traffic
    double startS = 8.0 * 3600.0;     // s on the files' calendar of the first possible arrival
    int lanesDir1 = 2;
    int lanesDir2 = 2;
    double flowDir1 = 600.0;  // vehicles per hour in each lane of direction 1
    double flowDir2 = 600.0;  // vehicles per hour in each lane of direction 2
    // Relative shares of Car, Small Truck, Large Truck, Crane and Low-loader.
    std::array<double, 5> classShares{80.0, 8.0, 8.0, 2.0, 2.0};
    std::uint32_t seed = 1;
};
