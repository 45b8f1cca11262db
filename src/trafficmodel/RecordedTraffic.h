#pragma once
// The vehicles of a recorded traffic file read one at a time for fitting, in memory that does
// not grow with the file. Records a model cannot use are refused with the file and line named;
// records without axles are passed over and counted.

#include "trafficfiles/LineReader.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct RecordedVehicle
{
    long long line = 0;  // from 1
    double time = 0.0;   // s on the files' calendar
    int direction = 1;
    int lane = 1;
    int vehicleClass = 0;
    double speed = 0.0;               // m/s
    double gvw = 0.0;                 // kN
    double length = 0.0;              // m
    std::vector<double> spacings;     // m, axles − 1 of them
    std::vector<double> axleWeights;  // kN
};

class RecordedTraffic
{
public:
    static constexpr std::uint16_t vork = 100;
    static constexpr std::uint16_t talvor = 101;
    static constexpr std::uint16_t doriv = 102;
    static const char* formatName(std::uint16_t code);
    static std::optional<std::uint16_t> formatNamed(const std::string& name);

    // Opens the file; without a format, tells it from the length of the first record. Throws
    // TrafficModelError when the file cannot be read or its format told.
    RecordedTraffic(const std::string& path, std::optional<std::uint16_t> format);

    std::uint16_t getFormat() const { return format; }
    // The next vehicle; false at the end. Throws TrafficModelError naming the line of a record
    // that is not usable (a time stamp off the calendar or going back, no such direction or lane,
    // fields missing, an empty line with records after it).
    bool next(RecordedVehicle& vehicle);

    long long withoutAxles() const { return skippedWithoutAxles; }
    long long firstWithoutAxles() const { return firstSkipped; }

private:
    [[noreturn]] void refuse(long long line, const std::string& what) const;
    std::size_t shortestRecord(int axles) const;

    std::string path;
    std::unique_ptr<LineReader> reader;
    std::uint16_t format = talvor;
    long long line = 0;
    double previousTime = -1.0;
    long long skippedWithoutAxles = 0;
    long long firstSkipped = 0;
};
