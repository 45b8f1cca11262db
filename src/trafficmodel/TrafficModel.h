#pragma once
// A model of the traffic at one site, fitted to recorded traffic files: per direction and lane
// the flow by hour of day and day type, class shares by hour, speeds by class and the gaps
// between successive trucks; per class and axle count the gross weights (with a fitted upper
// tail), axle spacings and shares of the weight on each axle. docs/traffic-model.md explains it.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace TrafficModel {
constexpr int hoursPerDay = 24;
constexpr int dayTypes = 2;  // 0 weekday, 1 weekend
constexpr int classCount = 5;
constexpr int largestAxleCount = 20;
constexpr double secondsPerHour = 3600.0;
constexpr double secondsPerDay = 86400.0;

// Day 0 of the traffic files' calendar (year 0, month 1, day 1) is a Monday: days whose index
// modulo 7 is 5 or 6 are the weekend.
int dayTypeOfDay(long long dayIndex);
// The day type and hour of day of a time on the files' calendar, s.
int dayTypeAt(double timeS);
int hourAt(double timeS);

const char* className(int vehicleClass);  // "car", "smallTruck", ...
std::optional<int> classNamed(const std::string& name);

// A distribution given by its quantiles at equally spaced probabilities 0, 1/(n−1), ..., 1,
// linear in between.
struct Quantiles
{
    std::vector<double> values;  // ascending, at least two

    // The value at probability p in [0, 1].
    double at(double p) const;
    // The probability of values at or below x, linear between the quantiles.
    double cdf(double x) const;
    // From a sample (sorted inside); `points` quantiles.
    static Quantiles of(std::vector<double> sample, int points);
};

// The generalized Pareto tail of the excesses over a threshold,
//   P(X − u > y | X > u) = (1 + ξ y / σ)^(−1/ξ),  exp(−y / σ) at ξ = 0.
struct ParetoTail
{
    double scale = 1.0;  // σ > 0, kN
    double shape = 0.0;  // ξ, without unit; below 0 the tail ends at u − σ / ξ
    int exceedances = 0;
    double scaleError = 0.0;  // standard errors of the fit, kN and without unit; 0 when unknown
    double shapeError = 0.0;
};

// Gross vehicle weights: the recorded ones' quantiles up to a threshold, a fitted tail above it.
struct WeightDistribution
{
    Quantiles body;                     // kN, from probability 0 to thresholdProbability
    double thresholdProbability = 1.0;  // share of the weights at or below the body's last value
    std::optional<ParetoTail> tail;     // above the body's last value; none: the body is all
    double largest = 0.0;               // kN, no weight is drawn above it

    // The weight at probability p in [0, 1), kN.
    double at(double p) const;
};

// A number's mean, spread and range among the recorded vehicles of a group.
struct Spread
{
    double mean = 0.0;
    double deviation = 0.0;
    double lowest = 0.0;
    double highest = 0.0;
};

// The vehicles of one class with one number of axles.
struct VehicleGroup
{
    int vehicleClass = 0;
    int axles = 2;
    long long recorded = 0;
    WeightDistribution grossWeight;    // kN
    std::vector<Quantiles> spacings;   // m, from each axle to the next: axles − 1 of them
    std::vector<Spread> weightShares;  // share of the gross weight on each axle: axles of them
    Quantiles overhang;                // m, the length beyond the first and last axle together
};

// Gaps between successive trucks of a lane, measured in expected trucks: the integral of the
// lane's mean truck rate (flow times truck share, by hour and day type) from one truck to the
// next. They are 1 on average and exponential when trucks come independently; bunching shows
// as more short and long ones. One table per band of the lane's flow.
struct TruckGaps
{
    std::vector<double> bandTops;  // veh/h, the highest flow of each band but the last, ascending
    std::vector<Quantiles> gaps;   // one per band (bandTops.size() + 1), without unit
};

struct LaneModel
{
    int direction = 1;                                             // 1 or 2
    int lane = 1;                                                  // as numbered in the traffic files
    std::array<std::array<double, hoursPerDay>, dayTypes> flow{};  // veh/h
    // Shares of the five classes by day type and hour, each adding up to 1.
    std::array<std::array<std::array<double, classCount>, hoursPerDay>, dayTypes> classShares{};
    std::array<std::optional<Quantiles>, classCount> speeds;  // m/s, for each class seen in the lane
    // Shares of the axle counts within each class seen in the lane.
    std::array<std::map<int, double>, classCount> axleCounts;
    TruckGaps truckGaps;

    // Mean rate of trucks (every class but cars), per s, at a time on the files' calendar.
    double truckRate(double timeS) const;
    double carRate(double timeS) const;
};

struct Model
{
    std::vector<std::string> files;  // the recorded traffic files it was fitted to
    std::string format = "TALVOR";   // their record format
    int firstWeekday = 0;            // of their day 0: 0 Monday to 6 Sunday
    long long vehicles = 0;
    long long weekdayHours = 0;  // hours of recorded traffic of each day type
    long long weekendHours = 0;
    std::vector<LaneModel> lanes;
    std::vector<VehicleGroup> groups;

    const VehicleGroup* group(int vehicleClass, int axles) const;
};
}
