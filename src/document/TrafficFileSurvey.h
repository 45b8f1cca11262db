#pragma once
// A first reading of a run's input traffic file, before anything is written: whether any
// vehicle can drive on the road, and what would otherwise reshape the run without a word: an
// empty line that ends the input early, time stamps out of order, outside the calendar or far
// after the one before, records too short for their format, vehicles whose lane is not on the
// road. It reads the file line by line as the run does, in memory that does not grow with it.

#include "engine/LaneMapping.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class Vehicle;

class TrafficFileSurvey
{
public:
    enum class Finding
    {
        tooShort,
        laneNotOnRoad,
        stampOutsideCalendar,
        stampOutOfOrder,
        stampFarAhead,
    };
    static constexpr std::size_t findingKinds = 5;
    // Stamps further apart than this make the run step through empty road.
    static constexpr double longestQuietGap = 86400.0;  // s
    // Findings told line by line; the rest are only counted.
    static constexpr std::size_t findingsListed = 10;

    // formatCode: 100 VORK, 101 TALVOR, 102 DoRIV.
    TrafficFileSurvey(const std::string& path, std::uint16_t formatCode, const LaneMapping& lanes);

    // Records the run would release, up to the end of its input.
    long long getUsableVehicles() const { return usableVehicles; }
    long long getRecords() const { return records; }
    long long getCount(Finding finding) const { return counts[static_cast<std::size_t>(finding)]; }
    // The line of the empty line that ends the input early, or 0.
    long long getEndingLine() const { return endingLine; }

    // What the user should know before the run, as lines of text; empty for a clean file.
    std::vector<std::string> report() const;

private:
    struct Listed
    {
        long long line;
        std::string text;
    };

    void survey(const std::string& path);
    void readRecord(Vehicle& vehicle, std::string_view line) const;
    void checkRecord(long long lineNumber, std::string_view line, Vehicle& vehicle);
    void checkStamp(long long lineNumber, const Vehicle& vehicle);
    void note(Finding finding, long long lineNumber, std::string text);

    std::uint16_t format;
    LaneMapping lanes;
    long long records = 0;
    long long usableVehicles = 0;
    long long endingLine = 0;
    long long linesLeft = 0;
    long long bytesLeft = 0;
    bool hasPrevious = false;
    double previousTime = 0.0;  // s
    std::array<long long, findingKinds> counts{};
    std::vector<Listed> listed;
};
