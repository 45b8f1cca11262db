#include "trafficmodel/TrafficModel.h"

#include <algorithm>
#include <cmath>

namespace TrafficModel {
namespace {
const char* const classNames[classCount] = {"car", "smallTruck", "largeTruck", "crane", "lowLoader"};

double paretoQuantile(const ParetoTail& tail, double p)
{
    // Excess over the threshold with probability p of being smaller.
    if (std::abs(tail.shape) < 1e-9)
        return -tail.scale * std::log1p(-p);
    return tail.scale * (std::pow(1.0 - p, -tail.shape) - 1.0) / tail.shape;
}
}

int dayTypeOfDay(long long dayIndex)
{
    const long long weekday = ((dayIndex % 7) + 7) % 7;
    return weekday >= 5 ? 1 : 0;
}

int dayTypeAt(double timeS)
{
    return dayTypeOfDay(static_cast<long long>(std::floor(timeS / secondsPerDay)));
}

int hourAt(double timeS)
{
    const double inDay = timeS - std::floor(timeS / secondsPerDay) * secondsPerDay;
    return std::clamp(static_cast<int>(inDay / secondsPerHour), 0, hoursPerDay - 1);
}

const char* className(int vehicleClass)
{
    return classNames[std::clamp(vehicleClass, 0, classCount - 1)];
}

std::optional<int> classNamed(const std::string& name)
{
    for (int c = 0; c < classCount; ++c)
        if (name == classNames[c])
            return c;
    return std::nullopt;
}

double Quantiles::at(double p) const
{
    if (values.empty())
        return 0.0;
    if (values.size() == 1)
        return values.front();
    const double position = std::clamp(p, 0.0, 1.0) * static_cast<double>(values.size() - 1);
    const auto below = std::min(static_cast<std::size_t>(position), values.size() - 2);
    const double fraction = position - static_cast<double>(below);
    return values[below] + fraction * (values[below + 1] - values[below]);
}

double Quantiles::cdf(double x) const
{
    if (values.empty() || x < values.front())
        return 0.0;
    if (x >= values.back())
        return 1.0;
    const auto above = std::upper_bound(values.begin(), values.end(), x);
    const auto i = static_cast<std::size_t>(above - values.begin()) - 1;
    const double width = values[i + 1] - values[i];
    const double fraction = width > 0.0 ? (x - values[i]) / width : 1.0;
    return (static_cast<double>(i) + fraction) / static_cast<double>(values.size() - 1);
}

// The empirical quantiles with linear interpolation between order statistics, so that the first
// and last are the sample's extremes.
Quantiles Quantiles::of(std::vector<double> sample, int points)
{
    Quantiles q;
    if (sample.empty() || points < 2)
        return q;
    std::sort(sample.begin(), sample.end());
    const double last = static_cast<double>(sample.size() - 1);
    for (int k = 0; k < points; ++k)
    {
        const double position = last * k / (points - 1);
        const auto below = static_cast<std::size_t>(position);
        const auto above = std::min(below + 1, sample.size() - 1);
        const double fraction = position - static_cast<double>(below);
        q.values.push_back(sample[below] + fraction * (sample[above] - sample[below]));
    }
    return q;
}

double WeightDistribution::at(double p) const
{
    double weight = 0.0;
    if (!tail || p <= thresholdProbability || thresholdProbability >= 1.0)
        weight = body.at(thresholdProbability > 0.0 ? std::min(1.0, p / thresholdProbability) : 1.0);
    else
        weight = body.values.back() + paretoQuantile(*tail, (p - thresholdProbability) / (1.0 - thresholdProbability));
    return std::min(weight, largest);
}

double LaneModel::truckRate(double timeS) const
{
    const auto& shares = classShares[dayTypeAt(timeS)][hourAt(timeS)];
    const double flowNow = flow[dayTypeAt(timeS)][hourAt(timeS)];
    return flowNow * (1.0 - shares[0]) / secondsPerHour;
}

double LaneModel::carRate(double timeS) const
{
    return flow[dayTypeAt(timeS)][hourAt(timeS)] * classShares[dayTypeAt(timeS)][hourAt(timeS)][0] / secondsPerHour;
}

const VehicleGroup* Model::group(int vehicleClass, int axles) const
{
    for (const auto& g : groups)
        if (g.vehicleClass == vehicleClass && g.axles == axles)
            return &g;
    return nullptr;
}
}
