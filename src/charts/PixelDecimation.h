#pragma once
// Reduces the points of a dense series, given in pixels, to what a picture of them can show:
// one marker per pixel, and per pixel column of a line only its first, lowest, highest and last
// point. Nothing that shows is lost: an outlier keeps its pixel.

#include <QPointF>

#include <vector>

namespace PixelDecimation {

// The first point of each pixel (a square `pixel` wide), in their order; points with a missing
// coordinate are left out.
std::vector<QPointF> markers(const std::vector<QPointF>& points, double pixel = 1.0);

// A line broken where a point has a missing coordinate: the polylines to draw (each of two points
// or more) and the lone points between gaps, which show only as markers.
struct Line
{
    std::vector<std::vector<QPointF>> polylines;
    std::vector<QPointF> lonePoints;
};
// Within a run of points, consecutive points in one pixel column become its first, lowest,
// highest and last. Short runs that stay within one column and overlap there (a line with many
// gaps) become one vertical stroke through the column's middle.
Line line(const std::vector<QPointF>& points, double pixel = 1.0);

}  // namespace PixelDecimation
