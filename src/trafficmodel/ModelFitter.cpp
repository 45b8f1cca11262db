#include "trafficmodel/ModelFitter.h"

#include "trafficmodel/GeneralizedPareto.h"
#include "trafficmodel/RateClock.h"
#include "trafficmodel/RecordedTraffic.h"
#include "trafficmodel/TrafficModelError.h"

#include <algorithm>
#include <cmath>
#include <numeric>

using namespace TrafficModel;

namespace {
constexpr int quantilePoints = 101;
constexpr int overhangPoints = 21;
// Records closer than this are taken to have been recorded without a break between them.
constexpr double longestQuietS = 6.0 * secondsPerHour;
// A tail is fitted to the heaviest 5 % of a group, and to at least this many of its weights.
constexpr std::size_t fewestExcesses = 30;
constexpr std::size_t fewestForTail = 100;
constexpr std::size_t fewestGaps = 50;
constexpr std::size_t gapsPerBand = 1000;
constexpr std::size_t mostBands = 4;
// No draw above the heaviest recorded weight times this unless the user edits largest_kN.
constexpr double headroom = 1.5;

long long hourIndex(double timeS)
{
    return static_cast<long long>(std::floor(timeS / secondsPerHour));
}

std::string hourText(int dayType, int hour)
{
    char text[48];
    std::snprintf(text, sizeof text, "%s %02d:00", dayType == 0 ? "weekday" : "weekend", hour);
    return text;
}

// Quantiles of a sample counted by whole units (0.1 m/s), exact as from the sample itself.
Quantiles quantilesOfCounts(const std::map<int, long long>& counts, double unit, int points)
{
    const long long n = std::accumulate(counts.begin(), counts.end(), 0LL,
                                        [](long long total, const auto& entry) { return total + entry.second; });
    Quantiles q;
    if (n == 0)
        return q;
    // The value of the order statistic at a 0-based rank.
    const auto valueAt = [&](long long rank) {
        long long seen = 0;
        for (const auto& [value, count] : counts)
        {
            seen += count;
            if (rank < seen)
                return value * unit;
        }
        return counts.rbegin()->first * unit;
    };
    for (int k = 0; k < points; ++k)
    {
        const double position = static_cast<double>(n - 1) * k / (points - 1);
        const auto below = static_cast<long long>(position);
        const double fraction = position - static_cast<double>(below);
        const double low = valueAt(below);
        q.values.push_back(low + fraction * (valueAt(std::min(below + 1, n - 1)) - low));
    }
    return q;
}
}

void ModelFitter::Running::add(double x)
{
    ++count;
    const double delta = x - mean;
    mean += delta / static_cast<double>(count);
    sumOfSquares += delta * (x - mean);
    lowest = count == 1 ? x : std::min(lowest, x);
    highest = count == 1 ? x : std::max(highest, x);
}

Spread ModelFitter::Running::spread() const
{
    return {mean, count > 1 ? std::sqrt(sumOfSquares / static_cast<double>(count - 1)) : 0.0, lowest, highest};
}

ModelFitter::ModelFitter(std::optional<std::uint16_t> chosen, int firstWeekday)
    : chosenFormat(chosen), shiftS(((firstWeekday % 7 + 7) % 7) * secondsPerDay), format(chosen)
{
}

void ModelFitter::read(const std::string& path)
{
    // Each file's own format is told from its records unless the user named one for all.
    RecordedTraffic traffic(path, chosenFormat);
    if (format && traffic.getFormat() != *format)
        throw TrafficModelError(path + ": its records are " + RecordedTraffic::formatName(traffic.getFormat()) +
                                ", those of " + files.front() + " " + RecordedTraffic::formatName(*format));
    format = traffic.getFormat();
    const std::size_t file = files.size();
    files.push_back(path);
    observedHours.emplace_back();
    RecordedVehicle vehicle;
    bool first = true;
    double previous = 0.0;
    while (traffic.next(vehicle))
    {
        vehicle.time += shiftS;
        // Quiet stretches between records are recorded traffic too; long ones are breaks.
        const long long from =
            !first && vehicle.time - previous <= longestQuietS ? hourIndex(previous) : hourIndex(vehicle.time);
        for (long long h = from; h <= hourIndex(vehicle.time); ++h)
            observedHours[file].insert(h);
        first = false;
        previous = std::max(previous, vehicle.time);
        add(file, vehicle);
    }
    withoutAxles += traffic.withoutAxles();
}

void ModelFitter::add(std::size_t file, const RecordedVehicle& v)
{
    ++vehicles;
    LaneData& lane = lanes[{v.direction, v.lane}];
    lane.files.insert(file);
    lane.counts[dayTypeAt(v.time)][hourAt(v.time)][v.vehicleClass]++;
    lane.speeds[v.vehicleClass][static_cast<int>(std::lround(v.speed * 10.0))]++;
    const int axles = static_cast<int>(v.axleWeights.size());
    lane.axleCounts[v.vehicleClass][axles]++;
    if (v.vehicleClass != 0)
    {
        ++trucks;
        lane.trucks.emplace_back(file, v.time);
    }

    GroupData& group = groups[{v.vehicleClass, axles}];
    group.spacings.resize(v.spacings.size());
    group.shares.resize(v.axleWeights.size());
    group.weights.push_back(static_cast<float>(v.gvw));
    for (std::size_t i = 0; i < v.spacings.size(); ++i)
        group.spacings[i].push_back(static_cast<float>(v.spacings[i]));
    const double axleTotal = std::accumulate(v.axleWeights.begin(), v.axleWeights.end(), 0.0);
    if (axleTotal > 0.0)
        for (std::size_t i = 0; i < v.axleWeights.size(); ++i)
            group.shares[i].add(v.axleWeights[i] / axleTotal);
    const double wheelbase = std::accumulate(v.spacings.begin(), v.spacings.end(), 0.0);
    group.overhangs.push_back(static_cast<float>(std::max(0.0, v.length - wheelbase)));
}

Model ModelFitter::fit(std::vector<std::string>& notes) const
{
    std::set<long long> allHours;
    for (const auto& hours : observedHours)
        allHours.insert(hours.begin(), hours.end());
    const std::string named = files.size() == 1 ? files.front() : files.front() + " and the other files";
    if (static_cast<long long>(allHours.size()) < fewestHours)
        throw TrafficModelError(named + ": too short to fit: " + std::to_string(allHours.size()) +
                                " hours of traffic, a model needs at least " + std::to_string(fewestHours));
    std::array<bool, hoursPerDay> hourSeen{};
    for (long long h : allHours)
        hourSeen[static_cast<std::size_t>(h % hoursPerDay)] = true;
    for (int h = 0; h < hoursPerDay; ++h)
        if (!hourSeen[static_cast<std::size_t>(h)])
            throw TrafficModelError(named + ": too sparse to fit: no traffic recorded between " + std::to_string(h) +
                                    ":00 and " + std::to_string(h + 1) + ":00 on any day");
    if (trucks < fewestTrucks)
        throw TrafficModelError(named + ": too sparse to fit: " + std::to_string(trucks) +
                                " trucks, a model needs at least " + std::to_string(fewestTrucks));

    Model model;
    model.files = files;
    model.format = RecordedTraffic::formatName(format.value_or(RecordedTraffic::talvor));
    model.firstWeekday = static_cast<int>(std::lround(shiftS / secondsPerDay));
    model.vehicles = vehicles;
    for (long long h : allHours)
        (dayTypeOfDay(h / hoursPerDay) == 0 ? model.weekdayHours : model.weekendHours)++;
    if (withoutAxles > 0)
        notes.push_back(std::to_string(withoutAxles) + " records without axles were left out");
    for (const auto& [key, data] : lanes)
    {
        LaneModel lane;
        lane.direction = key.first;
        lane.lane = key.second;
        fitLane(lane, data, notes);
        fitTruckGaps(lane, data);
        if (lane.truckGaps.gaps.empty() && !data.trucks.empty())
            notes.push_back("direction " + std::to_string(lane.direction) + ", lane " + std::to_string(lane.lane) +
                            ": too few truck gaps to fit; its trucks will come independently of each other");
        model.lanes.push_back(lane);
    }
    for (const auto& [key, data] : groups)
        model.groups.push_back(fitGroup(key.first, key.second, data, notes));
    return model;
}

void ModelFitter::fitLane(LaneModel& lane, const LaneData& data, std::vector<std::string>& notes) const
{
    std::set<long long> hours;
    for (std::size_t file : data.files)
        hours.insert(observedHours[file].begin(), observedHours[file].end());
    std::array<std::array<long long, hoursPerDay>, dayTypes> exposure{};
    for (long long h : hours)
        exposure[dayTypeOfDay(h / hoursPerDay)][static_cast<std::size_t>(h % hoursPerDay)]++;

    std::array<std::array<long long, classCount>, dayTypes> dayTotals{};
    for (int d = 0; d < dayTypes; ++d)
        for (int h = 0; h < hoursPerDay; ++h)
            for (int c = 0; c < classCount; ++c)
                dayTotals[d][c] += data.counts[d][h][c];
    std::vector<std::string> filled;
    for (int d = 0; d < dayTypes; ++d)
        for (int h = 0; h < hoursPerDay; ++h)
        {
            // An hour never recorded on this day type takes the other day type's figures.
            const int from = exposure[d][h] > 0 ? d : 1 - d;
            if (from != d)
                filled.push_back(hourText(d, h));
            const auto& counts = data.counts[from][h];
            const long long total = std::accumulate(counts.begin(), counts.end(), 0LL);
            lane.flow[d][h] = exposure[from][h] > 0 ? static_cast<double>(total) / exposure[from][h] : 0.0;
            const auto& shareOf = total > 0 ? counts : dayTotals[from];
            const double sum = static_cast<double>(std::accumulate(shareOf.begin(), shareOf.end(), 0LL));
            for (int c = 0; c < classCount; ++c)
                lane.classShares[d][h][c] = sum > 0.0 ? shareOf[c] / sum : (c == 0 ? 1.0 : 0.0);
        }
    if (!filled.empty())
        notes.push_back("direction " + std::to_string(lane.direction) + ", lane " + std::to_string(lane.lane) +
                        ": no traffic recorded at " + std::to_string(filled.size()) + " hours (" + filled.front() +
                        (filled.size() > 1 ? " to " + filled.back() : "") +
                        "): they take the other day type's flow and shares");
    for (int c = 0; c < classCount; ++c)
    {
        if (data.speeds[c].empty())
            continue;
        lane.speeds[c] = quantilesOfCounts(data.speeds[c], 0.1, quantilePoints);
        const double total =
            static_cast<double>(std::accumulate(data.axleCounts[c].begin(), data.axleCounts[c].end(), 0LL,
                                                [](long long sum, const auto& entry) { return sum + entry.second; }));
        for (const auto& [axles, count] : data.axleCounts[c])
            lane.axleCounts[c][axles] = count / total;
    }
}

void ModelFitter::fitTruckGaps(LaneModel& lane, const LaneData& data) const
{
    auto trucksInOrder = data.trucks;
    std::stable_sort(trucksInOrder.begin(), trucksInOrder.end());
    const auto rate = [&lane](double t) { return lane.truckRate(t); };
    std::vector<std::pair<double, double>> gaps;  // lane's flow, veh/h, and the gap
    for (std::size_t i = 1; i < trucksInOrder.size(); ++i)
    {
        const auto& [file, from] = trucksInOrder[i - 1];
        const auto& [nextFile, to] = trucksInOrder[i];
        if (file != nextFile)
            continue;
        // A gap across a break in the recording is not a gap between trucks.
        const auto& hours = observedHours[file];
        bool recorded = true;
        for (long long h = hourIndex(from); h <= hourIndex(to) && recorded; ++h)
            recorded = hours.count(h) > 0;
        if (recorded)
            gaps.emplace_back(lane.flow[dayTypeAt(from)][hourAt(from)], expectedArrivals(rate, from, to));
    }
    if (gaps.size() < fewestGaps)
        return;
    std::sort(gaps.begin(), gaps.end());
    const std::size_t bands = std::clamp<std::size_t>(gaps.size() / gapsPerBand, 1, mostBands);
    std::size_t start = 0;
    for (std::size_t band = 1; band <= bands; ++band)
    {
        std::size_t end = band == bands ? gaps.size() : gaps.size() * band / bands;
        // A band ends where the flow changes, so that each flow falls in one band.
        while (end < gaps.size() && end > start && gaps[end].first == gaps[end - 1].first)
            ++end;
        if (end <= start)
            continue;
        if (end - start < fewestGaps && !lane.truckGaps.gaps.empty())
            end = gaps.size();
        std::vector<double> sample;
        for (std::size_t i = start; i < end; ++i)
            sample.push_back(gaps[i].second);
        if (end < gaps.size())
            lane.truckGaps.bandTops.push_back(gaps[end - 1].first);
        lane.truckGaps.gaps.push_back(Quantiles::of(sample, quantilePoints));
        start = end;
        if (start >= gaps.size())
            break;
    }
}

VehicleGroup ModelFitter::fitGroup(int vehicleClass, int axles, const GroupData& data, std::vector<std::string>& notes)
{
    VehicleGroup group;
    group.vehicleClass = vehicleClass;
    group.axles = axles;
    group.recorded = static_cast<long long>(data.weights.size());
    std::vector<double> weights(data.weights.begin(), data.weights.end());
    std::sort(weights.begin(), weights.end());
    const std::size_t n = weights.size();
    WeightDistribution& gross = group.grossWeight;
    gross.largest = headroom * weights.back();
    gross.body = Quantiles::of(weights, quantilePoints);
    // Cars weigh less than the car limit by definition: their weights need no tail.
    if (n >= fewestForTail && vehicleClass != 0)
    {
        const std::size_t above = std::min(std::max(fewestExcesses, n / 20), n / 3);
        const double threshold = weights[n - above - 1];
        std::vector<double> excesses;
        for (std::size_t i = n - above; i < n; ++i)
            excesses.push_back(weights[i] - threshold);
        try
        {
            gross.tail = GeneralizedPareto::fit(excesses);
            gross.thresholdProbability = static_cast<double>(n - above) / static_cast<double>(n);
            gross.body = Quantiles::of(std::vector<double>(weights.begin(), weights.end() - static_cast<long>(above)),
                                       quantilePoints);
        }
        catch (const TrafficModelError& error)
        {
            notes.push_back(std::string(className(vehicleClass)) + ", " + std::to_string(axles) +
                            " axles: no tail fitted to the gross weights (" + error.what() +
                            "): none will be heavier than the heaviest recorded");
            gross.largest = weights.back();
        }
    }
    else
    {
        gross.largest = weights.back();
    }
    for (const auto& spacing : data.spacings)
        group.spacings.push_back(Quantiles::of(std::vector<double>(spacing.begin(), spacing.end()), quantilePoints));
    for (const auto& share : data.shares)
        group.weightShares.push_back(share.spread());
    // Every axle loaded equally where no record had a weight on its axles.
    if (data.shares.empty() || data.shares.front().count == 0)
        group.weightShares.assign(static_cast<std::size_t>(axles), {1.0 / axles, 0.0, 1.0 / axles, 1.0 / axles});
    group.overhang = Quantiles::of(std::vector<double>(data.overhangs.begin(), data.overhangs.end()), overhangPoints);
    return group;
}
