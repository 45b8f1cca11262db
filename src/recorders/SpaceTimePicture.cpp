#include "recorders/SpaceTimePicture.h"

#include <limits>

float SpaceTimePicture::speedAt(int column, int row) const
{
    if (column < 0 || column >= columns || row < 0 || row >= rows)
        return std::numeric_limits<float>::quiet_NaN();
    std::size_t index =
        static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column);
    return index < speeds.size() ? speeds[index] : std::numeric_limits<float>::quiet_NaN();
}
