// A run's load-effect outputs: the rows of the intervals, vehicles counted once per interval,
// the same files whether the clock steps through empty road or jumps over it, and the largest
// events as distinct crossings.

#include "loadeffects/LoadEffectRun.h"
#include "LoadEffectTestSupport.h"
#include "document/TemporaryFolder.h"
#include "loadeffects/SecondEnvelope.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <sstream>

namespace {
constexpr double startTime = 21600000.0;  // s: year 1 of the traffic files' calendar
constexpr double timeStep = 0.1;          // s
constexpr double speed = 20.0;            // m/s
const RoadLayout road{1000.0, 1, 1, timeStep};

// Vehicles driven by hand at one speed, each entering its lane at a given step.
class HandTraffic
{
public:
    Vehicle& add(const std::vector<TestAxle>& axles, long long entryStep, int lane = 1)
    {
        vehicles.push_back(makeVehicle(axles, lane == 1 ? 1 : 2, lane, static_cast<long long>(vehicles.size()) + 1));
        entries.push_back(entryStep);
        return *vehicles.back();
    }

    // The lists of step k: vehicles on the road, front-most first.
    const std::vector<std::vector<Vehicle*>>& at(long long step)
    {
        lanes = TestLanes(2);
        for (std::size_t i = 0; i < vehicles.size(); ++i)
        {
            const double position = static_cast<double>(step - entries[i]) * speed * timeStep;
            if (step >= entries[i] && position <= road.length)
                lanes.place(*vehicles[i], position);
        }
        return lanes.lists();
    }

    bool emptyAt(long long step)
    {
        const auto& lists = at(step);
        return std::all_of(lists.begin(), lists.end(), [](const auto& lane) { return lane.empty(); });
    }

private:
    std::vector<std::unique_ptr<Vehicle>> vehicles;
    std::vector<long long> entries;
    TestLanes lanes{2};
};

Bridge bridge(const std::string& name, double start, BridgeEffect effect, double interval)
{
    Bridge b;
    b.name = name;
    b.start = start;
    b.span = 20.0;
    b.effect = effect;
    b.interval = interval;
    return b;
}

std::vector<PreparedBridge> prepared(const std::vector<Bridge>& bridges)
{
    BridgeSet set;
    set.bridges = bridges;
    std::vector<PreparedBridge> result;
    EXPECT_TRUE(LoadEffectRun::prepare(set, "", result).empty());
    return result;
}

// Steps 1..steps with the clock summed step by step as the engine sums it; with `jumpEmpty`,
// steps of an empty road are not shown to the run, as when the engine's clock jumps over them.
void drive(LoadEffectRun& run, HandTraffic& traffic, long long steps, bool jumpEmpty)
{
    double clock = startTime;
    for (long long k = 1; k <= steps; ++k)
    {
        clock += timeStep;
        if (jumpEmpty && k < steps && traffic.emptyAt(k))
            continue;
        run.observe(traffic.at(k), clock);
    }
    run.finish();
}

std::vector<std::vector<std::string>> csvRows(const std::string& path)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(TemporaryFolder::read(path));
    for (std::string line; std::getline(lines, line);)
    {
        rows.emplace_back();
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');)
            rows.back().push_back(cell);
    }
    return rows;
}
}

// A 100 kN axle enters a 20 m span at 100 m after 5 s and crosses it in one second; intervals of
// 10 s. Interval 1 holds the crossing, interval 2 is empty road, interval 3 is cut by the run's end.
TEST(LoadEffectRun, OneRowPerIntervalWithItsExtremesTheirTimesAndTheVehicles)
{
    TemporaryFolder folder;
    HandTraffic traffic;
    traffic.add({{100.0, 0.0}}, 0);  // front at 100 m after 50 steps
    LoadEffectRun run(prepared({bridge("Span", 100.0, BridgeEffect::midspanMoment, 10.0)}), road, startTime,
                      folder.path.string());
    EXPECT_TRUE(run.openFiles().empty());
    drive(run, traffic, 250, false);

    const auto rows = csvRows(folder.file("LE_Span.csv"));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"interval", "end_time_s", "maximum", "time_of_maximum_s", "minimum",
                                                 "time_of_minimum_s", "vehicles", "duration_s"}));
    // Mid-span at 110 m is reached at step 55, exactly on the step grid.
    EXPECT_EQ(rows[1], (std::vector<std::string>{"1", "21600010", "500", "21600005.5", "0", "21600000.1", "1", "10"}));
    EXPECT_EQ(rows[2], (std::vector<std::string>{"2", "21600020", "0", "21600010.1", "0", "21600010.1", "0", "10"}));
    EXPECT_EQ(rows[3], (std::vector<std::string>{"3", "21600025", "0", "21600020.1", "0", "21600020.1", "0", "5"}));

    const BridgeMonitor& monitor = run.getMonitors().front();
    EXPECT_EQ(monitor.getCompleteMaxima(), (std::vector<double>{500.0, 0.0}));

    // On the span at steps 50..60, with 0 at both ends: steps 51..60 make up second 6.
    const auto seconds = csvRows(folder.file("LE_Span_seconds.csv"));
    ASSERT_EQ(seconds.size(), 2u);
    EXPECT_EQ(seconds[0], (std::vector<std::string>{"second", "end_time_s", "maximum", "minimum"}));
    EXPECT_EQ(seconds[1], (std::vector<std::string>{"6", "21600006", "500", "0"}));
}

// Steps the run did not show (empty road) count as 0 in their second, before and between loads.
TEST(SecondEnvelope, StepsNotGivenCountAsNoLoad)
{
    SecondEnvelope envelope(0.0, 0.1);
    envelope.add(3, -5.0);  // second 1: steps 1 and 2 were empty
    envelope.add(12, 7.0);  // second 2, its first step given ...
    envelope.add(13, 9.0);
    envelope.add(15, 8.0);   // ... and step 14 empty in between
    envelope.add(21, 0.0);   // second 3 without load is left out
    envelope.add(45, -1.0);  // second 5
    envelope.finish();
    EXPECT_EQ(envelope.takeClosed(),
              (std::vector<SecondRow>{{1, 1.0, 0.0, -5.0}, {2, 2.0, 9.0, 0.0}, {5, 5.0, 0.0, -1.0}}));
    EXPECT_TRUE(envelope.takeClosed().empty());

    SecondEnvelope whole(0.0, 0.5);
    whole.add(1, 4.0);
    whole.add(2, 6.0);
    whole.finish();
    EXPECT_EQ(whole.takeClosed(), (std::vector<SecondRow>{{1, 1.0, 6.0, 4.0}}));
}

// A truck on the bridge as an interval ends is counted in both intervals; one that stays on
// the bridge through many steps is counted once.
TEST(LoadEffectRun, AVehicleCountsOnceInEachIntervalItIsOnTheBridgeIn)
{
    TemporaryFolder folder;
    HandTraffic traffic;
    traffic.add({{100.0, 4.0}, {100.0, 0.0}}, 0);   // on 100..124 m at steps 50..62
    traffic.add({{100.0, 4.0}, {100.0, 0.0}}, 45);  // steps 95..107: across the end of interval 1
    traffic.add({{50.0, 0.0}}, -300, 2);            // direction 2: at 880..900 m of its own at steps 140..150
    LoadEffectRun run(prepared({bridge("B", 100.0, BridgeEffect::supportShear, 10.0)}), road, startTime,
                      folder.path.string());
    run.openFiles();
    drive(run, traffic, 200, false);
    const auto rows = csvRows(folder.file("LE_B.csv"));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1][6], "2");
    EXPECT_EQ(rows[2][6], "2");
}

// Direction 2 traffic on a bridge near the road's far end, and gaps of whole intervals.
TEST(LoadEffectRun, JumpingOverEmptyRoadWritesWhatSteppingThroughItWrites)
{
    HandTraffic traffic;
    traffic.add({{60.0, 4.0}, {120.0, 0.0}}, 0);
    traffic.add({{80.0, 0.0}}, 20, 2);
    traffic.add({{60.0, 4.0}, {120.0, 1.3}, {120.0, 0.0}}, 2010);  // 150 s after the first left
    traffic.add({{90.0, 0.0}}, 2600, 2);
    const std::vector<Bridge> bridges = {
        bridge("Near", 100.0, BridgeEffect::midspanMoment, 7.0),
        bridge("Far", 900.0, BridgeEffect::continuousSupportMoment, 30.0),
        bridge("Hourly", 40.0, BridgeEffect::supportShear, 3600.0),
    };
    // A line below zero: in an empty stretch the maximum becomes 0, at the stretch's first step.
    std::vector<PreparedBridge> lines = prepared(bridges);
    Bridge negative = bridge("Negative", 300.0, BridgeEffect::influenceFile, 20.0);
    lines.push_back({negative, InfluenceLine::table({{0.0, 0.0}, {10.0, -1.0}, {20.0, 0.0}})});

    TemporaryFolder stepped;
    TemporaryFolder jumped;
    LoadEffectRun steppedRun(lines, road, startTime, stepped.path.string());
    LoadEffectRun jumpedRun(lines, road, startTime, jumped.path.string());
    steppedRun.openFiles();
    jumpedRun.openFiles();
    drive(steppedRun, traffic, 3200, false);
    drive(jumpedRun, traffic, 3200, true);
    for (const std::string name : {"Near", "Far", "Hourly", "Negative"})
        for (const std::string& file :
             {"LE_" + name + ".csv", "LE_" + name + "_seconds.csv", "LE_" + name + "_events.csv"})
        {
            SCOPED_TRACE(file);
            const std::string content = TemporaryFolder::read(stepped.file(file));
            EXPECT_GT(content.size(), 100u);
            EXPECT_EQ(content, TemporaryFolder::read(jumped.file(file)));
        }
    // Interval 11 (steps 2001..2200) begins with nine steps of empty road, then the truck crosses.
    const auto negativeRows = csvRows(stepped.file("LE_Negative.csv"));
    ASSERT_GT(negativeRows.size(), 11u);
    EXPECT_EQ(negativeRows[11][2], "0");
    EXPECT_EQ(negativeRows[11][3], "21600200.1");
    EXPECT_LT(std::stod(negativeRows[11][4]), -250.0);
}

TEST(LoadEffectRun, EventsListTheVehiclesOnTheBridgeAtTheirPeaks)
{
    TemporaryFolder folder;
    HandTraffic traffic;
    traffic.add({{100.0, 0.0}}, 0);
    traffic.add({{300.0, 0.0}}, 100);
    traffic.add({{200.0, 0.0}}, 200);
    traffic.add({{50.0, 0.0}}, 200, 2);  // on the road at the same time, never on the bridge
    LoadEffectRun run(prepared({bridge("E", 100.0, BridgeEffect::midspanMoment, 86400.0)}), road, startTime,
                      folder.path.string());
    run.openFiles();
    drive(run, traffic, 400, false);
    const auto rows = csvRows(folder.file("LE_E_events.csv"));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"rank", "time_s", "value", "line", "class", "gross_weight_kN", "lane",
                                                 "front_x_m"}));
    EXPECT_EQ(rows[1], (std::vector<std::string>{"1", "21600015.5", "1500", "2", "1", "300", "1", "110"}));
    EXPECT_EQ(rows[2][0], "2");
    EXPECT_EQ(rows[2][3], "3");
    EXPECT_EQ(rows[3][0], "3");
    EXPECT_EQ(rows[3][3], "1");
}

// A truck crosses the span in each direction, its heavier rear axle 4 m behind the front. The
// mid-span moment peaks with that axle at mid-span (110 m of road x), the front 4 m ahead in the
// direction of travel: at 114 m in direction 1 and at 106 m in direction 2, which is 894 m of
// direction 2's own coordinate. The events give the front in road x for both.
TEST(LoadEffectRun, EventsGiveTheFrontInRoadXInBothDirections)
{
    TemporaryFolder folder;
    HandTraffic traffic;
    const long long entries[] = {0, 200};
    traffic.add({{60.0, 4.0}, {120.0, 0.0}}, entries[0]);
    traffic.add({{90.0, 4.0}, {180.0, 0.0}}, entries[1], 2);
    LoadEffectRun run(prepared({bridge("Both", 100.0, BridgeEffect::midspanMoment, 86400.0)}), road, startTime,
                      folder.path.string());
    run.openFiles();
    drive(run, traffic, 800, false);
    const auto rows = csvRows(folder.file("LE_Both_events.csv"));
    ASSERT_EQ(rows.size(), 3u);
    // 90 x 3 + 180 x 5 and 60 x 3 + 120 x 5 kNm: the ordinates at 4 m from mid-span and at it.
    EXPECT_EQ(rows[1][2], "1170");
    EXPECT_EQ(rows[1][6], "2");
    EXPECT_EQ(rows[1][7], "106");
    EXPECT_EQ(rows[2][2], "780");
    EXPECT_EQ(rows[2][6], "1");
    EXPECT_EQ(rows[2][7], "114");
    // And from the peak's time: the step, the distance driven in the vehicle's own direction,
    // and that distance counted from the far end of the road in direction 2.
    for (std::size_t row = 1; row < rows.size(); ++row)
    {
        const int vehicle = std::stoi(rows[row][3]) - 1;
        const long long step = std::llround((std::stod(rows[row][1]) - startTime) / timeStep);
        const double driven = static_cast<double>(step - entries[vehicle]) * speed * timeStep;
        const double roadX = rows[row][6] == "1" ? driven : road.length - driven;
        EXPECT_NEAR(std::stod(rows[row][7]), roadX, 1e-9) << row;
    }
}

// Random traffic with crossings that overlap and trucks close behind each other.
TEST(LargestEvents, DistinctCrossingsLargestFirstAtMostTwenty)
{
    std::mt19937 random(11);
    HandTraffic traffic;
    long long entry = 0;
    for (int i = 0; i < 120; ++i)
    {
        entry += 5 + static_cast<long long>(random() % 40);
        const double weight = 20.0 + static_cast<double>(random() % 400);
        traffic.add({{weight * 0.4, 3.5}, {weight * 0.6, 0.0}}, entry, 1 + static_cast<int>(random() % 2));
    }
    const long long steps = entry + 600;
    TemporaryFolder folder;
    LoadEffectRun run(prepared({bridge("R", 400.0, BridgeEffect::midspanMoment, 86400.0)}), road, startTime,
                      folder.path.string());
    double largestEffect = 0.0;
    double clock = startTime;
    for (long long k = 1; k <= steps; ++k)
    {
        clock += timeStep;
        run.observe(traffic.at(k), clock);
        largestEffect = std::max(largestEffect, run.getMonitors()[0].getLastEffect());
    }
    run.finish();
    const std::vector<LoadEvent>& events = run.getMonitors()[0].getEvents().getEvents();
    ASSERT_EQ(events.size(), 20u);
    EXPECT_EQ(events.front().value, largestEffect);
    std::set<long long> seen;
    for (std::size_t i = 0; i < events.size(); ++i)
    {
        if (i > 0)
        {
            EXPECT_GE(events[i - 1].value, events[i].value);
        }
        ASSERT_FALSE(events[i].vehicles.empty());
        for (const EventVehicle& vehicle : events[i].vehicles)
            EXPECT_TRUE(seen.insert(vehicle.inputLine).second) << "vehicle " << vehicle.inputLine << " in two events";
    }
}

TEST(LargestEvents, OneCrossingIsOneEvent)
{
    LargestEvents events;
    auto truck = makeVehicle({{100.0, 0.0}}, 1, 1, 7);
    auto car = makeVehicle({{10.0, 0.0}}, 1, 2, 8);
    auto van = makeVehicle({{20.0, 0.0}}, 1, 2, 9);
    const std::vector<PresentVehicle> alone = {{truck.get(), 7, 1, 0.0}};
    const std::vector<PresentVehicle> withCar = {{truck.get(), 7, 1, 0.0}, {car.get(), 8, 2, 0.0}};
    const std::vector<PresentVehicle> carAndVan = {{car.get(), 8, 2, 0.0}, {van.get(), 9, 2, 0.0}};
    const std::vector<PresentVehicle> vanAlone = {{van.get(), 9, 2, 0.0}};
    events.loaded(1.0, 1.0, alone);
    events.loaded(5.0, 2.0, withCar);
    events.loaded(3.0, 3.0, alone);
    events.loaded(2.0, 4.0, carAndVan);  // the car was there at the peak: the same event
    events.loaded(0.5, 5.0, vanAlone);   // no vehicle of the peak is left: a new event
    events.unloaded();
    events.loaded(5.0, 9.0, alone);  // as large as the first: listed after it
    events.finish();
    ASSERT_EQ(events.getEvents().size(), 3u);
    EXPECT_EQ(events.getEvents()[0].time, 2.0);
    EXPECT_EQ(events.getEvents()[0].vehicles.size(), 2u);
    EXPECT_EQ(events.getEvents()[1].time, 9.0);
    EXPECT_EQ(events.getEvents()[2].value, 0.5);
}

// Far from year 0 a clock summed in 0.1 s steps drifts from start + k x 0.1 s by a step every
// thousand steps here: steps are counted from one to the next, never from the start.
TEST(LoadEffectRun, AClockThatDriftsFromTheStepGridLosesNoStep)
{
    const double farStart = 1099511627776.0;  // 2^40 s: each 0.1 s step adds 0.1000977 s
    HandTraffic traffic;
    traffic.add({{100.0, 0.0}}, 455);  // at 100..120 m at steps 505..515; the drift reaches half a step at 513
    TemporaryFolder folder;
    LoadEffectRun run(prepared({bridge("Drift", 100.0, BridgeEffect::supportShear, 86400.0)}), road, farStart,
                      folder.path.string());
    double clock = farStart;
    double timeAtEntry = 0.0;
    for (long long k = 1; k <= 1500; ++k)
    {
        clock += timeStep;
        if (k == 505)
            timeAtEntry = clock;
        run.observe(traffic.at(k), clock);
    }
    run.finish();
    const std::vector<LoadEvent>& events = run.getMonitors()[0].getEvents().getEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].value, 100.0);
    EXPECT_EQ(events[0].time, timeAtEntry);
}
