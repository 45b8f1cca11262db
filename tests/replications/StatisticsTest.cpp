#include "replications/SampleStatistics.h"
#include "replications/StudentT.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
constexpr double missing = std::numeric_limits<double>::quiet_NaN();
}

// Two-sided 95 % quantiles as printed in statistics tables, including degrees of freedom that
// short tables leave out.
TEST(StudentT, QuantilesMatchPublishedValues)
{
    EXPECT_NEAR(StudentT::quantile(0.975, 1), 12.7062047, 1e-6);
    EXPECT_NEAR(StudentT::quantile(0.975, 2), 4.30265273, 1e-7);
    EXPECT_NEAR(StudentT::quantile(0.975, 4), 2.77644511, 1e-7);
    EXPECT_NEAR(StudentT::quantile(0.975, 9), 2.26215716, 1e-7);
    EXPECT_NEAR(StudentT::quantile(0.975, 30), 2.04227246, 1e-7);
    EXPECT_NEAR(StudentT::quantile(0.975, 99), 1.98421695, 1e-7);
    EXPECT_NEAR(StudentT::quantile(0.975, 1000), 1.96233908, 1e-7);
    EXPECT_NEAR(StudentT::quantile(0.995, 5), 4.03214298, 1e-7);
    EXPECT_NEAR(StudentT::quantile(0.025, 9), -2.26215716, 1e-7);
    EXPECT_EQ(StudentT::quantile(0.5, 3), 0.0);
    EXPECT_NEAR(StudentT::cdf(StudentT::quantile(0.9, 7), 7), 0.9, 1e-12);
    EXPECT_NEAR(StudentT::cdf(-1.5, 3) + StudentT::cdf(1.5, 3), 1.0, 1e-14);
    EXPECT_TRUE(std::isnan(StudentT::quantile(1.0, 3)));
    EXPECT_TRUE(std::isnan(StudentT::quantile(0.975, 0)));
}

TEST(SampleStatistics, ThreeValuesWorkedByHand)
{
    // 780, 840, 660: mean 760, squared deviations 400 + 6400 + 10000, s² = 8400.
    const SampleStatistics s = SampleStatistics::of({780, 840, 660});
    EXPECT_EQ(s.runs, 3u);
    EXPECT_DOUBLE_EQ(s.mean, 760.0);
    EXPECT_NEAR(s.standardDeviation, std::sqrt(8400.0), 1e-9);
    EXPECT_NEAR(s.halfWidth, 4.30265273 * std::sqrt(8400.0) / std::sqrt(3.0), 1e-5);
    EXPECT_NEAR(s.low(), 760.0 - s.halfWidth, 1e-12);
    EXPECT_NEAR(s.high(), 760.0 + s.halfWidth, 1e-12);
}

TEST(SampleStatistics, MissingValuesAreLeftOutNotCountedAsZero)
{
    const SampleStatistics s = SampleStatistics::of({missing, 10.0, 20.0, std::numeric_limits<double>::infinity()});
    EXPECT_EQ(s.runs, 2u);
    EXPECT_DOUBLE_EQ(s.mean, 15.0);
    EXPECT_NEAR(s.standardDeviation, std::sqrt(50.0), 1e-12);

    const SampleStatistics one = SampleStatistics::of({missing, 72.0});
    EXPECT_EQ(one.runs, 1u);
    EXPECT_DOUBLE_EQ(one.mean, 72.0);
    EXPECT_TRUE(std::isnan(one.standardDeviation));
    EXPECT_TRUE(std::isnan(one.halfWidth));

    const SampleStatistics none = SampleStatistics::of({missing, missing});
    EXPECT_EQ(none.runs, 0u);
    EXPECT_TRUE(std::isnan(none.mean));
}

TEST(SampleStatistics, EqualLargeValuesHaveNoSpread)
{
    const SampleStatistics s = SampleStatistics::of({27002.15, 27002.15, 27002.15});
    EXPECT_EQ(s.mean, 27002.15);
    EXPECT_EQ(s.standardDeviation, 0.0);
    EXPECT_EQ(s.halfWidth, 0.0);
}

TEST(ReplicationsNeeded, SmallestRunCountWithinThePrecision)
{
    // Mean 100, s = 10, ±5 %: t(n−1)·10/√n ≤ 5 first holds at n = 18 (t(17) = 2.1098),
    // not at 17 (t(16)·10/√17 = 5.14).
    SampleStatistics s;
    s.runs = 3;
    s.mean = 100.0;
    s.standardDeviation = 10.0;
    EXPECT_EQ(replicationsNeeded(s, 0.05), 18u);
    s.mean = -100.0;
    EXPECT_EQ(replicationsNeeded(s, 0.05), 18u);
    // Worked in the comparison tests: mean 760, s² = 8400 needs 25 runs (t(24)·91.65/5 = 37.83).
    s.mean = 760.0;
    s.standardDeviation = std::sqrt(8400.0);
    EXPECT_EQ(replicationsNeeded(s, 0.05), 25u);
    s.standardDeviation = 0.0;
    EXPECT_EQ(replicationsNeeded(s, 0.05), 2u);

    s.mean = 0.0;
    EXPECT_FALSE(replicationsNeeded(s, 0.05));
    s.mean = 100.0;
    s.runs = 1;
    EXPECT_FALSE(replicationsNeeded(s, 0.05));
}
