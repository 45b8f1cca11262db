#pragma once
// Reads the vehicles of a run from its input traffic file and writes the vehicles that pass the
// output detectors to its output traffic file, in the same record format. One subclass names
// each format; one handler serves one run.

#include "trafficfiles/LineReader.h"
#include "trafficfiles/LineWriter.h"
#include "trafficfiles/RecordFormat.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class Vehicle;

class FileHandler
{
public:
    // Opens the input and counts its lines, then creates (or empties) the output. An output
    // that names the input file itself is not opened, so the input is never destroyed.
    FileHandler(const RecordFormat& format, const std::string& inputFileName, const std::string& outputFileName);

    // Appends one record for the vehicle; the vehicle is unchanged and stays the caller's.
    virtual void writeVehicle(Vehicle* vehicle);
    // The next vehicle, owned by the caller; null once the input has ended (at the end of the
    // file or at its first empty line) and on every call after that.
    virtual std::unique_ptr<Vehicle> readNextVehicle();
    // Writes the records still buffered and closes both files.
    virtual ~FileHandler() = default;

    FileHandler(const FileHandler&) = delete;
    FileHandler& operator=(const FileHandler&) = delete;

    // `count` calls of readNextVehicle(), nulls included.
    std::vector<std::unique_ptr<Vehicle>> readVehicles(int count);

    // Share of the input's lines read so far, in percent, rounded half up; 0 for an empty file.
    int getPercentRead() const;

    // Hands every record written so far to the output file; false when any record was lost.
    // The destructor flushes too, but cannot report a failure.
    bool flushOutput() { return output.flush(); }
    // True once a record could not be written: the output file could not be created or
    // refused a write (a full disk).
    bool writeFailed() const { return output.failed(); }
    bool isOutputOpen() const { return output.isOpen(); }

private:
    // The next line of the input, or an empty view once the input has ended.
    std::string_view nextRecord();
    // The object a reader fills for the record nextRecord() just gave: a Car or a Truck that
    // remembers the record's line.
    std::unique_ptr<Vehicle> newVehicle(bool isCar) const;

    const RecordFormat& format;
    std::string record;  // reused for every record written
    int carMaxGVW;       // units of 100 kg
    LineReader input;
    LineWriter output;
    long long recordsRead = 0;
    long long lineCount = 0;
    bool inputEnded = false;
};
