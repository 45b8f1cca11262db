#pragma once
// One bridge on the road: where it lies (road x, m), which traffic it carries and with what
// lane factors, the influence line of the load effect it reports, and its block-maxima interval.

#include <map>
#include <string>

enum class BridgeEffect
{
    midspanMoment,
    supportShear,
    continuousSupportMoment,
    influenceFile,
};

enum class BridgeDirections
{
    positive = 1,  // direction 1
    negative = 2,  // direction 2
    both = 3,
};

struct Bridge
{
    static constexpr double defaultInterval = 86400.0;  // s: daily maxima
    // s, about 30 years: keeps the steps of an interval countable.
    static constexpr double maximumInterval = 1e9;
    // Bounds that keep a step's sum of lane factor x axle weight x ordinate finite.
    static constexpr double maximumLaneFactor = 1e6;
    static constexpr double maximumOrdinate = 1e200;

    std::string name;    // also names the output files, LE_<name>.csv
    double start = 0.0;  // m of road x
    double span = 0.0;   // m; of each of the two spans for continuousSupportMoment
    BridgeEffect effect = BridgeEffect::midspanMoment;
    std::string influenceFile;  // for influenceFile: the path as written, relative to the bridges file
    BridgeDirections directions = BridgeDirections::both;
    std::map<int, double> laneFactors;  // road-wide lane number from 1; a lane not named has 1
    double interval = defaultInterval;  // s

    // m along the road: the span, or both spans of a continuous bridge.
    double length() const { return effect == BridgeEffect::continuousSupportMoment ? 2.0 * span : span; }
    bool carries(int direction) const { return (static_cast<int>(directions) & direction) != 0; }
    double laneFactor(int lane) const
    {
        const auto found = laneFactors.find(lane);
        return found == laneFactors.end() ? 1.0 : found->second;
    }

    bool operator==(const Bridge&) const = default;
};
