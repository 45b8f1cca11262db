#pragma once
// What sets one traffic-file format apart: how a vehicle is read from and written to one of its
// records, and which column a handler reads to choose the vehicle object.

#include <cstddef>
#include <string>
#include <string_view>

class Vehicle;

struct RecordFormat
{
    // Replaces the vehicle's record fields with those of the line.
    void (*read)(Vehicle& vehicle, std::string_view line);
    // Replaces out with the vehicle's record, without line ending.
    void (*write)(const Vehicle& vehicle, std::string& out);
    // The GVW column, read unconverted to choose between a Car and a Truck object.
    std::size_t gvwColumn;
    std::size_t gvwWidth;
    // A Car object is made when the configured car limit (100 kg) times this factor is above
    // the GVW column's integer.
    double carLimitFactor;
};

extern const RecordFormat talvorRecords;
extern const RecordFormat vorkRecords;
extern const RecordFormat dorivRecords;

void readTALVOR(Vehicle& vehicle, std::string_view line);
void writeTALVOR(const Vehicle& vehicle, std::string& out);
void readVORK(Vehicle& vehicle, std::string_view line);
void writeVORK(const Vehicle& vehicle, std::string& out);
void readDORIV(Vehicle& vehicle, std::string_view line);
void writeDORIV(const Vehicle& vehicle, std::string& out);
