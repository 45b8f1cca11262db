// What the library will not fit or cannot bound, and that it says why instead of giving a
// number that is not one.
#include "extremes/BlockMaxima.h"
#include "extremes/ExtremeFit.h"
#include "extremes/ExtremesError.h"
#include "extremes/LikelihoodRatio.h"
#include "extremes/ReturnLevels.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

using testing::HasSubstr;

namespace {
const std::vector<double> spread = {812.0, 955.5, 870.25, 1102.0, 790.0, 930.0, 1010.0, 884.0, 845.5, 968.0};

std::string refusal(const std::function<void()>& call)
{
    try
    {
        call();
    }
    catch (const ExtremesError& e)
    {
        return e.what();
    }
    return "(not refused)";
}

std::string fitRefusals(const std::vector<double>& maxima)
{
    const std::string gumbel = refusal([&] { Extremes::fitGumbel(maxima); });
    EXPECT_EQ(gumbel, refusal([&] { Extremes::fitGev(maxima); }));
    return gumbel;
}
}

TEST(Refusals, SamplesTooSmallWithoutSpreadOrWithNonFiniteValues)
{
    EXPECT_THAT(fitRefusals({}), HasSubstr("at least 5 block maxima, there are 0"));
    EXPECT_THAT(fitRefusals({1.0, 2.0, 3.0, 4.0}), HasSubstr("at least 5 block maxima, there are 4"));
    EXPECT_NO_THROW(Extremes::fitGumbel({1.0, 2.0, 3.5, 4.0, 2.2}));

    EXPECT_THAT(fitRefusals(std::vector<double>(20, 731.0)), HasSubstr("no spread"));
    // A spread at the level of rounding is none either.
    std::vector<double> rounding(20, 1e6);
    rounding[3] += 1e-7;
    EXPECT_THAT(fitRefusals(rounding), HasSubstr("no spread"));

    std::vector<double> withNan = spread;
    withNan[2] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THAT(fitRefusals(withNan), HasSubstr("block 3 is not a finite number"));
    std::vector<double> withInfinity = spread;
    withInfinity[9] = -std::numeric_limits<double>::infinity();
    EXPECT_THAT(fitRefusals(withInfinity), HasSubstr("block 10 is not a finite number"));
    EXPECT_THAT(fitRefusals({1e308, -1e308, 1e308, -1e308, 1e308, 1e308}), HasSubstr("too large"));
}

TEST(Refusals, MaximaCrowdingAgainstAnUpperEndPointHaveNoGev)
{
    // 10 − u³: piled up under 10, a tail shorter than any GEV with ξ ≥ −1 allows.
    std::vector<double> crowded;
    for (int i = 0; i < 30; ++i)
        crowded.push_back(10.0 - std::pow((i + 0.5) / 30.0, 3.0));
    EXPECT_THAT(refusal([&] { Extremes::fitGev(crowded); }), HasSubstr("upper end point"));
    EXPECT_NO_THROW(Extremes::fitGumbel(crowded));
}

TEST(Refusals, ReturnPeriodsOfOneBlockOrLessAndMismatchedFits)
{
    const ExtremeFit gev = Extremes::fitGev(spread);
    const ExtremeFit gumbel = Extremes::fitGumbel(spread);
    for (const double period :
         {1.0, 0.5, -10.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()})
    {
        EXPECT_THAT(refusal([&] { Extremes::returnLevel(gev, period); }), HasSubstr("return period"));
        EXPECT_THAT(refusal([&] { Extremes::profileInterval(spread, gev, period); }), HasSubstr("return period"));
    }
    EXPECT_THAT(refusal([&] { Extremes::profileInterval(spread, gumbel, 100.0); }), HasSubstr("needs a GEV fit"));
    std::vector<double> other = spread;
    other[0] += 50.0;
    EXPECT_THAT(refusal([&] { Extremes::profileInterval(other, gev, 100.0); }), HasSubstr("not the fit of these"));
    EXPECT_THAT(refusal([&] { Extremes::gumbelAgainstGev(gev, gumbel); }), HasSubstr("compares a Gumbel"));
    const ExtremeFit shorter = Extremes::fitGev({812.0, 955.5, 870.25, 1102.0, 790.0, 930.0});
    EXPECT_THAT(refusal([&] { Extremes::gumbelAgainstGev(gumbel, shorter); }), HasSubstr("not of the same maxima"));
}

TEST(Refusals, AHeavyTailWithoutAnUpperBoundSaysSo)
{
    // Eight maxima of a GEV with ξ = 0.7: the profile likelihood is too flat above the estimate
    // to bound the 100-block level at 95 %.
    std::mt19937_64 generator(1);
    std::vector<double> heavy;
    for (int i = 0; i < 8; ++i)
    {
        const double u = (static_cast<double>(generator() >> 11) + 0.5) / 9007199254740992.0;
        heavy.push_back((std::pow(-std::log(u), -0.7) - 1.0) / 0.7);
    }
    const ExtremeFit gev = Extremes::fitGev(heavy);
    ASSERT_GT(gev.parameters.shape, 0.3);
    const ProfileInterval interval = Extremes::profileInterval(heavy, gev, 100.0);
    ASSERT_TRUE(interval.low);
    EXPECT_LT(*interval.low, interval.level);
    EXPECT_FALSE(interval.high);
    EXPECT_THAT(interval.missing, HasSubstr("no upper bound"));
    EXPECT_THAT(interval.missing, HasSubstr("heavy tail"));
    EXPECT_GT(interval.searchedHigh, interval.level);
    EXPECT_LT(Extremes::profileDeviance(heavy, gev, 100.0, interval.searchedHigh), 3.8415);
}
