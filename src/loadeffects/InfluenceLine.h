#pragma once
// The load effect of a 1 kN load at each distance (m) from a bridge's start: an axle on the
// bridge adds its weight times the ordinate there. Zero outside the line's extent.

#include <vector>

class InfluenceLine
{
public:
    struct Point
    {
        double distance;  // m from the bridge's start
        double ordinate;  // effect per kN
    };

    // Simply supported span (m): bending moment at mid-span (kN m per kN).
    static InfluenceLine midspanMoment(double span);
    // Simply supported span (m): reaction at the support where the bridge starts (kN per kN).
    static InfluenceLine supportShear(double span);
    // Two equal spans (m each): hogging moment over the middle support, counted positive (kN m
    // per kN), from the closed form for a point load on a two-span continuous beam.
    static InfluenceLine continuousSupportMoment(double span);
    // Linear between the points, zero outside them. Distances must rise strictly (the reader
    // checks); a built-in that is piecewise linear is such a table, so a file with the same
    // points gives identical results.
    static InfluenceLine table(std::vector<Point> points);

    double ordinate(double distance) const;

private:
    enum class Shape
    {
        table,
        twoSpanSupportMoment,
    };

    InfluenceLine(Shape shape, double span, std::vector<Point> points);
    double tableOrdinate(double distance) const;
    double twoSpanOrdinate(double distance) const;

    Shape shape;
    double span;  // m, of one span of the two-span beam
    std::vector<Point> points;
};
