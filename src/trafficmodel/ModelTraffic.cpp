#include "trafficmodel/ModelTraffic.h"

#include "config/CConfigData.h"
#include "trafficfiles/CalendarStamp.h"
#include "trafficfiles/RecordFormat.h"
#include "trafficmodel/RateClock.h"
#include "vehicles/Truck.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <queue>
#include <utility>
#include <vector>

using namespace TrafficModel;

namespace {
constexpr std::uint16_t vorkFormat = 100;
constexpr std::uint16_t dorivFormat = 102;
constexpr int widestAxleUnits = 999;    // a three-digit axle weight column
constexpr int widestGrossUnits = 9999;  // a four-digit GVW column
constexpr double longestLength = 99.9;  // m, a three-digit length column
constexpr int attempts = 20;            // draws of a layout until it classifies as its class
constexpr double smallestGapS = 0.01;   // one hundredth: two vehicles of a stream never share a stamp
}

ModelTraffic::ModelTraffic(const Model& chosen, std::uint16_t formatCode, std::uint32_t seed, double durationS,
                           double start)
    : model(chosen), format(formatCode), startS(start), endS(start + durationS),
      kNPerUnit(formatCode == vorkFormat ? 1.0 : 0.981)
{
    random.seed(seed);
}

std::optional<std::string> ModelTraffic::unfitFor(const Model& model, std::uint16_t formatCode)
{
    const char* name = formatCode == vorkFormat ? "VORK" : formatCode == dorivFormat ? "DoRIV" : "TALVOR";
    if (formatCode == vorkFormat &&
        (model.lanes.size() != 1 || model.lanes.front().direction != 1 || model.lanes.front().lane != 1))
        return "VORK records carry no direction or lane: the model has other lanes than direction 1, lane 1";
    const int mostAxles = formatCode == dorivFormat ? 20 : 9;
    const double longestSpacing = formatCode == dorivFormat ? 99.9 : 9.9;  // m
    for (const auto& g : model.groups)
    {
        const std::string group =
            std::string(className(g.vehicleClass)) + " with " + std::to_string(g.axles) + " axles";
        if (g.axles > mostAxles)
            return std::string(name) + " records hold at most " + std::to_string(mostAxles) + " axles: the model has " +
                   group;
        for (const auto& s : g.spacings)
            if (s.values.back() > longestSpacing)
                return std::string(name) + " records hold spacings up to " +
                       std::to_string(longestSpacing).substr(0, 4) + " m: the model's " + group + " has some up to " +
                       std::to_string(s.values.back()).substr(0, 5) + " m";
    }
    return std::nullopt;
}

double ModelTraffic::uniform()
{
    return (static_cast<double>(random.next()) + 0.5) / 4294967296.0;
}

double ModelTraffic::normal(double mean, double deviation)
{
    return mean + deviation * random.standardNormal();
}

double ModelTraffic::nextCar(const LaneModel& lane, double from)
{
    const auto rate = [&lane](double t) { return lane.carRate(t); };
    const double amount = -std::log(uniform());
    const auto at = afterArrivals(rate, from, amount, endS);
    return at ? std::max(*at, from + smallestGapS) : std::numeric_limits<double>::infinity();
}

double ModelTraffic::nextTruck(const LaneModel& lane, double from)
{
    const auto rate = [&lane](double t) { return lane.truckRate(t); };
    const auto& gaps = lane.truckGaps;
    double amount = 0.0;
    if (gaps.gaps.empty())
    {
        amount = -std::log(uniform());
    }
    else
    {
        const double flow = lane.flow[dayTypeAt(from)][hourAt(from)];
        const auto band = static_cast<std::size_t>(std::lower_bound(gaps.bandTops.begin(), gaps.bandTops.end(), flow) -
                                                   gaps.bandTops.begin());
        amount = gaps.gaps[std::min(band, gaps.gaps.size() - 1)].at(uniform());
    }
    const auto at = afterArrivals(rate, from, amount, endS);
    return at ? std::max(*at, from + smallestGapS) : std::numeric_limits<double>::infinity();
}

int ModelTraffic::drawClass(const LaneModel& lane, double timeS, bool truck)
{
    const auto& shares = lane.classShares[dayTypeAt(timeS)][hourAt(timeS)];
    if (!truck)
        return 0;
    const double total = std::accumulate(shares.begin() + 1, shares.end(), 0.0);
    double pick = uniform() * total;
    int last = 1;
    for (int c = 1; c < classCount; ++c)
    {
        if (shares[c] <= 0.0)
            continue;
        last = c;
        if (pick < shares[c])
            return c;
        pick -= shares[c];
    }
    return last;
}

std::unique_ptr<Vehicle> ModelTraffic::drawVehicle(const LaneModel& lane, int vehicleClass)
{
    std::unique_ptr<Vehicle> vehicle;
    for (int attempt = 0; attempt < attempts; ++attempt)
    {
        vehicle = layout(lane, vehicleClass);
        if (vehicle->classify() == vehicleClass)
            break;
    }
    vehicle->vehicleClass = vehicle->classify();
    return vehicle;
}

std::unique_ptr<Vehicle> ModelTraffic::layout(const LaneModel& lane, int vehicleClass)
{
    const auto& counts = lane.axleCounts[vehicleClass];
    double pick = uniform();
    int axles = counts.empty() ? 2 : counts.rbegin()->first;
    for (const auto& [count, share] : counts)
    {
        if (pick < share)
        {
            axles = count;
            break;
        }
        pick -= share;
    }
    auto vehicle = std::make_unique<Truck>();
    vehicle->head = 1001;
    vehicle->axleCount = axles;
    vehicle->createAxles();
    const VehicleGroup* group = model.group(vehicleClass, axles);
    if (!group)
        return vehicle;

    // Spacings in whole tenths of a metre and weights in whole file units, as written.
    double wheelbase = 0.0;  // m
    for (int i = 0; i + 1 < axles; ++i)
    {
        const double spacing = group->spacings[static_cast<std::size_t>(i)].at(uniform());
        vehicle->setAxleSpacing(i, std::round(spacing * 10.0) / 10.0);
        wheelbase += vehicle->getAxleSpacing(i);
    }
    std::vector<double> shares;
    for (const Spread& s : group->weightShares)
        shares.push_back(std::clamp(normal(s.mean, s.deviation), s.lowest, s.highest));
    double shareTotal = std::accumulate(shares.begin(), shares.end(), 0.0);
    if (!(shareTotal > 0.0))
    {
        shares.assign(shares.size(), 1.0);
        shareTotal = static_cast<double>(shares.size());
    }
    const double largestShare = *std::max_element(shares.begin(), shares.end()) / shareTotal;
    // A weight no column could hold is brought down to the heaviest that fits.
    const double grossUnits = std::min({group->grossWeight.at(uniform()) / kNPerUnit, widestAxleUnits / largestShare,
                                        static_cast<double>(widestGrossUnits)});
    const long long total = std::llround(grossUnits);
    // Largest remainders, so that the axle weights add up to the rounded gross weight.
    std::vector<long long> units(shares.size());
    std::vector<std::pair<double, std::size_t>> remainders;
    long long given = 0;
    for (std::size_t i = 0; i < shares.size(); ++i)
    {
        const double exact = static_cast<double>(total) * shares[i] / shareTotal;
        units[i] = static_cast<long long>(std::floor(exact));
        given += units[i];
        remainders.emplace_back(exact - std::floor(exact), i);
    }
    std::sort(remainders.begin(), remainders.end(), std::greater<>());
    for (std::size_t k = 0; given < total && k < remainders.size(); ++k, ++given)
        ++units[remainders[k].second];
    for (int i = 0; i < axles; ++i)
        vehicle->setAxleWeight(i, static_cast<double>(units[static_cast<std::size_t>(i)]) * kNPerUnit);
    vehicle->gvw = static_cast<double>(total) * kNPerUnit;
    vehicle->length = std::min(longestLength, std::round((wheelbase + group->overhang.at(uniform())) * 10.0) / 10.0);
    const double speed = lane.speeds[vehicleClass] ? lane.speeds[vehicleClass]->at(uniform()) : 0.0;
    vehicle->velocity = std::round(speed * 10.0) / 10.0;
    return vehicle;
}

long long ModelTraffic::write(std::ostream& out)
{
    struct Stream
    {
        const LaneModel* lane;
        bool trucks;
        double next;  // s
    };
    std::vector<Stream> streams;
    for (const auto& lane : model.lanes)
    {
        streams.push_back({&lane, false, nextCar(lane, startS)});
        streams.push_back({&lane, true, nextTruck(lane, startS)});
    }
    // Arrivals by the hundredth they are stamped with; ties go to the earlier stream.
    using Arrival = std::pair<long long, std::size_t>;
    std::priority_queue<Arrival, std::vector<Arrival>, std::greater<>> due;
    const auto stamp = [](double t) { return static_cast<long long>(std::floor(t * 100.0)); };
    for (std::size_t i = 0; i < streams.size(); ++i)
        if (streams[i].next < endS)
            due.push({stamp(streams[i].next), i});

    std::string record;
    long long written = 0;
    while (!due.empty())
    {
        const auto [hundredths, index] = due.top();
        due.pop();
        Stream& stream = streams[index];
        const LaneModel& lane = *stream.lane;
        auto vehicle = drawVehicle(lane, drawClass(lane, stream.next, stream.trucks));
        vehicle->direction = lane.direction;
        vehicle->directionPositive = lane.direction == 1;
        vehicle->lane = lane.lane;
        vehicle->recordNumber = static_cast<int>(written % 99999) + 1;
        stampCalendarTime(*vehicle, hundredths);
        if (format == vorkFormat)
            writeVORK(*vehicle, record);
        else if (format == dorivFormat)
            writeDORIV(*vehicle, record);
        else
            writeTALVOR(*vehicle, record);
        out << record << '\n';
        if (!out)
            break;
        ++written;
        stream.next = stream.trucks ? nextTruck(lane, stream.next) : nextCar(lane, stream.next);
        if (stream.next < endS)
            due.push({stamp(stream.next), index});
    }
    return written;
}
