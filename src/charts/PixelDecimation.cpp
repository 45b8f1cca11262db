#include "charts/PixelDecimation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <unordered_set>

namespace PixelDecimation {

namespace {

bool isFinite(const QPointF& point)
{
    return std::isfinite(point.x()) && std::isfinite(point.y());
}

long long cellOf(double value, double pixel)
{
    return static_cast<long long>(std::floor(value / pixel));
}

// Per run of points in one column: the first, lowest, highest and last, in their order.
std::vector<QPointF> reduced(const std::vector<QPointF>& run, double pixel)
{
    std::vector<QPointF> kept;
    std::size_t first = 0;
    while (first < run.size())
    {
        const long long column = cellOf(run[first].x(), pixel);
        std::size_t end = first, lowest = first, highest = first;
        while (end < run.size() && cellOf(run[end].x(), pixel) == column)
        {
            if (run[end].y() < run[lowest].y())
                lowest = end;
            if (run[end].y() > run[highest].y())
                highest = end;
            ++end;
        }
        std::size_t picked[] = {first, std::min(lowest, highest), std::max(lowest, highest), end - 1};
        for (std::size_t i = 0; i < 4; ++i)
            if (i == 0 || picked[i] != picked[i - 1])
                kept.push_back(run[picked[i]]);
        first = end;
    }
    return kept;
}

// A run that stays within one pixel column: the vertical span it covers there.
struct Stroke
{
    double top;
    double bottom;
    std::size_t polyline;  // its index among the polylines while it stands alone
};

}  // namespace

std::vector<QPointF> markers(const std::vector<QPointF>& points, double pixel)
{
    std::unordered_set<std::uint64_t> taken;
    std::vector<QPointF> kept;
    for (const QPointF& point : points)
    {
        if (!isFinite(point))
            continue;
        // Two 32-bit cells in one key: pictures are far smaller than 2^32 pixels across.
        const auto column = static_cast<std::uint32_t>(cellOf(point.x(), pixel));
        const auto row = static_cast<std::uint32_t>(cellOf(point.y(), pixel));
        if (taken.insert((std::uint64_t{column} << 32) | row).second)
            kept.push_back(point);
    }
    return kept;
}

Line line(const std::vector<QPointF>& points, double pixel)
{
    Line result;
    std::map<long long, std::vector<Stroke>> strokes;  // by column
    std::vector<QPointF> run;
    auto closeRun = [&] {
        if (run.size() == 1)
            result.lonePoints.push_back(run.front());
        else if (run.size() > 1)
        {
            std::vector<QPointF> kept = reduced(run, pixel);
            const long long column = cellOf(kept.front().x(), pixel);
            const bool oneColumn = std::all_of(
                kept.begin(), kept.end(), [&](const QPointF& point) { return cellOf(point.x(), pixel) == column; });
            if (oneColumn)
            {
                auto [low, high] = std::minmax_element(
                    kept.begin(), kept.end(), [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
                strokes[column].push_back({low->y(), high->y(), result.polylines.size()});
            }
            result.polylines.push_back(std::move(kept));
        }
        run.clear();
    };
    for (const QPointF& point : points)
    {
        if (isFinite(point))
            run.push_back(point);
        else
            closeRun();
    }
    closeRun();

    // Strokes of one column less than a pixel apart are drawn as one; a stroke alone keeps its
    // own polyline.
    std::vector<bool> merged(result.polylines.size(), false);
    std::vector<std::vector<QPointF>> joined;
    for (auto& [column, inColumn] : strokes)
    {
        if (inColumn.size() < 2)
            continue;
        std::sort(inColumn.begin(), inColumn.end(), [](const Stroke& a, const Stroke& b) { return a.top < b.top; });
        const double middle = (static_cast<double>(column) + 0.5) * pixel;
        std::size_t first = 0;
        while (first < inColumn.size())
        {
            std::size_t end = first + 1;
            double bottom = inColumn[first].bottom;
            while (end < inColumn.size() && inColumn[end].top < bottom + pixel)
                bottom = std::max(bottom, inColumn[end++].bottom);
            if (end - first > 1)
            {
                for (std::size_t i = first; i < end; ++i)
                    merged[inColumn[i].polyline] = true;
                // A stroke of no height still needs a length to be drawn.
                const double top = inColumn[first].top;
                const double lift = bottom - top < pixel / 2 ? pixel / 4 : 0.0;
                joined.push_back({QPointF(middle, top - lift), QPointF(middle, bottom + lift)});
            }
            first = end;
        }
    }
    if (!joined.empty())
    {
        std::vector<std::vector<QPointF>> kept;
        for (std::size_t i = 0; i < result.polylines.size(); ++i)
            if (!merged[i])
                kept.push_back(std::move(result.polylines[i]));
        kept.insert(kept.end(), std::make_move_iterator(joined.begin()), std::make_move_iterator(joined.end()));
        result.polylines = std::move(kept);
    }
    result.lonePoints = markers(result.lonePoints, pixel);
    return result;
}

}  // namespace PixelDecimation
