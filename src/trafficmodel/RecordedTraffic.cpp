#include "trafficmodel/RecordedTraffic.h"

#include "config/CConfigData.h"
#include "trafficfiles/RecordFormat.h"
#include "trafficmodel/TrafficModel.h"
#include "trafficmodel/TrafficModelError.h"
#include "vehicles/Truck.h"

namespace {
// Records in a lane's file may be a little out of order where lanes are merged; more than this
// back is a file not sorted by time, whose gaps would mean nothing.
constexpr double toleratedStepBackS = 60.0;
constexpr int highestLane = 9;

bool outsideCalendar(const Vehicle& v)
{
    return v.year < 0 || v.month < 1 || v.month > theConfigData.monthsPerYear || v.day < 1 ||
           v.day > theConfigData.daysPerMonth || v.hour < 0 || v.hour > 23 || v.minute < 0 || v.minute > 59 ||
           v.second < 0 || v.second > 59 || v.hundredths < 0 || v.hundredths > 99;
}
}

const char* RecordedTraffic::formatName(std::uint16_t code)
{
    return code == vork ? "VORK" : code == doriv ? "DoRIV" : "TALVOR";
}

std::optional<std::uint16_t> RecordedTraffic::formatNamed(const std::string& name)
{
    for (std::uint16_t code : {vork, talvor, doriv})
        if (name == formatName(code))
            return code;
    return std::nullopt;
}

RecordedTraffic::RecordedTraffic(const std::string& filePath, std::optional<std::uint16_t> chosen) : path(filePath)
{
    reader = std::make_unique<LineReader>(path);
    if (!reader->isOpen())
        throw TrafficModelError(path + ": the traffic file cannot be read (" + reader->error() + ")");
    if (chosen)
    {
        format = *chosen;
        return;
    }
    // The three formats' records have lengths no other has: 77 and 152 characters, or 33 + 5
    // per axle (35 without axles) for VORK.
    LineReader peek(path);
    const std::size_t length = peek.nextLine().size();
    if (length == 77)
        format = talvor;
    else if (length == 152)
        format = doriv;
    else if (length >= 35 && length <= 33 + 5 * 9 && ((length - 33) % 5 == 0 || length == 35))
        format = vork;
    else if (length == 0)
        throw TrafficModelError(path + ": line 1: the traffic file is empty or starts with an empty line");
    else
        throw TrafficModelError(path + ": line 1: a record of " + std::to_string(length) +
                                " characters is neither TALVOR (77), DoRIV (152) nor VORK (33 + 5 per axle): "
                                "name the format with --format");
}

void RecordedTraffic::refuse(long long lineNumber, const std::string& what) const
{
    throw TrafficModelError(path + ": line " + std::to_string(lineNumber) + ": " + what);
}

std::size_t RecordedTraffic::shortestRecord(int axles) const
{
    if (format == vork)
        return axles <= 0 ? 35 : static_cast<std::size_t>(33 + 5 * axles);
    if (format == doriv)
        return static_cast<std::size_t>(35 + 6 * axles - 3);
    return static_cast<std::size_t>(34 + 5 * axles - 2);
}

bool RecordedTraffic::next(RecordedVehicle& out)
{
    for (;;)
    {
        const std::string_view text = reader->nextLine();
        ++line;
        if (text.empty())
        {
            if (reader->atEnd())
                return false;
            // Spaces or line ends only up to the end are a harmless tail; a record after the
            // empty line would be cut off without a word.
            const long long emptyLine = line;
            for (std::string_view rest = reader->nextLine(); !reader->atEnd() || !rest.empty();
                 rest = reader->nextLine())
                if (rest.find_first_not_of(" \t") != std::string_view::npos)
                    refuse(emptyLine, "an empty line with records after it (a traffic file ends at its first "
                                      "empty line): remove the line");
            return false;
        }
        Truck vehicle;
        if (format == vork)
            readVORK(vehicle, text);
        else if (format == doriv)
            readDORIV(vehicle, text);
        else
            readTALVOR(vehicle, text);
        if (vehicle.axleCount <= 0)
        {
            if (skippedWithoutAxles++ == 0)
                firstSkipped = line;
            continue;
        }
        if (vehicle.axleCount > TrafficModel::largestAxleCount)
            refuse(line, std::to_string(vehicle.axleCount) + " axles, more than 20");
        if (text.size() < shortestRecord(vehicle.axleCount))
            refuse(line, "the record has " + std::to_string(text.size()) + " characters, too few for its " +
                             std::to_string(vehicle.axleCount) + " axles in " + formatName(format) + " (at least " +
                             std::to_string(shortestRecord(vehicle.axleCount)) + ")");
        if (outsideCalendar(vehicle))
            refuse(line, "the time stamp is not a time of the files' calendar (" +
                             std::to_string(theConfigData.monthsPerYear) + " months of " +
                             std::to_string(theConfigData.daysPerMonth) + " days)");
        if (vehicle.direction != 1 && vehicle.direction != 2)
            refuse(line, "direction " + std::to_string(vehicle.direction) + ": 1 or 2 expected");
        if (vehicle.lane < 1 || vehicle.lane > highestLane)
            refuse(line, "lane " + std::to_string(vehicle.lane) + ": 1 to 9 expected");
        const double time = vehicle.getTime();
        if (previousTime >= 0.0 && time < previousTime - toleratedStepBackS)
            refuse(line, "the time stamp is more than a minute before the one of the record above: the file "
                         "must be in time order");
        previousTime = std::max(previousTime, time);

        out.line = line;
        out.time = time;
        out.direction = vehicle.direction;
        out.lane = vehicle.lane;
        out.vehicleClass = vehicle.classify();
        out.speed = vehicle.velocity;
        out.gvw = vehicle.gvw;
        out.length = vehicle.length;
        out.spacings.clear();
        out.axleWeights.clear();
        for (int i = 0; i < vehicle.axleCount; ++i)
        {
            out.axleWeights.push_back(vehicle.getAxleWeight(i));
            if (i + 1 < vehicle.axleCount)
                out.spacings.push_back(vehicle.getAxleSpacing(i));
        }
        return true;
    }
}
