#pragma once
// One lane's space-time diagram as a fixed grid of cells: columns of simulated time, rows of
// position. Each cell keeps the sum of the speeds drawn into it and how many, so its mean speed
// can be shown; a cell nothing passed through is empty. Five bytes a cell.

#include "recorders/ZeroedBlock.h"

#include <cstdint>
#include <memory>

class SpaceTimeRaster
{
public:
    static constexpr std::size_t bytesPerCell = sizeof(float) + sizeof(std::uint8_t);

    // With cells of its own.
    SpaceTimeRaster(int columns, int rows);
    // With cells in zeroed memory that the caller owns and keeps: columns x rows speed sums and
    // as many counts.
    SpaceTimeRaster(int columns, int rows, float* speedSums, std::uint8_t* hitCounts);

    int getColumns() const { return columns; }
    int getRows() const { return rows; }

    // Cells outside the grid are ignored.
    void add(int column, int row, float speed)
    {
        if (!contains(column, row))
            return;
        const std::size_t cell = indexOf(column, row);
        // A full count is halved with its sum: the mean stays, the newest speeds weigh more.
        // (A cell fills only where vehicles stand for long in one place.)
        if (hitCounts[cell] == maximumHits)
        {
            hitCounts[cell] = maximumHits / 2;
            speedSums[cell] *= static_cast<float>(maximumHits / 2) / maximumHits;
        }
        speedSums[cell] += speed;
        ++hitCounts[cell];
    }

    // Mean speed (m/s) drawn into a cell; NaN when the cell is empty.
    float meanSpeed(int column, int row) const;
    // Sum of speeds (m/s) and count of a cell, to merge lanes; 0 and 0 outside the grid.
    float speedSum(int column, int row) const;
    std::uint32_t hits(int column, int row) const;

    // Merges each pair of columns into one, leaving the right half empty: the grid then covers
    // twice the time at half the resolution.
    void halveTimeResolution();

private:
    static constexpr std::uint8_t maximumHits = 0xFF;

    bool contains(int column, int row) const { return column >= 0 && column < columns && row >= 0 && row < rows; }
    // Column-major: one snapshot's vehicles all fall into one column, which then stays in cache.
    std::size_t indexOf(int column, int row) const
    {
        return static_cast<std::size_t>(column) * static_cast<std::size_t>(rows) + static_cast<std::size_t>(row);
    }

    std::size_t cellCount() const { return static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows); }

    int columns;
    int rows;
    std::unique_ptr<ZeroedBlock> ownCells;  // null when the caller owns them
    float* speedSums;                       // m/s
    std::uint8_t* hitCounts;
};
