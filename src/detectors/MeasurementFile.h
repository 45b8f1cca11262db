#pragma once
// One comma-separated measurement file, written a whole line at a time so that a file closed at
// any moment (end of run, stopped run) or a full disk never leaves half a line. A file that
// could not be created, or lost lines, says so, for the run to report.

#include "trafficfiles/LineWriter.h"

#include <memory>
#include <string>
#include <string_view>

class MeasurementFile
{
public:
    MeasurementFile() = default;
    MeasurementFile(const MeasurementFile&) = delete;
    MeasurementFile& operator=(const MeasurementFile&) = delete;
    ~MeasurementFile();

    // The file `fileName` inside `folder`. A trailing "/" or "\" on the folder is accepted (studies
    // written on Windows end it with a backslash); an empty folder means the current directory.
    static std::string pathInFolder(const std::string& folder, const std::string& fileName);

    // Creates or truncates the file. When it cannot be created, or another open measurement file
    // already writes to the same path, the file stays unwritten, every later call does nothing
    // and the file counts as lost.
    void open(const std::string& path);
    // Writes what is buffered and closes the file.
    void close();
    bool isOpen() const { return writer != nullptr; }

    // True once the file was asked for and could not be created, or refused a line (a full
    // disk): it does not hold everything the run wrote to it. Kept after close().
    bool hasLostLines() const;
    // The path given to open(), for a message.
    const std::string& getPath() const { return givenPath; }

    // Append to the pending line.
    MeasurementFile& text(std::string_view cells);
    MeasurementFile& integer(long long value);
    // General notation with 6 significant digits, independent of the locale. A value that is not
    // finite (a lane without vehicles has a speed of 0/0) is written as an empty cell, which
    // spreadsheet programs and CSV readers take as a missing number.
    MeasurementFile& real(double value);
    // A time in s: as `real`, but with as many digits as keep hundredths of a second, because the
    // simulation clock counts from the traffic files' year 0 and six digits would round its
    // times to hundreds of seconds. Times below 10⁴ s are written exactly as `real` writes them.
    MeasurementFile& seconds(double value);

    // Ends the pending line with a line feed and writes it whole.
    void endLine();
    // Hands the lines written so far to the file.
    void flush();
    // The same at the end of an interval, so that a reader sees each interval as it ends;
    // held while a HeldFlushes exists.
    void flushAtIntervalEnd();

    // While one exists, interval ends do not flush; the lines reach the file at the next
    // interval end after it, or at close. Carrying the clock over empty road ends thousands of
    // intervals a second, and a write for each would cost more than the rest of the run.
    class HeldFlushes
    {
    public:
        HeldFlushes();
        ~HeldFlushes();
        HeldFlushes(const HeldFlushes&) = delete;
        HeldFlushes& operator=(const HeldFlushes&) = delete;
    };

private:
    MeasurementFile& general(double value, int significantDigits);

    std::unique_ptr<LineWriter> writer;
    std::string path;  // normalised, as held in the paths in use
    std::string givenPath;
    std::string line;
    bool lost = false;
};
