#include "document/TrafficFileSurvey.h"

#include "config/CConfigData.h"
#include "trafficfiles/LineReader.h"
#include "trafficfiles/RecordFormat.h"
#include "vehicles/Truck.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace {
constexpr std::uint16_t vorkCode = 100;
constexpr std::uint16_t dorivCode = 102;

// The columns before the axle data: a record shorter than this lacks whole fields.
std::size_t fixedColumns(std::uint16_t format)
{
    if (format == vorkCode)
        return 35;
    if (format == dorivCode)
        return 35;
    return 34;
}

std::string stampText(const Vehicle& v)
{
    char text[96];
    std::snprintf(text, sizeof text, "year %d, month %d, day %d, %02d:%02d:%02d.%02d", v.year, v.month, v.day, v.hour,
                  v.minute, v.second, v.hundredths);
    return text;
}

std::string gapText(double seconds)
{
    const double day = 86400.0;
    const double year = day * std::max(1, theConfigData.daysPerMonth) * std::max(1, theConfigData.monthsPerYear);
    char text[64];
    if (seconds >= 2.0 * year)
        std::snprintf(text, sizeof text, "%.0f years", seconds / year);
    else if (seconds >= 2.0 * day)
        std::snprintf(text, sizeof text, "%.0f days", seconds / day);
    else
        std::snprintf(text, sizeof text, "%.1f hours", seconds / 3600.0);
    return text;
}

bool outsideCalendar(const Vehicle& v)
{
    return v.year < 0 || v.month < 1 || v.month > theConfigData.monthsPerYear || v.day < 1 ||
           v.day > theConfigData.daysPerMonth || v.hour < 0 || v.hour > 23 || v.minute < 0 || v.minute > 59 ||
           v.second < 0 || v.second > 59 || v.hundredths < 0 || v.hundredths > 99;
}

const char* findingSummary(TrafficFileSurvey::Finding finding)
{
    switch (finding)
    {
    case TrafficFileSurvey::Finding::tooShort:
        return "records too short for the format (their missing fields read as 0)";
    case TrafficFileSurvey::Finding::laneNotOnRoad: return "vehicles skipped: their lane is not on this road";
    case TrafficFileSurvey::Finding::stampOutsideCalendar: return "time stamps outside the calendar";
    case TrafficFileSurvey::Finding::stampOutOfOrder:
        return "time stamps earlier than the one before (vehicles are released in file order)";
    case TrafficFileSurvey::Finding::stampFarAhead:
        return "time stamps more than a day after the one before (the run steps through the empty time)";
    }
    return "";
}
}

TrafficFileSurvey::TrafficFileSurvey(const std::string& path, std::uint16_t formatCode, const LaneMapping& mapping)
    : format(formatCode), lanes(mapping)
{
    survey(path);
}

void TrafficFileSurvey::survey(const std::string& path)
{
    LineReader reader(path);
    Truck vehicle;
    long long lineNumber = 0;
    for (;;)
    {
        const std::string_view line = reader.nextLine();
        if (line.empty() && reader.atEnd())
            return;
        ++lineNumber;
        if (line.empty())
        {
            endingLine = lineNumber;
            break;
        }
        checkRecord(lineNumber, line, vehicle);
    }
    // What follows the empty line is never read by the run: only measured, for the message.
    const long long endOfInput = reader.bytesRead();
    while (!(reader.nextLine().empty() && reader.atEnd()))
        ++linesLeft;
    bytesLeft = reader.bytesRead() - endOfInput;
}

void TrafficFileSurvey::readRecord(Vehicle& vehicle, std::string_view line) const
{
    if (format == vorkCode)
        readVORK(vehicle, line);
    else if (format == dorivCode)
        readDORIV(vehicle, line);
    else
        readTALVOR(vehicle, line);
}

void TrafficFileSurvey::checkRecord(long long lineNumber, std::string_view line, Vehicle& vehicle)
{
    ++records;
    readRecord(vehicle, line);
    if (line.size() < fixedColumns(format))
        note(Finding::tooShort, lineNumber,
             "the record has " + std::to_string(line.size()) + " characters, fewer than the " +
                 std::to_string(fixedColumns(format)) + " of its fixed fields");
    checkStamp(lineNumber, vehicle);
    const bool positive = vehicle.isDirectionPositive();
    const int lane = lanes.roadLane(positive, vehicle.getLane());
    if (lanes.isOnRoad(positive, lane))
        ++usableVehicles;
    else
        note(Finding::laneNotOnRoad, lineNumber,
             "direction " + std::to_string(vehicle.getDirection()) + ", lane " + std::to_string(vehicle.getLane()) +
                 ": no such lane on this road; the vehicle is skipped");
}

void TrafficFileSurvey::checkStamp(long long lineNumber, const Vehicle& vehicle)
{
    const double time = vehicle.getTime();
    if (outsideCalendar(vehicle))
        note(Finding::stampOutsideCalendar, lineNumber,
             "time stamp " + stampText(vehicle) + " is outside the calendar");
    if (hasPrevious && time < previousTime)
        note(Finding::stampOutOfOrder, lineNumber,
             "time stamp " + stampText(vehicle) +
                 " is earlier than the one before it; vehicles are released in file order");
    else if (hasPrevious && time - previousTime > longestQuietGap)
        note(Finding::stampFarAhead, lineNumber,
             "time stamp " + stampText(vehicle) + " is " + gapText(time - previousTime) +
                 " after the one before it; the run steps through that empty time");
    hasPrevious = true;
    previousTime = time;
}

void TrafficFileSurvey::note(Finding finding, long long lineNumber, std::string text)
{
    ++counts[static_cast<std::size_t>(finding)];
    if (listed.size() < findingsListed)
        listed.push_back(Listed{lineNumber, std::move(text)});
}

std::vector<std::string> TrafficFileSurvey::report() const
{
    std::vector<std::string> lines;
    for (const Listed& finding : listed)
        lines.push_back("line " + std::to_string(finding.line) + ": " + finding.text);
    long long total = 0;
    for (long long count : counts)
        total += count;
    if (total > static_cast<long long>(listed.size()))
        for (std::size_t kind = 0; kind < findingKinds; ++kind)
            if (counts[kind] > 0)
                lines.push_back("in all: " + std::to_string(counts[kind]) + " " +
                                findingSummary(static_cast<Finding>(kind)));
    if (endingLine > 0)
        lines.push_back("line " + std::to_string(endingLine) + " is empty: the input ends there; the " +
                        std::to_string(linesLeft) + " lines (" + std::to_string(bytesLeft) +
                        " bytes) after it are not read");
    return lines;
}
