// The engine's shortcuts must give exactly what the plain computation gives: whole powers bit for
// bit, and bounds that never fall below the acceleration they stand in for.
#include "IDMFixtures.h"

#include "vehicles/WholePower.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

TEST(WholePower, EqualsPowBitForBit)
{
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> ratio(0.0, 1.6);
    std::uniform_real_distribution<double> exponent(-200.0, 200.0);
    for (int n = 1; n <= 8; ++n)
        for (int i = 0; i < 20000; ++i)
        {
            // Ratios v/v0 as the driver model meets them, and bases over most of the range.
            const double x = i % 2 == 0 ? ratio(random) : std::exp2(exponent(random));
            ASSERT_EQ(std::bit_cast<std::uint64_t>(wholePower(x, n)),
                      std::bit_cast<std::uint64_t>(std::pow(x, static_cast<double>(n))))
                << x << "^" << n;
        }
    EXPECT_EQ(wholePower(0.0, 4), 0.0);
    EXPECT_EQ(wholePower(1.0, 4), 1.0);
    EXPECT_EQ(wholePower(0.5, 4), 0.0625);
}

// The shortcut trusts pow to round x^n to the nearest double unless x^n lies within about 0.01
// units of the halfway point between two doubles. Put that trust to the test where it is
// tightest: ratios whose power lies just inside the band the shortcut keeps.
TEST(WholePower, EqualsPowNearTheHalfwayPoints)
{
    std::mt19937_64 random(19);
    std::uniform_real_distribution<double> ratio(0.0625, 1.6);
    int tested = 0;
    for (int i = 0; i < 2000000; ++i)
    {
        const double x = ratio(random);
        for (int n : {4, 8})
        {
            // 64 bits of x^n: its distance from the nearest double to about 0.002 units.
            long double power = x;
            for (int k = 1; k < n; ++k)
                power *= x;
            const double nearest = static_cast<double>(power);
            const long double unit = std::nextafter(nearest, 2.0 * nearest) - nearest;
            const long double distance = std::fabs(power - static_cast<long double>(nearest)) / unit;
            if (distance < 0.47L)
                continue;
            ++tested;
            ASSERT_EQ(std::bit_cast<std::uint64_t>(wholePower(x, n)),
                      std::bit_cast<std::uint64_t>(std::pow(x, static_cast<double>(n))))
                << x << "^" << n << " lies " << static_cast<double>(distance) << " units from a double";
        }
    }
    EXPECT_GT(tested, 100000);
}

TEST(WholePower, KnowsOnlySmallWholeExponents)
{
    EXPECT_EQ(smallWholeExponent(4.0), 4);
    EXPECT_EQ(smallWholeExponent(1.0), 1);
    EXPECT_EQ(smallWholeExponent(8.0), 8);
    EXPECT_EQ(smallWholeExponent(4.5), 0);
    EXPECT_EQ(smallWholeExponent(9.0), 0);
    EXPECT_EQ(smallWholeExponent(0.0), 0);
    EXPECT_EQ(smallWholeExponent(std::nan("")), 0);
}

// Velocities (m/s), approach rates (m/s) and gaps (m) over what a run meets, and beyond.
struct Situation
{
    double v;
    double dv;
    double gap;
};

std::vector<Situation> situations()
{
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> velocity(0.0, 45.0);
    std::uniform_real_distribution<double> approach(-20.0, 20.0);
    std::uniform_real_distribution<double> logGap(-3.0, 4.0);
    std::vector<Situation> all;
    for (int i = 0; i < 50000; ++i)
        all.push_back({velocity(random), approach(random), std::pow(10.0, logGap(random))});
    all.push_back({0.0, 0.0, 1.0e-6});
    all.push_back({-0.0, 0.0, 5.0});
    all.push_back({30.0, 30.0, 0.01});
    return all;
}

TEST(AccelerationBounds, NeverBelowTheAcceleration)
{
    for (double s1 : {0.0, 10.0, -2.0})
        for (double delta : {4.0, 3.5})
        {
            IDM model = workedIDM(s1);
            model.setDelta(delta);
            // A bound made for one v0 must not serve another: a section changes v0 between.
            model.accelerationBound(20.0);
            model.accelerationBoundBehind(20.0, 1.0, 30.0);
            model.enterSpeedLimit(19.0);
            int known = 0;
            for (const Situation& at : situations())
            {
                const double acceleration = model.accelerationAt(at.v, at.dv, at.gap);
                ASSERT_GE(model.accelerationBound(at.v), acceleration) << at.v;
                const double bound = model.accelerationBoundBehind(at.v, at.dv, at.gap);
                if (std::isnan(bound))
                    continue;
                ++known;
                ASSERT_GE(bound, acceleration) << at.v << " " << at.dv << " " << at.gap;
                ASSERT_GE(bound, IDM::emergencyDeceleration);
            }
#if defined(__SSE__)
            // The bound is there to be used: it is known wherever the vehicle would not brake
            // harder than the emergency deceleration, most of these situations.
            EXPECT_GT(known, 25000);
#endif
        }
}

TEST(AccelerationBounds, UnknownWhereTheModelCannotBeEvaluated)
{
    const IDM model = workedIDM();
    EXPECT_TRUE(std::isnan(model.accelerationBoundBehind(10.0, 0.0, 0.0)));
    EXPECT_TRUE(std::isnan(model.accelerationBoundBehind(10.0, 0.0, -3.0)));
    EXPECT_TRUE(std::isnan(model.accelerationBoundBehind(10.0, 0.0, std::nan(""))));
    EXPECT_TRUE(std::isnan(model.accelerationBoundBehind(std::nan(""), 0.0, 20.0)));
}

// The driver keeps the terms of its last velocity: every change of v0, delta, a or b must reach
// the next evaluation at that same velocity, as it would reach a driver that kept nothing.
TEST(KeptSpeedTerms, FollowEveryChangeOfTheParameters)
{
    constexpr double v = 20.0;  // m/s
    const auto sameAsFresh = [](const IDM& kept, const IDM& fresh, const char* change) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(kept.accelerationAt(v, 1.0, 30.0)),
                  std::bit_cast<std::uint64_t>(IDM(fresh).accelerationAt(v, 1.0, 30.0)))
            << change;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(kept.accelerationBound(v)),
                  std::bit_cast<std::uint64_t>(IDM(fresh).accelerationBound(v)))
            << change;
    };
    IDM model = workedIDM();
    model.accelerationAt(v, 1.0, 30.0);

    model.enterSpeedLimit(15.0);
    IDM limited = workedIDM();
    limited.setV0(15.0 / kmhFactor);
    limited.enterSpeedLimit(15.0);
    sameAsFresh(model, limited, "speed limit entered");

    model.leaveSpeedLimit();
    sameAsFresh(model, workedIDM(), "speed limit left");

    model.enterGradient(6.0);
    IDM climbing = workedIDM();
    climbing.enterGradient(6.0);
    EXPECT_NE(climbing.getV0(), workedIDM().getV0());
    sameAsFresh(model, climbing, "gradient entered");

    model.leaveGradient();
    sameAsFresh(model, workedIDM(), "gradient left");

    model.setDelta(2.0);
    IDM squared = workedIDM();
    squared.setDelta(2.0);
    sameAsFresh(model, squared, "delta");

    model.setA(0.0);
    EXPECT_EQ(model.accelerationAt(v, 1.0, 30.0), IDM::emergencyDeceleration);
    model.setA(1.0);
    model.setB(0.0);
    EXPECT_EQ(model.accelerationAt(v, 1.0, 30.0), IDM::emergencyDeceleration);
    model.setB(2.0);
    model.setV0(0.0);
    EXPECT_EQ(model.accelerationAt(v, 1.0, 30.0), IDM::emergencyDeceleration);
}

// The lane-change rule written out plainly, with no bound and no early return: every
// acceleration exact, every candidate through the driver's rule.
static double plainIncentive(const Vehicle& deciding, const Vehicle* leader, const Vehicle* follower, bool biasAway)
{
    const double minGap = deciding.laneChangeMinGap;
    double gapAhead = deciding.entryGap;
    double ownGain = deciding.accelerationFree() - deciding.acceleration;
    if (leader)
    {
        gapAhead = leader->position - leader->length - deciding.position;
        ownGain = gapAhead < minGap
                      ? Vehicle::prohibitiveAcceleration
                      : deciding.idm.accelerationAt(deciding.velocity, deciding.velocity - leader->velocity, gapAhead) -
                            deciding.acceleration;
    }
    double gapBehind = deciding.entryGap;
    double followerNow = deciding.safeDeceleration;
    double followerAfter = deciding.safeDeceleration;
    if (follower)
    {
        gapBehind = deciding.position - deciding.length - follower->position;
        followerAfter = gapBehind < minGap ? Vehicle::prohibitiveAcceleration : follower->accelerationBehind(deciding);
        followerNow = leader && gapAhead > minGap ? follower->accelerationBehind(*leader) : follower->acceleration;
    }
    return deciding.idm.laneChangeIncentive(gapAhead, gapBehind, ownGain, followerNow, followerAfter, biasAway);
}

// The decision's shortcuts (the side test before any search, the bound behind the new leader)
// may only skip work: each candidate's incentive is the plain rule's bit for bit, and a side
// ruled out before the search gets none from any leader.
TEST(LaneChangeShortcuts, GiveThePlainRulesIncentive)
{
    std::mt19937_64 random(23);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto between = [&](double low, double high) { return low + (high - low) * unit(random); };
    int boundDecided = 0;
    int paid = 0;
    int sidesRuledOut = 0;
    for (int i = 0; i < 40000; ++i)
    {
        const IDM model = workedIDM(i % 3 == 0 ? 10.0 : 0.0, between(-0.2, 1.0), between(0.0, 0.5), between(0.0, 0.4));
        auto deciding = vehicleAt(500.0, between(0.0, 40.0), between(4.0, 18.0), model);
        deciding->setRoad(5000, i % 2 == 0);
        deciding->acceleration = between(-4.0, 1.5);
        auto leader = vehicleAt(500.0 + between(-5.0, 150.0), between(0.0, 40.0), between(4.0, 18.0), model);
        auto follower = vehicleAt(500.0 - between(0.0, 120.0), between(0.0, 40.0), between(4.0, 18.0), model);
        follower->acceleration = between(-4.0, 1.5);
        const Vehicle* leaders[] = {leader.get(), nullptr};
        const Vehicle* followers[] = {follower.get(), nullptr};
        const double bestGain = deciding->bestLaneChangeGain();
        for (bool left : {true, false})
        {
            const bool biasAway = left == deciding->drivesOnRight;
            const bool mayPay = deciding->sideMayPay(bestGain, left);
            sidesRuledOut += mayPay ? 0 : 1;
            for (const Vehicle* newLeader : leaders)
                for (const Vehicle* newFollower : followers)
                {
                    const double plain = plainIncentive(*deciding, newLeader, newFollower, biasAway);
                    const double fast = deciding->laneChangeIncentive(newLeader, newFollower, biasAway);
                    ASSERT_EQ(std::bit_cast<std::uint64_t>(fast), std::bit_cast<std::uint64_t>(plain)) << i;
                    if (!mayPay)
                    {
                        ASSERT_EQ(plain, 0.0) << i;
                    }
                    paid += plain > 0.0 ? 1 : 0;
                    if (!newLeader)
                        continue;
                    const double gapAhead = newLeader->position - newLeader->length - deciding->position;
                    const double bound = deciding->idm.accelerationBoundBehind(
                        deciding->velocity, deciding->velocity - newLeader->velocity, gapAhead);
                    if (gapAhead >= deciding->laneChangeMinGap &&
                        deciding->idm.changeCannotPay(gapAhead, bound - deciding->acceleration, biasAway))
                        ++boundDecided;
                }
        }
    }
    // Each way through the decision is taken often.
    EXPECT_GT(boundDecided, 10000);
    EXPECT_GT(paid, 10000);
    EXPECT_GT(sidesRuledOut, 10000);
}
