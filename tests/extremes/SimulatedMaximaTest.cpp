// Known GEV distributions recovered from samples drawn by their inverse distribution function,
// and the standard errors checked against the spread of estimates over many samples.
#include "extremes/ExtremeFit.h"
#include "extremes/LikelihoodRatio.h"
#include "extremes/ReturnLevels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace {
// x = µ + σ ((−log u)^−ξ − 1) / ξ, written here from the formula rather than taken from the
// library, so that the draw does not share the library's faults.
std::vector<double> draw(const GevParameters& p, std::size_t count, std::uint64_t seed)
{
    std::mt19937_64 generator(seed);
    std::vector<double> sample;
    for (std::size_t i = 0; i < count; ++i)
    {
        // Uniform on (0, 1), never 0 or 1, the same on every standard library.
        const double u = (static_cast<double>(generator() >> 11) + 0.5) / 9007199254740992.0;
        const double e = -std::log(u);
        sample.push_back(p.shape == 0.0 ? p.location - p.scale * std::log(e)
                                        : p.location + p.scale * (std::pow(e, -p.shape) - 1.0) / p.shape);
    }
    return sample;
}

void expectWithinStandardErrors(const ExtremeFit& fit, const GevParameters& truth, double count)
{
    EXPECT_NEAR(fit.parameters.location, truth.location, count * fit.standardErrors.location);
    EXPECT_NEAR(fit.parameters.scale, truth.scale, count * fit.standardErrors.scale);
    EXPECT_NEAR(fit.parameters.shape, truth.shape, count * fit.standardErrors.shape);
}
}

TEST(SimulatedMaxima, GevRecoversBoundedGumbelAndHeavyTails)
{
    // Weekly maxima of a bending moment in kN·m, say: a bounded tail, the Gumbel, a heavy tail.
    for (const GevParameters truth :
         {GevParameters{4200.0, 310.0, -0.25}, GevParameters{4200.0, 310.0, 0.0}, GevParameters{4200.0, 310.0, 0.2}})
    {
        SCOPED_TRACE(truth.shape);
        const ExtremeFit fit = Extremes::fitGev(draw(truth, 3000, 20261210));
        expectWithinStandardErrors(fit, truth, 3.0);
        // With 3000 blocks the shape is known to about ±0.015: a fit that ignored it would miss.
        EXPECT_LT(fit.standardErrors.shape, 0.02);
        const ReturnLevel level = Extremes::returnLevel(fit, 1000.0);
        EXPECT_NEAR(level.level, Gev::returnLevel(truth, 1000.0), 3.0 * level.standardError);
    }
}

TEST(SimulatedMaxima, GumbelRecoversItsOwnAndTheTestAgreesWithR)
{
    const GevParameters truth{-12.5, 0.8, 0.0};
    const std::vector<double> sample = draw(truth, 2000, 7);
    const ExtremeFit fit = Extremes::fitGumbel(sample);
    EXPECT_NEAR(fit.parameters.location, truth.location, 3.0 * fit.standardErrors.location);
    EXPECT_NEAR(fit.parameters.scale, truth.scale, 3.0 * fit.standardErrors.scale);
    // The Gumbel's expected information inverted in closed form: var µ̂ = (1 + 6 (1 − γ)² / π²) σ² / n
    // and var σ̂ = 6 σ² / (π² n). The observed information differs from it by a few per cent.
    const double n = 2000.0;
    const double sigma = fit.parameters.scale;
    const double pi2 = std::numbers::pi * std::numbers::pi;
    const double oneLessGamma = 1.0 - std::numbers::egamma;
    EXPECT_NEAR(fit.standardErrors.location / std::sqrt((1.0 + 6.0 * oneLessGamma * oneLessGamma / pi2) / n) / sigma,
                1.0, 0.05);
    EXPECT_NEAR(fit.standardErrors.scale / std::sqrt(6.0 / (pi2 * n)) / sigma, 1.0, 0.05);

    // This very sample (std::mt19937_64's sequence is fixed by the standard), written out and
    // fitted by R's evd: fgev gives loc −12.525232, scale 0.804478, shape 0.031560 (s.e. 0.016177),
    // and anova against the Gumbel a deviance of 4.0314, p = 0.04466: by chance, a rejection at 5 %.
    const ExtremeFit gev = Extremes::fitGev(sample);
    EXPECT_NEAR(gev.parameters.location, -12.525232, 1e-5);
    EXPECT_NEAR(gev.parameters.scale, 0.804478, 1e-5);
    EXPECT_NEAR(gev.parameters.shape, 0.031560, 1e-5);
    EXPECT_NEAR(gev.standardErrors.shape, 0.016177, 1e-5);
    const LikelihoodRatio test = Extremes::gumbelAgainstGev(fit, gev);
    EXPECT_NEAR(test.deviance, 4.0314, 1e-4);
    EXPECT_NEAR(test.pValue, 0.04466, 1e-5);
}

TEST(SimulatedMaxima, TheTestRejectsTheGumbelForAHeavyTail)
{
    const std::vector<double> sample = draw({50.0, 5.0, 0.3}, 300, 11);
    const LikelihoodRatio test = Extremes::gumbelAgainstGev(Extremes::fitGumbel(sample), Extremes::fitGev(sample));
    EXPECT_GT(test.deviance, 20.0);
    EXPECT_LT(test.pValue, 1e-5);
}

TEST(SimulatedMaxima, StandardErrorsMatchTheSpreadOfEstimatesOverSamples)
{
    // 300 samples of 200 blocks: the mean standard error of each estimate should be the
    // deviation of the estimates to within the 10 % or so such a count allows.
    const GevParameters truth{100.0, 10.0, 0.1};
    constexpr int samples = 300;
    double sums[3] = {}, squares[3] = {}, errors[3] = {};
    for (int s = 0; s < samples; ++s)
    {
        const ExtremeFit fit = Extremes::fitGev(draw(truth, 200, 1000 + s));
        const double estimates[3] = {fit.parameters.location, fit.parameters.scale, fit.parameters.shape};
        const double standardErrors[3] = {fit.standardErrors.location, fit.standardErrors.scale,
                                          fit.standardErrors.shape};
        for (int i = 0; i < 3; ++i)
        {
            sums[i] += estimates[i];
            squares[i] += estimates[i] * estimates[i];
            errors[i] += standardErrors[i] / samples;
        }
    }
    for (int i = 0; i < 3; ++i)
    {
        SCOPED_TRACE(i);
        const double mean = sums[i] / samples;
        const double deviation = std::sqrt((squares[i] - samples * mean * mean) / (samples - 1));
        EXPECT_NEAR(errors[i] / deviation, 1.0, 0.12);
    }
}
