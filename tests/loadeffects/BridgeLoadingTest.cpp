// Load effects against closed-form answers: axles crossing a simply supported span, trucks side
// by side with lane factors, a file influence line against the built-in one, and the hogging
// moment of a two-span beam.

#include "loadeffects/BridgeLoading.h"
#include "LoadEffectTestSupport.h"
#include "document/TemporaryFolder.h"
#include "loadeffects/InfluenceLineFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr double span = 20.0;                // m
constexpr double roadLength = 1000.0;        // m
constexpr double speed = 20.0;               // m/s
constexpr double timeStep = 0.1;             // s
constexpr double travel = speed * timeStep;  // m a step

RoadLayout twoByTwo()
{
    return RoadLayout{roadLength, 2, 2, timeStep};
}

Bridge bridgeAt(double start, BridgeEffect effect, BridgeDirections directions = BridgeDirections::both)
{
    Bridge bridge;
    bridge.name = "B";
    bridge.start = start;
    bridge.span = span;
    bridge.effect = effect;
    bridge.directions = directions;
    return bridge;
}

BridgeLoading loadingOf(const Bridge& bridge)
{
    return BridgeLoading(bridge, *InfluenceLineFile::load(bridge, "").line, twoByTwo());
}

// The effect at every step of a vehicle driven at constant speed through its direction's
// positions from..to. The first position is off the step grid, so no step lands on a peak.
std::vector<double> crossing(const BridgeLoading& loading, Vehicle& vehicle, double from, double to)
{
    TestLanes lanes(4);
    std::vector<PresentVehicle> present;
    std::vector<double> effects;
    for (double position = from + 0.37; position < to; position += travel)
    {
        lanes.clear();
        lanes.place(vehicle, position);
        effects.push_back(loading.effect(lanes.lists(), present));
    }
    return effects;
}

double largest(const std::vector<double>& values)
{
    return *std::max_element(values.begin(), values.end());
}
}

// M = W L / 4 with the axle at mid-span; a step grid misses mid-span by up to half a step, where
// the ordinate falls by half of that.
TEST(AxlesCrossingASpan, OneAxleGivesTheQuarterSpanMomentAndTheFullReactionWithinOneStep)
{
    auto axle = makeVehicle({{100.0, 0.0}}, 1, 1);
    const double moment =
        largest(crossing(loadingOf(bridgeAt(300.0, BridgeEffect::midspanMoment)), *axle, 280.0, 340.0));
    EXPECT_LE(moment, 100.0 * span / 4.0 + 1e-9);
    EXPECT_GE(moment, 100.0 * span / 4.0 - 100.0 * 0.5 * travel / 2.0);

    const double reaction =
        largest(crossing(loadingOf(bridgeAt(300.0, BridgeEffect::supportShear)), *axle, 280.0, 340.0));
    EXPECT_LE(reaction, 100.0 + 1e-9);
    EXPECT_GE(reaction, 100.0 * (1.0 - travel / span));
}

// A 60 kN front axle 4 m ahead of a 120 kN rear axle. Mid-span moment: greatest with the rear
// axle at mid-span, 120 x 5 + 60 x 3 = 780 kN m; its slope is at most (60 + 120) / 2 per m.
// Reaction at the start: entering in direction 1 it peaks as the rear axle arrives,
// 60 x 0.8 + 120 = 168 kN; leaving in direction 2 as the front axle does, 60 + 120 x 0.8 = 156 kN.
TEST(AxlesCrossingASpan, TwoAxleTruckInEitherDirection)
{
    const std::vector<TestAxle> axles = {{60.0, 4.0}, {120.0, 0.0}};
    const double slopeBound = 180.0 / span;  // kN per m of travel, for the reaction
    for (int direction : {1, 2})
    {
        SCOPED_TRACE(direction);
        auto truck = makeVehicle(axles, direction, direction == 1 ? 1 : 3);
        // Direction 2 positions are measured from the road's far end.
        const double from = direction == 1 ? 280.0 : roadLength - 340.0;
        const double moment =
            largest(crossing(loadingOf(bridgeAt(300.0, BridgeEffect::midspanMoment)), *truck, from, from + 70.0));
        EXPECT_LE(moment, 780.0 + 1e-9);
        EXPECT_GE(moment, 780.0 - 90.0 * travel / 2.0);

        const double reaction =
            largest(crossing(loadingOf(bridgeAt(300.0, BridgeEffect::supportShear)), *truck, from, from + 70.0));
        const double exact = direction == 1 ? 168.0 : 156.0;
        EXPECT_LE(reaction, exact + 1e-9);
        EXPECT_GE(reaction, exact - slopeBound * travel);
    }
}

TEST(AxlesCrossingASpan, NothingBeforeOrAfterTheBridgeNorFromADirectionItDoesNotCarry)
{
    auto truck = makeVehicle({{60.0, 4.0}, {120.0, 0.0}}, 1, 2);
    const BridgeLoading both = loadingOf(bridgeAt(300.0, BridgeEffect::supportShear));
    TestLanes lanes(4);
    std::vector<PresentVehicle> present;
    lanes.place(*truck, 299.9);
    EXPECT_EQ(both.effect(lanes.lists(), present), 0.0);
    EXPECT_TRUE(present.empty());
    lanes.clear();
    lanes.place(*truck, 324.1);  // the rear axle just past the far support
    EXPECT_EQ(both.effect(lanes.lists(), present), 0.0);
    EXPECT_TRUE(present.empty());

    lanes.clear();
    lanes.place(*truck, 310.0);
    EXPECT_GT(both.effect(lanes.lists(), present), 0.0);
    ASSERT_EQ(present.size(), 1u);
    EXPECT_EQ(present[0].lane, 2);
    EXPECT_DOUBLE_EQ(present[0].frontX, 310.0);
    EXPECT_EQ(loadingOf(bridgeAt(300.0, BridgeEffect::supportShear, BridgeDirections::negative))
                  .effect(lanes.lists(), present),
              0.0);
}

// A vehicle whose axles straddle a short bridge loads it with none of them, yet is on it.
TEST(AxlesCrossingASpan, AVehicleStraddlingTheBridgeIsPresentWithoutLoad)
{
    Bridge shortBridge = bridgeAt(300.0, BridgeEffect::midspanMoment);
    shortBridge.span = 2.0;
    auto lowLoader = makeVehicle({{80.0, 9.0}, {80.0, 0.0}}, 1, 1);
    TestLanes lanes(4);
    lanes.place(*lowLoader, 306.0);
    std::vector<PresentVehicle> present;
    EXPECT_EQ(BridgeLoading(shortBridge, InfluenceLine::midspanMoment(2.0), twoByTwo()).effect(lanes.lists(), present),
              0.0);
    EXPECT_EQ(present.size(), 1u);
}

TEST(LaneFactors, TwoTrucksSideBySideGiveTheSumWithTheirLaneFactors)
{
    auto heavy = makeVehicle({{60.0, 4.0}, {120.0, 1.3}, {120.0, 0.0}}, 1, 1);
    auto light = makeVehicle({{40.0, 3.0}, {70.0, 0.0}}, 1, 2);
    Bridge bridge = bridgeAt(300.0, BridgeEffect::midspanMoment);
    const BridgeLoading alone = loadingOf(bridge);
    bridge.laneFactors = {{1, 1.0}, {2, 0.9}};
    const BridgeLoading factored = loadingOf(bridge);

    std::vector<PresentVehicle> present;
    for (double front = 295.0; front < 330.0; front += 1.7)
    {
        TestLanes one(4);
        one.place(*heavy, front);
        const double heavyEffect = alone.effect(one.lists(), present);
        TestLanes other(4);
        other.place(*light, front + 2.5);
        const double lightEffect = alone.effect(other.lists(), present);
        TestLanes both(4);
        both.place(*heavy, front);
        both.place(*light, front + 2.5);
        EXPECT_NEAR(factored.effect(both.lists(), present), heavyEffect + 0.9 * lightEffect, 1e-9) << front;
    }
}

TEST(InfluenceFile, AFileWithTheBuiltInLinesPointsGivesIdenticalEffects)
{
    TemporaryFolder folder;
    folder.write("moment.csv", "distance_m,ordinate\n0,0\n10,5\n20,0\n");
    folder.write("shear.csv", "0,1\r\n20,0\r\n");
    for (const auto& [effect, file] :
         {std::pair{BridgeEffect::midspanMoment, "moment.csv"}, std::pair{BridgeEffect::supportShear, "shear.csv"}})
    {
        SCOPED_TRACE(file);
        const Bridge builtIn = bridgeAt(300.0, effect);
        Bridge fromFile = builtIn;
        fromFile.effect = BridgeEffect::influenceFile;
        fromFile.influenceFile = file;
        const InfluenceLineResult read = InfluenceLineFile::load(fromFile, folder.path.string());
        ASSERT_TRUE(read.line) << read.problem;
        const BridgeLoading a = loadingOf(builtIn);
        const BridgeLoading b(fromFile, *read.line, twoByTwo());
        for (int direction : {1, 2})
        {
            auto truck = makeVehicle({{60.0, 4.0}, {120.0, 1.3}, {120.0, 0.0}}, direction, direction == 1 ? 1 : 4);
            const double from = direction == 1 ? 290.0 : roadLength - 330.0;
            EXPECT_EQ(crossing(a, *truck, from, from + 45.0), crossing(b, *truck, from, from + 45.0));
        }
    }
}

TEST(InfluenceFile, BadFilesAreRefusedNamingTheFileAndLine)
{
    TemporaryFolder folder;
    Bridge bridge = bridgeAt(300.0, BridgeEffect::influenceFile);
    auto problemWith = [&](const std::string& content) {
        bridge.influenceFile = "line.csv";
        folder.write("line.csv", content);
        return InfluenceLineFile::load(bridge, folder.path.string()).problem;
    };
    EXPECT_NE(problemWith("0,0\n10,x\n20,0\n").find("line.csv: line 2: expected two numbers"), std::string::npos);
    EXPECT_NE(problemWith("0,0\n10,1\n10,2\n").find("line 3: distance 10 m does not follow"), std::string::npos);
    EXPECT_NE(problemWith("0,0\n25,1\n").find("line 2: distance 25 m is off the bridge (0 to 20 m)"),
              std::string::npos);
    EXPECT_NE(problemWith("d,o\n5,1\n").find("two points or more"), std::string::npos);
    // Ordinates past 1e200 would let a step's sum of load effects overflow to infinity.
    EXPECT_NE(problemWith("0,0\n10,-1e201\n20,0\n").find("line 2: ordinate -1e201 is beyond 1e+200 either way"),
              std::string::npos);
    EXPECT_TRUE(problemWith("0,0\n10,1e160\n20,0\n").empty());
    bridge.influenceFile = "missing.csv";
    EXPECT_NE(InfluenceLineFile::load(bridge, folder.path.string())
                  .problem.find("missing.csv: the influence line file cannot be read"),
              std::string::npos);
}

// The three-moment equation's answer written the other way: M = P a b (L + a) / (4 L²), b = L − a.
TEST(TwoSpanSupportMoment, OneAxleAgainstTheFormulaAlongBothSpans)
{
    const double load = 100.0;  // kN
    auto axle = makeVehicle({{load, 0.0}}, 1, 1);
    const BridgeLoading loading = loadingOf(bridgeAt(300.0, BridgeEffect::continuousSupportMoment));
    std::vector<PresentVehicle> present;
    for (double distance : {-1.0, 0.0, 2.5, 5.0, 11.547, 15.0, 20.0, 27.0, 31.0, 38.5, 40.0, 41.0})
    {
        TestLanes lanes(4);
        lanes.place(*axle, 300.0 + distance);
        const double a = distance <= span ? distance : 2.0 * span - distance;
        const double expected = a < 0.0 ? 0.0 : load * a * (span - a) * (span + a) / (4.0 * span * span);
        EXPECT_NEAR(loading.effect(lanes.lists(), present), expected, 1e-9) << distance;
    }
    // Its largest value, at a = L / √3: P L / (6 √3).
    TestLanes atPeak(4);
    atPeak.place(*axle, 300.0 + span / std::sqrt(3.0));
    EXPECT_NEAR(loading.effect(atPeak.lists(), present), load * span / (6.0 * std::sqrt(3.0)), 1e-9);
}
