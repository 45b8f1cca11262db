#include "cli/TrafficGenerator.h"

#include "trafficfiles/CalendarStamp.h"

#include "config/CConfigData.h"
#include "trafficfiles/RecordFormat.h"
#include "vehicles/Vehicle.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <queue>
#include <utility>
#include <vector>

namespace {
constexpr unsigned short vorkFormat = 100;
constexpr unsigned short dorivFormat = 102;
constexpr double secondsPerHour = 3600.0;
}

TrafficGenerator::TrafficGenerator(const TrafficGeneratorSettings& chosen)
    : settings(chosen), random(chosen.seed), factory(random, chosen.fileFormat)
{
}

long long TrafficGenerator::write(std::ostream& out)
{
    std::vector<LaneStream> lanes;
    auto addLanes = [&](int direction, int count, int firstFileLane, double flow) {
        if (flow <= 0.0)
            return;
        for (int i = 0; i < count; ++i)
            lanes.push_back({direction, firstFileLane + i, secondsPerHour / flow, 0});
    };
    // VORK records carry no direction or lane: everything drives in direction 1, lane 1.
    if (settings.fileFormat == vorkFormat)
    {
        addLanes(1, 1, 1, settings.flowDir1);
    }
    else
    {
        addLanes(1, settings.lanesDir1, 1, settings.flowDir1);
        addLanes(2, settings.lanesDir2, settings.lanesDir1 + 1, settings.flowDir2);
    }

    using Arrival = std::pair<std::int64_t, std::size_t>;  // time, lane; ties go to the lower lane
    std::priority_queue<Arrival, std::vector<Arrival>, std::greater<>> due;
    for (std::size_t i = 0; i < lanes.size(); ++i)
    {
        lanes[i].nextArrival = headwayHundredths(lanes[i].meanHeadwayS);
        due.push({lanes[i].nextArrival, i});
    }

    const auto end = static_cast<std::int64_t>(std::llround(settings.durationS * 100.0));
    long long written = 0;
    while (!due.empty() && due.top().first < end)
    {
        const auto [time, laneIndex] = due.top();
        due.pop();
        LaneStream& lane = lanes[laneIndex];
        auto vehicle = factory.make(drawClass());
        vehicle->direction = lane.direction;
        vehicle->directionPositive = lane.direction == 1;
        vehicle->lane = lane.fileLane;
        vehicle->recordNumber = static_cast<int>(written % 99999) + 1;
        stampTime(*vehicle, time);
        out << formatRecord(*vehicle) << '\n';
        ++written;
        lane.nextArrival = time + headwayHundredths(lane.meanHeadwayS);
        due.push({lane.nextArrival, laneIndex});
    }
    return written;
}

// A shifted exponential: a minimum headway (at most 1 s) plus a random part, so that the mean
// stays 3600 / flow but two vehicles never arrive at the same instant in one lane.
std::int64_t TrafficGenerator::headwayHundredths(double meanHeadwayS)
{
    const double minimum = std::min(1.0, 0.5 * meanHeadwayS);
    const double headway = minimum + random.exponential(meanHeadwayS - minimum);
    return std::max<std::int64_t>(1, std::llround(headway * 100.0));
}

short TrafficGenerator::drawClass()
{
    const auto& shares = settings.classShares;
    const double total = std::accumulate(shares.begin(), shares.end(), 0.0);
    double pick = random.uniform() * total;
    for (std::size_t i = 0; i < shares.size(); ++i)
    {
        if (pick < shares[i])
            return static_cast<short>(i);
        pick -= shares[i];
    }
    return 0;
}

// Whole hundredths throughout, so that no time stamp loses a hundredth to rounding.
void TrafficGenerator::stampTime(Vehicle& vehicle, std::int64_t hundredthsAfterStart) const
{
    stampCalendarTime(vehicle, std::llround(settings.startS * 100.0) + hundredthsAfterStart);
}

std::string TrafficGenerator::formatRecord(const Vehicle& vehicle) const
{
    std::string record;
    if (settings.fileFormat == vorkFormat)
        writeVORK(vehicle, record);
    else if (settings.fileFormat == dorivFormat)
        writeDORIV(vehicle, record);
    else
        writeTALVOR(vehicle, record);
    return record;
}
