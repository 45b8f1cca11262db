#include "vehicles/DriverModelDraw.h"

#include "config/CConfigData.h"
#include "config/MersenneTwister.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
constexpr double kmhToMs = 0.27777778;

class DriverModelDrawTest : public testing::Test
{
protected:
    void SetUp() override { theRandomGenerator.seed(777u); }
    void TearDown() override { theRandomGenerator.seedFromSystem(); }
};

void makeConstant(CParameter& parameter, double value)
{
    parameter.getDistribution().setType(CDistribution::constant);
    parameter.getDistribution().setLocation(value);
}

void makeEveryParameterConstant(CIDMParameterSet& set)
{
    makeConstant(set.getParamT(), 1.5);
    makeConstant(set.getParamA(), 0.8);
    makeConstant(set.getParamB(), 1.7);
    makeConstant(set.getParamS0(), 2.0);
    makeConstant(set.getParamS1(), 5.0);
    makeConstant(set.getParamV0(), 90.0);
}
}

TEST_F(DriverModelDrawTest, DrawsEachParameterOnceInMemberOrder)
{
    CIDMParameterSet set;
    set.getParamP().getDistribution().setType(CDistribution::exponential);
    set.getParamP().getDistribution().setScale(0.1);
    // The same ten draws made by hand from an identically seeded generator.
    const CIDMParameterSet replay = set;
    const double t = replay.getParamT().generate();
    const double a = replay.getParamA().generate();
    const double b = replay.getParamB().generate();
    const double s0 = replay.getParamS0().generate();
    const double s1 = replay.getParamS1().generate();
    const double v0 = replay.getParamV0().generate();
    const double p = replay.getParamP().generate();
    const std::uint32_t after = theRandomGenerator.next();

    theRandomGenerator.seed(777u);
    const IDM model = drawDriverModel(set);
    EXPECT_EQ(model.getT(), t);
    EXPECT_EQ(model.getA(), a);
    EXPECT_EQ(model.getB(), b);
    EXPECT_EQ(model.getS0(), s0);
    EXPECT_EQ(model.getS1(), s1);
    EXPECT_DOUBLE_EQ(model.getV0(), v0 * kmhToMs);
    EXPECT_EQ(model.getDelta(), 4.0);
    EXPECT_EQ(model.getPoliteness(), p);
    EXPECT_EQ(model.getBias(), 0.1);
    EXPECT_EQ(model.getThreshold(), 0.3);
    EXPECT_EQ(theRandomGenerator.next(), after);
}

TEST_F(DriverModelDrawTest, ConstantSetsGiveIdenticalModelsWithoutTouchingTheGenerator)
{
    CIDMParameterSet set;
    makeEveryParameterConstant(set);
    MersenneTwister reference;
    reference.seed(777u);
    const IDM first = drawDriverModel(set);
    const IDM second = drawDriverModel(set);
    EXPECT_EQ(first.getT(), second.getT());
    EXPECT_EQ(first.getV0(), second.getV0());
    EXPECT_DOUBLE_EQ(first.getV0(), 90.0 * kmhToMs);
    EXPECT_EQ(theRandomGenerator.next(), reference.next());
}

TEST_F(DriverModelDrawTest, UnusableDrawsOfAccelerationDecelerationAndDesiredVelocityAreReplaced)
{
    CIDMParameterSet set;
    makeEveryParameterConstant(set);
    makeConstant(set.getParamA(), -1.0);
    makeConstant(set.getParamB(), 0.0);
    makeConstant(set.getParamV0(), std::numeric_limits<double>::quiet_NaN());
    const IDM model = drawDriverModel(set);
    EXPECT_EQ(model.getA(), DriverModelDraw::fallbackAcceleration);
    EXPECT_EQ(model.getB(), DriverModelDraw::fallbackDeceleration);
    EXPECT_DOUBLE_EQ(model.getV0(), DriverModelDraw::fallbackDesiredVelocityKmh * kmhToMs);
    // Positive in km/h, yet zero once converted to m/s.
    makeConstant(set.getParamV0(), std::numeric_limits<double>::denorm_min());
    EXPECT_DOUBLE_EQ(drawDriverModel(set).getV0(), DriverModelDraw::fallbackDesiredVelocityKmh * kmhToMs);
}

TEST_F(DriverModelDrawTest, NonPositiveRandomDrawsAreDrawnAgain)
{
    CIDMParameterSet set;
    makeEveryParameterConstant(set);
    // About half of these draws are not above zero.
    set.getParamB().getDistribution().setType(CDistribution::normal);
    set.getParamB().getDistribution().setLocation(0.0);
    set.getParamB().getDistribution().setScale(1.0);
    for (int i = 0; i < 200; ++i)
    {
        const double b = drawDriverModel(set).getB();
        EXPECT_GT(b, 0.0);
        EXPECT_NE(b, DriverModelDraw::fallbackDeceleration);
    }
}

TEST_F(DriverModelDrawTest, NonFiniteDrawsOfOtherParametersTakeTheirDefaults)
{
    CIDMParameterSet set;
    makeEveryParameterConstant(set);
    // A shape of 0 divides by zero: every draw is not a number.
    set.getParamT().getDistribution().setType(CDistribution::gev);
    makeConstant(set.getParamS1(), std::numeric_limits<double>::infinity());
    makeConstant(set.getParamDeltaAth(), -std::numeric_limits<double>::infinity());
    const IDM model = drawDriverModel(set);
    EXPECT_EQ(model.getT(), 1.2);
    EXPECT_EQ(model.getS1(), 10.0);
    EXPECT_EQ(model.getThreshold(), 0.3);
    // Negative values are the user's choice where the model accepts them.
    makeConstant(set.getParamP(), -0.5);
    EXPECT_EQ(drawDriverModel(set).getPoliteness(), -0.5);
}

TEST_F(DriverModelDrawTest, ModelsDrawnUnderANonsenseConfigurationStillGiveFiniteAccelerations)
{
    const double savedSafeDeceleration = theConfigData.safeDeceleration;
    const double savedHeadwayStep = theConfigData.gradientHeadwayStep;
    const double savedSpeedStep = theConfigData.gradientSpeedStep;
    theConfigData.safeDeceleration = 5.0;
    theConfigData.gradientHeadwayStep = 0.0;
    theConfigData.gradientSpeedStep = 0.0;
    IDM model = drawDriverModel(CIDMParameterSet());
    theConfigData.safeDeceleration = savedSafeDeceleration;
    theConfigData.gradientHeadwayStep = savedHeadwayStep;
    theConfigData.gradientSpeedStep = savedSpeedStep;

    model.enterGradient(6.0);
    for (double velocity : {0.0, 10.0, 40.0})
    {
        model.setVelocity(velocity);
        for (double gap : {0.5, 5.0, 500.0})
            EXPECT_TRUE(std::isfinite(model.getAcceleration(2.0, gap))) << velocity << " m/s, " << gap << " m";
    }
}
