#include "loadeffects/InfluenceLine.h"

#include <algorithm>
#include <utility>

InfluenceLine::InfluenceLine(Shape lineShape, double spanLength, std::vector<Point> linePoints)
    : shape(lineShape), span(spanLength), points(std::move(linePoints))
{
}

InfluenceLine InfluenceLine::midspanMoment(double span)
{
    return table({{0.0, 0.0}, {span / 2.0, span / 4.0}, {span, 0.0}});
}

InfluenceLine InfluenceLine::supportShear(double span)
{
    return table({{0.0, 1.0}, {span, 0.0}});
}

InfluenceLine InfluenceLine::continuousSupportMoment(double span)
{
    return InfluenceLine(Shape::twoSpanSupportMoment, span, {});
}

InfluenceLine InfluenceLine::table(std::vector<Point> points)
{
    return InfluenceLine(Shape::table, 0.0, std::move(points));
}

double InfluenceLine::ordinate(double distance) const
{
    return shape == Shape::table ? tableOrdinate(distance) : twoSpanOrdinate(distance);
}

double InfluenceLine::tableOrdinate(double distance) const
{
    if (points.empty() || distance < points.front().distance || distance > points.back().distance)
        return 0.0;
    const auto above = std::upper_bound(points.begin(), points.end(), distance,
                                        [](double d, const Point& point) { return d < point.distance; });
    if (above == points.end())
        return points.back().ordinate;
    const Point& left = *(above - 1);
    const Point& right = *above;
    return left.ordinate +
           (distance - left.distance) * (right.ordinate - left.ordinate) / (right.distance - left.distance);
}

// A load at a from the outer support of either span: M = a (L² − a²) / (4 L²), from the
// three-moment equation with both outer supports free of moment.
double InfluenceLine::twoSpanOrdinate(double distance) const
{
    if (distance < 0.0 || distance > 2.0 * span)
        return 0.0;
    const double a = distance <= span ? distance : 2.0 * span - distance;
    return a * (span * span - a * a) / (4.0 * span * span);
}
