#include "detectors/MetricsDetector.h"

#include "config/Trace.h"
#include "outputfiles/FileLayouts.h"
#include "outputfiles/MeasurementFileName.h"
#include "vehicles/Vehicle.h"

#include <algorithm>
#include <limits>

MetricsDetector::MetricsDetector(const std::string& folder, short detectorKind, bool positive, int lanes, short types,
                                 int intervalSeconds, int locationOnDirection, int length)
{
    metricsDirectory = folder;
    kind = detectorKind;
    directionPositive = positive;
    laneCount = std::max(lanes, 0);
    vehicleTypes = types;
    interval = intervalSeconds;
    location = locationOnDirection;
    roadLength = length;

    std::size_t laneSlots = static_cast<std::size_t>(laneCount);
    counts.assign(laneSlots, 0);
    inverseSpeedSums.assign(laneSlots, 0.0);
    headways.assign(laneSlots, {});
    lastPassTime.assign(laneSlots, 0.0);
    // Sized once, so that the rows reuse it.
    rowFigures.assign(laneSlots + 1, {});
    openFiles();
}

std::string MetricsDetector::fileName() const
{
    int roadX = directionPositive ? location : roadLength - location;
    return fileNameFor(kind, vehicleTypes, directionPositive, roadX);
}

std::string MetricsDetector::fileNameFor(short detectorKind, short types, bool positive, int roadX)
{
    const auto filter = static_cast<std::uint16_t>(types);
    MeasurementKind fileKind = MeasurementKind::flowDensity;
    if (detectorKind == kindHeadway)
        fileKind = MeasurementKind::headway;
    else if (detectorKind == kindComposition)
        fileKind = MeasurementKind::composition;
    if (fileKind == MeasurementKind::composition && !::writesComposition(filter))
        return "";
    return MeasurementFileName::ofPointDetector(fileKind, filter, positive, roadX).text();
}

bool MetricsDetector::writesComposition() const
{
    return ::writesComposition(static_cast<std::uint16_t>(vehicleTypes));
}

void MetricsDetector::writeHeader(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        file.text(line).endLine();
}

void MetricsDetector::collectLostFiles(std::vector<std::string>& paths)
{
    file.flush();
    if (file.hasLostLines())
        paths.push_back(file.getPath());
}

void MetricsDetector::openFiles()
{
    if (kind == kindComposition && !writesComposition())
        return;
    file.open(filePath(fileName()));
    if (kind == kindHeadway)
        writeHeader(FileLayouts::headwayHeader(laneCount));
    else if (kind == kindComposition)
        writeHeader(FileLayouts::compositionHeader());
    else
        writeHeader(FileLayouts::flowDensityHeader(laneCount));
}

void MetricsDetector::detect(Vehicle* vehicle, double time)
{
    if (vehicle != nullptr && acceptsClass(vehicle->getClass()))
        record(*vehicle, time);
}

void MetricsDetector::record(const Vehicle& vehicle, double time)
{
    int lane = vehicle.getLaneInDirection() - 1;
    if (lane < 0 || lane >= laneCount)
    {
        debugTrace("** Detector: lane %d outside %d lanes\n", lane + 1, laneCount);
        return;
    }
    std::size_t n = static_cast<std::size_t>(lane);
    if (kind == kindFlowDensity)
    {
        ++counts[n];
        inverseSpeedSums[n] += 1.0 / vehicle.getVelocity();
    }
    else if (kind == kindHeadway)
    {
        double t = passTime(vehicle, time);
        headways[n].push_back(t - lastPassTime[n]);
        lastPassTime[n] = t;
    }
    else if (kind == kindComposition && writesComposition())
    {
        short vehicleClass = vehicle.getClass();
        ++classCounts[vehicleClass >= 0 && vehicleClass <= 4 ? static_cast<std::size_t>(vehicleClass) : 0];
    }
}

void MetricsDetector::endInterval()
{
    if (kind == kindHeadway)
        writeHeadwayRows();
    else if (kind == kindComposition)
    {
        if (writesComposition())
            writeCompositionRow();
    }
    else
        writeFlowDensityRow();
    file.flushAtIntervalEnd();
    resetInterval();
}

void MetricsDetector::resetInterval()
{
    classCounts.fill(0);
    std::fill(counts.begin(), counts.end(), 0);
    std::fill(inverseSpeedSums.begin(), inverseSpeedSums.end(), 0.0);
    for (std::vector<double>& laneHeadways : headways)
        laneHeadways.clear();
}

void MetricsDetector::finish()
{
    file.close();
}

void MetricsDetector::writeFlowDensityRow()
{
    constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
    double flowPerVehicle = 3600.0 / interval;  // veh/h contributed by one vehicle
    FlowDensityFigures& totals = rowFigures.back();
    totals = {};
    double speedSum = 0.0;
    file.integer(intervalCount);
    for (std::size_t n = 0; n < counts.size(); ++n)
    {
        FlowDensityFigures& lane = rowFigures[n];
        lane.flow = counts[n] * flowPerVehicle;                                           // veh/h
        lane.speed = counts[n] > 0 ? 3.6 * counts[n] / inverseSpeedSums[n] : notANumber;  // km/h
        lane.density = lane.flow / lane.speed;                                            // veh/km
        file.text(",").real(lane.density).text(",").real(lane.flow).text(",").real(lane.speed);
        totals.density += lane.density;
        totals.flow += lane.flow;
        speedSum += lane.speed;
    }
    totals.speed = laneCount > 0 ? speedSum / laneCount : notANumber;
    file.text(",").real(totals.density).text(",").real(totals.flow).text(",").real(totals.speed).endLine();
    if (observer != nullptr)
        observer->intervalEnded(*this, intervalCount, rowFigures);
}

void MetricsDetector::writeHeadwayRows()
{
    std::size_t rows = 0;
    for (const std::vector<double>& laneHeadways : headways)
        rows = std::max(rows, laneHeadways.size());
    for (std::size_t r = 0; r < rows; ++r)
    {
        for (std::size_t lane = 0; lane < headways.size(); ++lane)
        {
            if (lane > 0)
                file.text(",");
            if (r < headways[lane].size())
                file.real(headways[lane][r]);
            else
                file.text(" ");
        }
        file.endLine();
    }
}

void MetricsDetector::writeCompositionRow()
{
    for (std::size_t vehicleClass = 0; vehicleClass < classCounts.size(); ++vehicleClass)
    {
        if (vehicleClass > 0)
            file.text(",");
        file.integer(classCounts[vehicleClass]);
    }
    file.endLine();
}
