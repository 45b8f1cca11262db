#pragma once
// Streams trajectory snapshots as CSV rows "time,direction,lane,position,velocity,acceleration,
// class,vehicle" (s, 1|2, road-wide lane from 1, m in the direction's own coordinate, m/s, m/s²,
// class code 0 to 4, 1-based input line), three decimals for the reals. Rows are handed to the
// stream in chunks of some 64 kB: memory does not grow with the run.

#include "recorders/TrajectorySink.h"

#include <iosfwd>
#include <string>

class TrajectoryCsvWriter : public TrajectorySink
{
public:
    static constexpr const char* header = "time,direction,lane,position,velocity,acceleration,class,vehicle";

    // Writes the header line at once.
    explicit TrajectoryCsvWriter(std::ostream& out);

    void addSnapshot(double time, std::span<const TrajectorySample> samples) override;
    // Hands the rows still held to the stream; call before closing it.
    void flush();

    std::int64_t getRowCount() const { return rows; }

private:
    std::ostream& out;
    std::string text;  // rows not yet handed to the stream
    std::int64_t rows = 0;
};
