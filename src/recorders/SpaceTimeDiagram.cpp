#include "recorders/SpaceTimeDiagram.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {
constexpr double minimumRoadLength = 1.0;  // m, keeps the rows finite for a road set up badly
constexpr int maximumLanesPerDirection = 9;
// A grid side beyond this is a mistake, not a wish for detail: it would not fit in memory.
constexpr int maximumCells = 1 << 14;
}

SpaceTimeDiagram::SpaceTimeDiagram(const Layout& layout)
    : roadLength(std::isfinite(layout.roadLength) ? std::max(layout.roadLength, minimumRoadLength) : minimumRoadLength),
      lanesDir1(std::clamp(layout.lanesDir1, 0, maximumLanesPerDirection)),
      lanesDir2(std::clamp(layout.lanesDir2, 0, maximumLanesPerDirection)), startTime(layout.startTime),
      secondsPerColumn(layout.secondsPerColumn > 0.0 && std::isfinite(layout.secondsPerColumn) ? layout.secondsPerColumn
                                                                                               : 1.0),
      columns(std::clamp(layout.columns, 1, maximumCells)), rows(std::clamp(layout.rows, 1, maximumCells)),
      endTime(layout.startTime)
{
    metresPerRow = roadLength / rows;
    rowsPerMetre = rows / roadLength;
    columnsPerSecond = 1.0 / secondsPerColumn;
}

int SpaceTimeDiagram::getDirectionOfLane(int laneNumber) const
{
    if (laneNumber >= 1 && laneNumber <= lanesDir1)
        return 1;
    if (laneNumber > lanesDir1 && laneNumber <= lanesDir1 + lanesDir2)
        return 2;
    return 0;
}

int SpaceTimeDiagram::getUsedColumns() const
{
    if (!cells)
        return 0;
    const double column = std::floor(columnAt(endTime));
    return static_cast<int>(std::clamp(column + 1.0, 0.0, static_cast<double>(columns)));
}

void SpaceTimeDiagram::makeRasters()
{
    const auto lanes = static_cast<std::size_t>(getLaneCount());
    const std::size_t cellsPerLane = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
    cells = std::make_unique<ZeroedBlock>(lanes * cellsPerLane * SpaceTimeRaster::bytesPerCell);
    auto* sums = static_cast<float*>(cells->data());
    auto* hits = reinterpret_cast<std::uint8_t*>(sums + lanes * cellsPerLane);
    rasters.reserve(lanes);
    for (std::size_t lane = 0; lane < lanes; ++lane)
        rasters.emplace_back(columns, rows, sums + lane * cellsPerLane, hits + lane * cellsPerLane);
}

SpaceTimeRaster* SpaceTimeDiagram::rasterOf(int laneNumber)
{
    if (getDirectionOfLane(laneNumber) == 0 || rasters.empty())
        return nullptr;
    return &rasters[static_cast<std::size_t>(laneNumber - 1)];
}

const SpaceTimeRaster* SpaceTimeDiagram::rasterOf(int laneNumber) const
{
    if (getDirectionOfLane(laneNumber) == 0 || rasters.empty())
        return nullptr;
    return &rasters[static_cast<std::size_t>(laneNumber - 1)];
}

void SpaceTimeDiagram::fitTime(double time)
{
    while (columnAt(time) >= columns)
    {
        for (SpaceTimeRaster& raster : rasters)
            raster.halveTimeResolution();
        secondsPerColumn *= 2.0;
        columnsPerSecond = 1.0 / secondsPerColumn;
    }
}

void SpaceTimeDiagram::addSnapshot(double time, std::span<const TrajectorySample> samples)
{
    if (!std::isfinite(time) || time <= previousTime || time < startTime)
        return;
    if (!cells)
        makeRasters();
    fitTime(time);
    endTime = time;
    currentEnds.clear();
    bool displaced = false;
    for (const TrajectorySample& sample : samples)
    {
        SpaceTimeRaster* raster = rasterOf(sample.lane);
        if (!raster)
            continue;
        const auto speed = static_cast<float>(sample.velocity);
        maximumSpeed = std::max(maximumSpeed, speed);
        const PathEnds::End* before = sample.vehicle != 0 ? pathEnds.find(sample.vehicle, previousTime) : nullptr;
        // A path is drawn within a lane; a lane change starts it afresh in the new lane.
        if (before && before->lane == sample.lane)
            drawLine(*raster, *before, time, sample.position, speed);
        else
            drawPoint(*raster, time, sample.position, speed);
        if (sample.vehicle != 0)
        {
            const PathEnds::End end{sample.vehicle, time, sample.position, speed, sample.lane};
            currentEnds.push_back(end);
            displaced = !pathEnds.store(end) || displaced;
        }
    }
    if (displaced)
        pathEnds.grow(currentEnds);
    previousTime = time;
}

void SpaceTimeDiagram::drawPoint(SpaceTimeRaster& raster, double time, double position, float speed)
{
    if (position < 0.0 || position >= roadLength)
        return;
    raster.add(static_cast<int>(columnAt(time)), static_cast<int>(rowAt(position)), speed);
}

// The cells from the last sample's (left out: it was drawn then) to this one's, one per step of
// the longer axis, with the speed interpolated along the way. Rows beyond the road's end fall
// outside the grid and are left out.
void SpaceTimeDiagram::drawLine(SpaceTimeRaster& raster, const PathEnds::End& from, double time, double position,
                                float speed)
{
    const double c0 = columnAt(from.time);
    const double r0 = rowAt(from.position);
    const double c1 = columnAt(time);
    const double r1 = rowAt(position);
    // Truncation is the floor here: times and positions on the road are not negative.
    const auto cellOf = [](double x) { return static_cast<long long>(std::max(x, 0.0)); };
    const long long cellsCrossed = std::max(std::abs(cellOf(c1) - cellOf(c0)), std::abs(cellOf(r1) - cellOf(r0)));
    if (cellsCrossed < 1)
    {
        drawPoint(raster, time, position, speed);
        return;
    }
    const auto steps = static_cast<int>(std::min<long long>(cellsCrossed, columns + rows));
    const double columnStep = (c1 - c0) / steps;
    const double rowStep = (r1 - r0) / steps;
    const float speedStep = (speed - from.speed) / static_cast<float>(steps);
    for (int k = 1; k <= steps; ++k)
    {
        const double row = r0 + rowStep * k;
        if (row >= 0.0)
            raster.add(static_cast<int>(c0 + columnStep * k), static_cast<int>(row),
                       from.speed + speedStep * static_cast<float>(k));
    }
}

float SpaceTimeDiagram::meanSpeed(int laneNumber, int column, int row) const
{
    const SpaceTimeRaster* raster = rasterOf(laneNumber);
    return raster ? raster->meanSpeed(column, row) : std::numeric_limits<float>::quiet_NaN();
}

std::vector<float> SpaceTimeDiagram::speedImage(const std::vector<int>& laneNumbers) const
{
    std::vector<const SpaceTimeRaster*> selected;
    for (int lane : laneNumbers)
        if (const SpaceTimeRaster* raster = rasterOf(lane))
            selected.push_back(raster);
    std::vector<float> image(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns),
                             std::numeric_limits<float>::quiet_NaN());
    for (int column = 0; column < columns; ++column)
        for (int row = 0; row < rows; ++row)
        {
            float sum = 0.0f;
            std::uint32_t hits = 0;
            for (const SpaceTimeRaster* raster : selected)
            {
                sum += raster->speedSum(column, row);
                hits += raster->hits(column, row);
            }
            if (hits > 0)
                image[static_cast<std::size_t>(row) * columns + column] = sum / static_cast<float>(hits);
        }
    return image;
}

SpaceTimePicture SpaceTimeDiagram::picture(const std::vector<int>& laneNumbers) const
{
    SpaceTimePicture picture;
    // Columns beyond the run's last sample hold nothing yet.
    picture.columns = getUsedColumns();
    picture.rows = getRows();
    picture.startTime = getStartTime();
    picture.secondsPerColumn = getSecondsPerColumn();
    picture.metresPerRow = getMetresPerRow();
    picture.maximumSpeed = getMaximumSpeed();
    std::vector<float> all = speedImage(laneNumbers);
    auto fullWidth = static_cast<std::size_t>(getColumns());
    auto used = static_cast<std::size_t>(picture.columns);
    picture.speeds.reserve(used * static_cast<std::size_t>(picture.rows));
    for (std::size_t row = 0; row < static_cast<std::size_t>(picture.rows); ++row)
        picture.speeds.insert(picture.speeds.end(), all.begin() + static_cast<std::ptrdiff_t>(row * fullWidth),
                              all.begin() + static_cast<std::ptrdiff_t>(row * fullWidth + used));
    return picture;
}

SpaceTimeSource SpaceTimeDiagram::sourceOf(std::shared_ptr<const SpaceTimeDiagram> diagram)
{
    SpaceTimeSource source;
    for (int lane = 1; lane <= diagram->getLaneCount(); ++lane)
        source.lanes.push_back({lane, diagram->getDirectionOfLane(lane)});
    source.runStart = diagram->getStartTime();
    source.picture = [diagram](const std::vector<int>& laneNumbers) { return diagram->picture(laneNumbers); };
    return source;
}
