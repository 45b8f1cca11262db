#include "IDMFixtures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::_;
using ::testing::DoubleEq;
using ::testing::Return;

TEST(IDMLaneChangeRule, WorkedValues)
{
    const IDM model = workedIDM();
    EXPECT_NEAR(model.laneChangeIncentive(30.0, 20.0, 0.5, 0.2, -0.4, false), 0.5, 1e-12);
    EXPECT_EQ(model.laneChangeIncentive(30.0, 20.0, 0.5, 0.2, -0.4, true), 0.0);
}

TEST(IDMLaneChangeRule, SafetyLimitsAreInclusive)
{
    const IDM model = workedIDM(0.0, 0.0, 0.0, 0.2);
    EXPECT_NEAR(model.laneChangeIncentive(2.0, 2.0, 1.0, 0.0, -12.0, false), 1.0, 1e-12);
    EXPECT_EQ(model.laneChangeIncentive(1.999, 20.0, 1.0, 0.0, 0.0, false), 0.0);
    EXPECT_EQ(model.laneChangeIncentive(20.0, 1.999, 1.0, 0.0, 0.0, false), 0.0);
    EXPECT_EQ(model.laneChangeIncentive(20.0, 20.0, 1.0, 0.0, -12.001, false), 0.0);
}

TEST(IDMLaneChangeRule, ThresholdPolitenessAndFollowerGain)
{
    // Exactly the threshold is not enough.
    const IDM model = workedIDM(0.0, 0.5, 0.0, 0.2);
    EXPECT_EQ(model.laneChangeIncentive(30.0, 30.0, 0.2, 0.0, 0.0, false), 0.0);
    // A new follower who gains does not count in favour of the change.
    EXPECT_NEAR(model.laneChangeIncentive(30.0, 30.0, 0.5, -1.0, 0.5, false), 0.5, 1e-12);
    // With p = 0 the follower's braking matters only through the safety test.
    const IDM selfish = workedIDM(0.0, 0.0, 0.0, 0.2);
    EXPECT_NEAR(selfish.laneChangeIncentive(30.0, 30.0, 0.5, 1.0, -11.0, false), 0.5, 1e-12);
}

// Records what the vehicle assembles for its driver's rule.
class RecordingDriver : public DriverModel
{
public:
    MOCK_METHOD(double, getDesiredVelocity, (), (const, override));
    MOCK_METHOD(double, getAcceleration, (double dv, double gap), (const, override));
    MOCK_METHOD(void, setVelocity, (double v), (override));
    MOCK_METHOD(double, laneChangeIncentive,
                (double gapAhead, double gapBehind, double ownGain, double followerAccNow, double followerAccAfter,
                 bool biasAway),
                (const, override));
};

class LaneChangeAssembly : public ::testing::Test
{
protected:
    void SetUp() override
    {
        deciding = vehicleAt(100.0, 20.0, 5.0);
        deciding->acceleration = 0.25;
        deciding->driver = &driver;
        ON_CALL(driver, getAcceleration(_, _)).WillByDefault(Return(1.0));
    }

    testing::NiceMock<RecordingDriver> driver;
    std::unique_ptr<Vehicle> deciding;
};

TEST_F(LaneChangeAssembly, EmptyLaneUsesEntryGapsAndFreeRoad)
{
    EXPECT_CALL(driver, getAcceleration(DoubleEq(20.0), DoubleEq(6000.0 - 100.0)));
    EXPECT_CALL(driver, laneChangeIncentive(27.0, 27.0, DoubleEq(0.75), -12.0, -12.0, true));
    deciding->laneChangeIncentive(nullptr, nullptr, true);
}

TEST_F(LaneChangeAssembly, LeaderAndFollowerInTheCandidateLane)
{
    auto leader = vehicleAt(140.0, 15.0, 10.0);
    auto follower = vehicleAt(80.0, 25.0, 5.0);
    follower->acceleration = -0.5;
    const double afterChange = follower->accelerationBehind(*deciding);
    const double now = follower->accelerationBehind(*leader);
    EXPECT_CALL(driver, getAcceleration(DoubleEq(5.0), DoubleEq(30.0)));
    EXPECT_CALL(driver, laneChangeIncentive(DoubleEq(30.0), DoubleEq(15.0), DoubleEq(0.75), DoubleEq(now),
                                            DoubleEq(afterChange), false));
    deciding->laneChangeIncentive(leader.get(), follower.get(), false);
}

TEST_F(LaneChangeAssembly, LeaderAtTheMinimumGapKeepsTheFollowersStoredAcceleration)
{
    auto leader = vehicleAt(112.0, 15.0, 10.0);
    auto follower = vehicleAt(80.0, 25.0, 5.0);
    follower->acceleration = -0.5;
    EXPECT_CALL(driver, laneChangeIncentive(DoubleEq(2.0), _, DoubleEq(0.75), -0.5, _, false));
    deciding->laneChangeIncentive(leader.get(), follower.get(), false);
}

TEST_F(LaneChangeAssembly, TooCloseOnEitherSideIsProhibitive)
{
    auto level = vehicleAt(100.0, 15.0, 10.0);  // front level with the deciding vehicle
    auto close = vehicleAt(94.0, 25.0, 5.0);
    close->acceleration = 0.1;
    EXPECT_CALL(driver, getAcceleration(_, _)).Times(0);
    EXPECT_CALL(driver, laneChangeIncentive(DoubleEq(-10.0), DoubleEq(1.0), -1000000.0, 0.1, -1000000.0, false));
    deciding->laneChangeIncentive(level.get(), close.get(), false);
}

TEST(LaneChangeDecision, HypotheticalEvaluationsChangeNoVehicle)
{
    auto deciding = vehicleAt(100.0, 20.0);
    auto leader = vehicleAt(140.0, 15.0, 10.0);
    auto follower = vehicleAt(80.0, 25.0);
    follower->acceleration = -0.5;
    deciding->decideLaneChange(leader.get(), follower.get(), nullptr, nullptr, true, true);
    EXPECT_EQ(follower->acceleration, -0.5);
    EXPECT_EQ(follower->position, 80.0);
    EXPECT_EQ(leader->position, 140.0);
    EXPECT_EQ(deciding->velocity, 20.0);
}

// A vehicle cruising at its free-road acceleration: no gain on an empty neighbour lane.
static std::unique_ptr<Vehicle> cruising(const IDM& model, bool onRight)
{
    auto v = vehicleAt(100.0, 20.0, 5.0, model);
    v->setRoad(5000, onRight);
    v->acceleration = v->accelerationFree();
    return v;
}

TEST(LaneChangeDecision, BiasPullsTowardsTheKerbOnly)
{
    const IDM biased = workedIDM(0.0, 0.5, 0.5, 0.3);
    auto right = cruising(biased, true);
    EXPECT_EQ(right->decideLaneChange(nullptr, nullptr, nullptr, nullptr, true, true), 2);
    EXPECT_EQ(right->decideLaneChange(nullptr, nullptr, nullptr, nullptr, true, false), 0);
    auto left = cruising(biased, false);
    EXPECT_EQ(left->decideLaneChange(nullptr, nullptr, nullptr, nullptr, true, true), 1);
    EXPECT_EQ(left->decideLaneChange(nullptr, nullptr, nullptr, nullptr, false, true), 0);
}

TEST(LaneChangeDecision, TiesGoRightAndTinyIncentivesDoNotCount)
{
    auto slowed = vehicleAt(100.0, 20.0, 5.0, workedIDM(0.0, 0.5, 0.0, 0.2));
    slowed->acceleration = -1.0;
    EXPECT_EQ(slowed->decideLaneChange(nullptr, nullptr, nullptr, nullptr, true, true), 2);
    EXPECT_EQ(slowed->decideLaneChange(nullptr, nullptr, nullptr, nullptr, false, false), 0);

    // A negative threshold lets the rule return tiny incentives; the decision still needs
    // 0.0001 m/s².
    auto content = cruising(workedIDM(0.0, 0.5, 0.0, -1.0), true);
    content->acceleration += 0.00005;
    EXPECT_EQ(content->decideLaneChange(nullptr, nullptr, nullptr, nullptr, true, true), 0);
}

TEST(LaneChangeDecision, BetterSideWins)
{
    auto v = vehicleAt(100.0, 20.0, 5.0, workedIDM(0.0, 0.5, 0.0, 0.2));
    auto slowLeader = vehicleAt(130.0, 5.0, 10.0);
    v->acceleration = v->accelerationBehind(*vehicleAt(125.0, 10.0, 10.0));
    // Left is empty, right has a slow leader close ahead.
    EXPECT_EQ(v->decideLaneChange(nullptr, nullptr, slowLeader.get(), nullptr, true, true), 1);
    EXPECT_EQ(v->decideLaneChange(slowLeader.get(), nullptr, nullptr, nullptr, true, true), 2);
}

// The incentive written out in full, evaluating every acceleration, as the rule reads.
static double fullIncentive(const Vehicle& v, const Vehicle* leader, const Vehicle* follower, bool biasAway)
{
    double gapAhead = v.entryGap, gapBehind = v.entryGap;
    double followerNow = v.safeDeceleration, followerAfter = v.safeDeceleration;
    double ownGain = v.accelerationFree() - v.acceleration;
    if (leader)
    {
        gapAhead = leader->position - leader->length - v.position;
        ownGain = gapAhead < v.laneChangeMinGap ? -1000000.0 : v.accelerationBehind(*leader) - v.acceleration;
    }
    if (follower)
    {
        gapBehind = v.position - v.length - follower->position;
        followerAfter = gapBehind < v.laneChangeMinGap ? -1000000.0 : follower->accelerationBehind(v);
        followerNow =
            leader && gapAhead > v.laneChangeMinGap ? follower->accelerationBehind(*leader) : follower->acceleration;
    }
    return v.getDriverModel()->laneChangeIncentive(gapAhead, gapBehind, ownGain, followerNow, followerAfter, biasAway);
}

TEST(LaneChangeDecision, SkippingHopelessCandidatesChangesNoIncentive)
{
    for (double politeness : {0.0, 0.5, 2.0})
        for (double threshold : {-0.5, 0.0, 0.3})
            for (double leaderAt : {101.0, 108.0, 115.0, 160.0})
                for (double followerAt : {70.0, 90.0, 94.0})
                    for (double ownAcc : {-2.0, 0.0, 0.8})
                        for (bool away : {false, true})
                        {
                            auto v = vehicleAt(100.0, 20.0, 5.0, workedIDM(0.0, politeness, 0.3, threshold));
                            v->acceleration = ownAcc;
                            auto leader = vehicleAt(leaderAt, 18.0, 5.0);
                            auto follower = vehicleAt(followerAt, 24.0, 5.0);
                            follower->acceleration = -0.3;
                            EXPECT_EQ(v->laneChangeIncentive(leader.get(), follower.get(), away),
                                      fullIncentive(*v, leader.get(), follower.get(), away))
                                << politeness << " " << threshold << " " << leaderAt << " " << followerAt << " "
                                << ownAcc << " " << away;
                        }
}
