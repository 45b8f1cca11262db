// The fits against an independent reference: R's evd package on its portpirie data, 65 annual
// maximum sea levels (metres) at Port Pirie, South Australia. The figures are R's, from
//   m <- fgev(portpirie); q <- fgev(portpirie, prob = 0.01); g <- fgev(portpirie, shape = 0)
//   confint(profile(q, which = "quantile"), parm = "quantile"); anova(m, g)
#include "extremes/PortPirie.h"
#include "extremes/ExtremeFit.h"
#include "extremes/LikelihoodRatio.h"
#include "extremes/ReturnLevels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// R's optimiser stops a little short of the optimum: its estimates agree to about 1e-5, and its
// standard errors, from the Hessian at its own stopping point, to a few parts in a thousand.
void expectNearRelative(double actual, double expected, double relative)
{
    EXPECT_NEAR(actual, expected, relative * std::abs(expected));
}
}

TEST(PortPirie, GevEstimatesAndStandardErrorsMatchR)
{
    const ExtremeFit gev = Extremes::fitGev(portPirie);
    EXPECT_EQ(gev.model, ExtremeModel::Gev);
    EXPECT_EQ(gev.blocks, 65u);
    EXPECT_NEAR(gev.parameters.location, 3.87475133, 5e-5);
    EXPECT_NEAR(gev.parameters.scale, 0.19804888, 5e-5);
    EXPECT_NEAR(gev.parameters.shape, -0.05011658, 5e-4);
    expectNearRelative(gev.standardErrors.location, 0.02793260, 2e-3);
    expectNearRelative(gev.standardErrors.scale, 0.02024787, 2e-3);
    expectNearRelative(gev.standardErrors.shape, 0.09825585, 2e-3);
    // No lower than R's: a maximum found is at least as high.
    EXPECT_NEAR(gev.logLikelihood, 4.339058443, 1e-6);
    EXPECT_GE(gev.logLikelihood, 4.339058443 - 1e-9);
    EXPECT_DOUBLE_EQ(gev.covariance[0][1], gev.covariance[1][0]);
    EXPECT_DOUBLE_EQ(gev.standardErrors.shape * gev.standardErrors.shape, gev.covariance[2][2]);
}

TEST(PortPirie, GumbelFitAndLikelihoodRatioMatchR)
{
    const ExtremeFit gumbel = Extremes::fitGumbel(portPirie);
    EXPECT_EQ(gumbel.model, ExtremeModel::Gumbel);
    EXPECT_NEAR(gumbel.parameters.location, 3.86944579, 5e-5);
    EXPECT_NEAR(gumbel.parameters.scale, 0.19489081, 5e-5);
    EXPECT_EQ(gumbel.parameters.shape, 0.0);
    expectNearRelative(gumbel.standardErrors.location, 0.02549409, 2e-3);
    expectNearRelative(gumbel.standardErrors.scale, 0.01885277, 2e-3);
    EXPECT_EQ(gumbel.standardErrors.shape, 0.0);
    EXPECT_NEAR(gumbel.logLikelihood, 4.217681891, 1e-6);

    const LikelihoodRatio test = Extremes::gumbelAgainstGev(gumbel, Extremes::fitGev(portPirie));
    EXPECT_NEAR(test.deviance, 0.24275, 1e-5);
    EXPECT_NEAR(test.pValue, 0.62222, 1e-5);
}

TEST(PortPirie, HundredBlockReturnLevelAndBothIntervalsMatchR)
{
    const ExtremeFit gev = Extremes::fitGev(portPirie);
    const ReturnLevel delta = Extremes::returnLevel(gev, 100.0);
    EXPECT_EQ(delta.period, 100.0);
    EXPECT_NEAR(delta.level, 4.68843583, 1e-4);
    expectNearRelative(delta.standardError, 0.15900370, 3e-3);
    // R's level ± 1.959964 of R's standard errors: 4.37680 to 5.00007, often quoted as 4.37 to 5.00.
    EXPECT_NEAR(delta.low, 4.37680, 1e-3);
    EXPECT_NEAR(delta.high, 5.00007, 1e-3);
    EXPECT_NEAR(delta.high - delta.level, 1.95996398 * delta.standardError, 1e-9);

    // R reads its bounds off a spline through a grid of profile points: good to about 1e-3.
    const ProfileInterval profile = Extremes::profileInterval(portPirie, gev, 100.0);
    ASSERT_TRUE(profile.low && profile.high) << profile.missing;
    EXPECT_TRUE(profile.missing.empty());
    EXPECT_DOUBLE_EQ(profile.level, delta.level);
    EXPECT_NEAR(*profile.low, 4.490655, 1e-3);
    EXPECT_NEAR(*profile.high, 5.260706, 1e-3);
    // The bounds are where the deviance crosses the chi-square(1) 95 % point, and the estimate
    // is where it is 0.
    EXPECT_NEAR(Extremes::profileDeviance(portPirie, gev, 100.0, *profile.low), 3.841459, 1e-6);
    EXPECT_NEAR(Extremes::profileDeviance(portPirie, gev, 100.0, *profile.high), 3.841459, 1e-6);
    EXPECT_NEAR(Extremes::profileDeviance(portPirie, gev, 100.0, profile.level), 0.0, 1e-8);
}

TEST(PortPirie, ScalingTheMaximaScalesTheFitAndNothingElse)
{
    // The same sea levels in millimetres above a datum 50 km below: a bending moment in kN·m
    // is no harder to fit than a level in metres.
    std::vector<double> millimetres;
    for (double x : portPirie)
        millimetres.push_back(5e7 + 1000.0 * x);
    const ExtremeFit metres = Extremes::fitGev(portPirie);
    const ExtremeFit scaled = Extremes::fitGev(millimetres);
    EXPECT_NEAR(scaled.parameters.location, 5e7 + 1000.0 * metres.parameters.location, 1e-3);
    EXPECT_NEAR(scaled.parameters.scale, 1000.0 * metres.parameters.scale, 1e-3);
    EXPECT_NEAR(scaled.parameters.shape, metres.parameters.shape, 1e-5);
    EXPECT_NEAR(scaled.standardErrors.scale, 1000.0 * metres.standardErrors.scale, 1e-2);
    EXPECT_NEAR(scaled.logLikelihood, metres.logLikelihood - 65.0 * std::log(1000.0), 1e-6);
    const ProfileInterval profile = Extremes::profileInterval(millimetres, scaled, 100.0);
    ASSERT_TRUE(profile.low && profile.high);
    EXPECT_NEAR(*profile.low, 5e7 + 4490.655, 1.0);
    EXPECT_NEAR(*profile.high, 5e7 + 5260.706, 1.0);
}
