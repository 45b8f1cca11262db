#include "detectors/LaneChangeDetector.h"

#include "outputfiles/FileLayouts.h"
#include "outputfiles/MeasurementFileName.h"
#include "outputfiles/MeasurementKind.h"

#include <algorithm>

namespace {

const char* eventClassName(short vehicleClass)
{
    switch (vehicleClass)
    {
    case 0: return "Car";
    case 1: return "SmallTr";
    case 2: return "LargeTr";
    case 3: return "Crane";
    case 4: return "Lowload";
    default: return "";
    }
}

}  // namespace

LaneChangeDetector::LaneChangeDetector(const std::string& folder, double intervalSeconds, int step, int length,
                                       bool positive, short types)
{
    metricsDirectory = folder;
    kind = kindLaneChange;
    interval = intervalSeconds;
    roadLength = length;
    directionPositive = positive;
    vehicleTypes = types;

    // A step of 0 or less would never reach the road's end.
    locationStep = step > 0 ? step : std::max(length, 1);
    for (long long bin = 0; bin < roadLength; bin += locationStep)
        binLocations.push_back(static_cast<int>(bin));
    binLocations.push_back(roadLength);
    binCounts.assign(binLocations.size(), 0);
    openFiles();
}

bool LaneChangeDetector::writesComposition() const
{
    return ::writesComposition(static_cast<std::uint16_t>(vehicleTypes));
}

std::string LaneChangeDetector::filePathOf(MeasurementKind fileKind) const
{
    return filePath(
        MeasurementFileName::ofLaneChanges(fileKind, static_cast<std::uint16_t>(vehicleTypes), directionPositive)
            .text());
}

std::vector<std::string> LaneChangeDetector::fileNamesFor(short types, bool positive)
{
    std::vector<std::string> names;
    for (const MeasurementFileName& name : laneChangeFiles(static_cast<std::uint16_t>(types), positive))
        names.push_back(name.text());
    return names;
}

void LaneChangeDetector::collectLostFiles(std::vector<std::string>& paths)
{
    for (MeasurementFile* file : {&allFile, &compositionFile, &spaceTimeFile, &rateFile})
    {
        file->flush();
        if (file->hasLostLines())
            paths.push_back(file->getPath());
    }
}

void LaneChangeDetector::openFiles()
{
    const auto writeHeader = [](MeasurementFile& file, const std::vector<std::string>& lines) {
        for (const std::string& line : lines)
            file.text(line).endLine();
    };
    allFile.open(filePathOf(MeasurementKind::laneChangeEvents));
    writeHeader(allFile, FileLayouts::laneChangeEventsHeader());
    if (writesComposition())
    {
        compositionFile.open(filePathOf(MeasurementKind::laneChangeComposition));
        writeHeader(compositionFile, FileLayouts::laneChangeCompositionHeader());
    }
    spaceTimeFile.open(filePathOf(MeasurementKind::laneChangeSpaceTime));
    writeHeader(spaceTimeFile, FileLayouts::laneChangeSpaceTimeHeader());
    rateFile.open(filePathOf(MeasurementKind::laneChangeRates));
    writeHeader(rateFile, FileLayouts::laneChangeRatesHeader(binLocations));
}

void LaneChangeDetector::record(const LaneChangeEvent& event)
{
    if (!acceptsClass(event.getVehicleClass()))
        return;
    events.push_back(event);
    ++eventCount;
}

void LaneChangeDetector::endInterval()
{
    writeEvents();
    writeComposition();
    writeSpaceTime();
    writeRates();
    allFile.flushAtIntervalEnd();
    compositionFile.flushAtIntervalEnd();
    spaceTimeFile.flushAtIntervalEnd();
    rateFile.flushAtIntervalEnd();
    resetInterval();
}

void LaneChangeDetector::resetInterval()
{
    eventCount = 0;
    std::fill(binCounts.begin(), binCounts.end(), 0);
    events.clear();
}

void LaneChangeDetector::finish()
{
    allFile.close();
    compositionFile.close();
    spaceTimeFile.close();
    rateFile.close();
}

void LaneChangeDetector::writeEvents()
{
    for (const LaneChangeEvent& event : events)
    {
        allFile.seconds(event.getTime()).text(" ,").integer(event.getLocation()).text(" ,");
        allFile.integer(event.getFromLane()).text(" ,").integer(event.getToLane()).text(" ,");
        allFile.text(event.isToLeft() ? "Left" : "Right").text(" ,").text(eventClassName(event.getVehicleClass()));
        allFile.endLine();
    }
}

void LaneChangeDetector::writeComposition()
{
    if (!writesComposition())
        return;
    int perClass[5] = {};
    for (const LaneChangeEvent& event : events)
    {
        short vehicleClass = event.getVehicleClass();
        ++perClass[vehicleClass >= 0 && vehicleClass <= 4 ? vehicleClass : 0];
    }
    compositionFile.seconds(elapsed);
    for (int changes : perClass)
        compositionFile.text(",").integer(changes);
    compositionFile.endLine();
}

void LaneChangeDetector::writeSpaceTime()
{
    for (const LaneChangeEvent& event : events)
    {
        // Changes to the left go under "Right To Left", in the third and fourth columns.
        if (event.isToLeft())
            spaceTimeFile.text(",,");
        spaceTimeFile.seconds(event.getTime()).text(",").real(event.getLocation()).endLine();
    }
}

std::size_t LaneChangeDetector::binOf(int eventLocation) const
{
    auto beyond = std::upper_bound(binLocations.begin(), binLocations.end(), eventLocation);
    // A change at or beyond the road's end (the vehicle is still on the road up to 10 m past
    // it) belongs to the last stretch of road.
    if (beyond == binLocations.end())
        return binLocations.size() - 1;
    return static_cast<std::size_t>(beyond - binLocations.begin());
}

void LaneChangeDetector::writeRates()
{
    for (const LaneChangeEvent& event : events)
        ++binCounts[binOf(event.getLocation())];
    double kilometreHours = (locationStep / 1000.0) * (interval / 3600.0);
    rateFile.seconds(elapsed);
    for (int changes : binCounts)
        rateFile.text(",").real(changes / kilometreHours);
    rateFile.endLine();
}
