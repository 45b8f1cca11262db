#include "recorders/SpaceTimeRaster.h"

#include <algorithm>
#include <limits>

SpaceTimeRaster::SpaceTimeRaster(int columnCount, int rowCount)
    : columns(columnCount > 0 ? columnCount : 1), rows(rowCount > 0 ? rowCount : 1),
      ownCells(std::make_unique<ZeroedBlock>(cellCount() * bytesPerCell)),
      speedSums(static_cast<float*>(ownCells->data())),
      hitCounts(reinterpret_cast<std::uint8_t*>(speedSums + cellCount()))
{
}

SpaceTimeRaster::SpaceTimeRaster(int columnCount, int rowCount, float* sums, std::uint8_t* counts)
    : columns(columnCount > 0 ? columnCount : 1), rows(rowCount > 0 ? rowCount : 1), speedSums(sums), hitCounts(counts)
{
}

float SpaceTimeRaster::meanSpeed(int column, int row) const
{
    if (!contains(column, row) || hitCounts[indexOf(column, row)] == 0)
        return std::numeric_limits<float>::quiet_NaN();
    const std::size_t cell = indexOf(column, row);
    return speedSums[cell] / static_cast<float>(hitCounts[cell]);
}

float SpaceTimeRaster::speedSum(int column, int row) const
{
    return contains(column, row) ? speedSums[indexOf(column, row)] : 0.0f;
}

std::uint32_t SpaceTimeRaster::hits(int column, int row) const
{
    return contains(column, row) ? hitCounts[indexOf(column, row)] : 0u;
}

void SpaceTimeRaster::halveTimeResolution()
{
    const auto height = static_cast<std::size_t>(rows);
    const auto width = static_cast<std::size_t>(columns);
    // Column c takes columns 2c and 2c + 1; both lie at or beyond c, so nothing is read after
    // it was overwritten. A last odd column moves alone.
    for (std::size_t column = 0; 2 * column < width; ++column)
    {
        const std::size_t left = 2 * column * height;
        const std::size_t right = 2 * column + 1 < width ? left + height : left;
        const float rightShare = right != left ? 1.0f : 0.0f;
        const std::uint32_t rightCount = right != left ? 1u : 0u;
        const std::size_t target = column * height;
        for (std::size_t row = 0; row < height; ++row)
        {
            float sum = speedSums[left + row] + rightShare * speedSums[right + row];
            std::uint32_t count = hitCounts[left + row] + rightCount * hitCounts[right + row];
            // Two full cells make one that would overflow: halving both keeps the mean.
            if (count > maximumHits)
            {
                sum *= static_cast<float>(count / 2) / static_cast<float>(count);
                count /= 2;
            }
            speedSums[target + row] = sum;
            hitCounts[target + row] = static_cast<std::uint8_t>(count);
        }
    }
    const std::size_t kept = (width + 1) / 2 * height;
    std::fill(speedSums + kept, speedSums + cellCount(), 0.0f);
    std::fill(hitCounts + kept, hitCounts + cellCount(), std::uint8_t{0});
}
