#include "IDMFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(IDMCarFollowing, WorkedValues)
{
    IDM model = workedIDM();
    model.setVelocity(20.0);
    EXPECT_NEAR(model.desiredGap(0.0), 32.0, 1e-5);
    EXPECT_NEAR(model.getAcceleration(0.0, 50.0), 0.392869, 1e-5);

    IDM elastic = workedIDM(3.0);
    elastic.setVelocity(20.0);
    EXPECT_NEAR(elastic.desiredGap(5.0), 69.8048, 1e-4);
    EXPECT_NEAR(elastic.getAcceleration(5.0, 50.0), -1.14662, 1e-5);
}

TEST(IDMCarFollowing, DesiredGapTerms)
{
    IDM model = workedIDM(3.0);
    model.setVelocity(20.0);
    // Falling back never shortens the desired gap below its static part.
    const double staticGap = 2.0 + 3.0 * std::sqrt(20.0 / model.getV0()) + 1.5 * 20.0;
    EXPECT_DOUBLE_EQ(model.desiredGap(-5.0), staticGap);
    EXPECT_GT(model.desiredGap(5.0), staticGap);

    model.setVelocity(0.0);
    EXPECT_DOUBLE_EQ(model.desiredGap(0.0), 2.0);
}

TEST(IDMCarFollowing, FreeRoadLimits)
{
    IDM model = workedIDM();
    model.setVelocity(0.0);
    EXPECT_NEAR(model.getAcceleration(0.0, 1.0e6), 1.0, 1e-9);

    // At the desired velocity only the interaction with the far obstacle is left.
    model.setVelocity(model.getV0());
    const double atV0 = model.getAcceleration(model.getV0(), 6000.0);
    EXPECT_LT(atV0, 0.0);
    EXPECT_GT(atV0, -0.01);

    IDM noExponent = workedIDM();
    noExponent.setDelta(0.0);
    for (double v : {0.0, 10.0, 30.0, 45.0})
    {
        noExponent.setVelocity(v);
        EXPECT_NEAR(noExponent.getAcceleration(0.0, 1.0e9), 0.0, 1e-9) << v;
    }
}

TEST(IDMCarFollowing, StrongBrakingIsReturnedUnchanged)
{
    IDM model = workedIDM();
    model.setVelocity(20.0);
    const double acc = model.getAcceleration(10.0, 5.0);
    const double sStar = model.desiredGap(10.0);
    const double expected = 1.0 * (1.0 - std::pow(20.0 / model.getV0(), 4.0)) - 1.0 * ((sStar / 5.0) * (sStar / 5.0));
    EXPECT_LT(acc, -12.0);
    EXPECT_DOUBLE_EQ(acc, expected);
}

TEST(IDMParameters, SettersAndKmhConversion)
{
    IDM model;
    EXPECT_EQ(model.getV0(), 0.0);
    EXPECT_FALSE(model.isGradientActive());
    EXPECT_FALSE(model.isSpeedLimitActive());

    model.setV0(100.0);
    EXPECT_DOUBLE_EQ(model.getV0(), 100.0 * 0.27777778);
    EXPECT_NEAR(model.getV0(), 27.777778, 1e-6);
    EXPECT_NE(model.getV0(), 100.0 / 3.6);
    EXPECT_DOUBLE_EQ(model.getDesiredVelocity(), model.getV0());

    model.setPoliteness(0.5);
    model.setBias(0.3);
    model.setThreshold(0.2);
    EXPECT_EQ(model.getPoliteness(), 0.5);
    EXPECT_EQ(model.getBias(), 0.3);
    EXPECT_EQ(model.getThreshold(), 0.2);

    IDM copy = model;
    copy.enterSpeedLimit(10.0);
    EXPECT_TRUE(copy.isSpeedLimitActive());
    EXPECT_FALSE(model.isSpeedLimitActive());
    IDM assigned;
    assigned = copy;
    EXPECT_TRUE(assigned.isSpeedLimitActive());
    EXPECT_EQ(assigned.getV0(), 10.0);
}

// The model is undefined for overlapping vehicles and for drivers without a desired
// velocity, acceleration or deceleration: it must still return a finite braking value.
TEST(IDMGuards, UndefinedSituationsGiveFiniteEmergencyBraking)
{
    IDM model = workedIDM(3.0);
    model.setVelocity(20.0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double gap : {0.0, -0.0, -3.0, nan})
        EXPECT_EQ(model.getAcceleration(2.0, gap), IDM::emergencyDeceleration) << gap;

    const auto withBad = [](void (IDM::*setter)(double), double value) {
        IDM bad = workedIDM(3.0);
        (bad.*setter)(value);
        bad.setVelocity(20.0);
        return bad.getAcceleration(2.0, 50.0);
    };
    for (double value : {0.0, -1.0, nan})
    {
        EXPECT_EQ(withBad(&IDM::setA, value), IDM::emergencyDeceleration) << value;
        EXPECT_EQ(withBad(&IDM::setB, value), IDM::emergencyDeceleration) << value;
        EXPECT_EQ(withBad(&IDM::setV0, value), IDM::emergencyDeceleration) << value;
    }

    // Overflow on a tiny positive gap is caught too.
    model.setVelocity(1.0e200);
    EXPECT_EQ(model.getAcceleration(1.0e200, 1.0e-200), IDM::emergencyDeceleration);
}

TEST(IDMProperties, FiniteAndEquilibriumOverAGrid)
{
    IDM model = workedIDM(3.0);
    const double v0 = model.getV0();
    for (double v = 0.0; v <= 45.0; v += 2.5)
    {
        model.setVelocity(v);
        for (double gap = 0.05; gap < 600.0; gap *= 1.7)
        {
            for (double dv = -15.0; dv <= 15.0; dv += 5.0)
            {
                const double acc = model.getAcceleration(dv, gap);
                ASSERT_TRUE(std::isfinite(acc)) << v << " " << gap << " " << dv;
                ASSERT_LE(acc, 1.0) << v << " " << gap << " " << dv;
            }
            // More room never means harder braking.
            EXPECT_GE(model.getAcceleration(0.0, gap * 1.7), model.getAcceleration(0.0, gap));
        }
        if (v > 0.0 && v < v0)
        {
            // Following a leader of the same speed at the equilibrium spacing.
            const double equilibriumGap = model.desiredGap(0.0) / std::sqrt(1.0 - std::pow(v / v0, 4.0));
            EXPECT_NEAR(model.getAcceleration(0.0, equilibriumGap), 0.0, 1e-9) << v;
        }
    }
}
