// The maximum-likelihood Gumbel fit: samples drawn from a known Gumbel give back its parameters
// within their standard errors, the estimates solve the likelihood equations, the standard errors
// match the information computed apart from the fit, and return levels.

#include "loadeffects/GumbelFit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {
std::vector<double> gumbelSample(double location, double scale, std::size_t count, unsigned seed)
{
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::vector<double> sample;
    for (std::size_t i = 0; i < count; ++i)
    {
        double u = uniform(random);
        while (u <= 0.0)
            u = uniform(random);
        sample.push_back(location - scale * std::log(-std::log(u)));
    }
    return sample;
}
}

TEST(GumbelFit, RecoversTheParametersOfALargeSampleWithinFourStandardErrors)
{
    const double location = 500.0;
    const double scale = 40.0;
    const std::size_t n = 2000;
    const auto fit = Gumbel::fit(gumbelSample(location, scale, n, 7));
    ASSERT_TRUE(fit);
    EXPECT_EQ(fit->sampleSize, n);
    const double locationError = scale * std::sqrt(1.1087 / n);
    const double scaleError = scale * std::sqrt(0.6079 / n);
    EXPECT_NEAR(fit->location, location, 4.0 * locationError);
    EXPECT_NEAR(fit->scale, scale, 4.0 * scaleError);
}

// The errors are the large-sample ones: the inverse of n times one maximum's Fisher information,
// at the fitted scale. That information is found here by quadrature of the scores' products
// over the standard Gumbel density, not from the closed form the fit uses, so a wrong constant,
// a swapped pair or n − 1 for n shows at the quadrature's digits.
TEST(GumbelFit, StandardErrorsAreTheInverseFisherInformationAtTheFittedScale)
{
    // Simpson's rule over z in [−6, 50], beyond which the density and the scores' tails add
    // less than 1e−15; the step leaves an error near 1e−13.
    const double h = 1e-3;
    const int intervals = 56000;
    double mass = 0.0;
    double locationLocation = 0.0;
    double locationScale = 0.0;
    double scaleScale = 0.0;
    for (int i = 0; i <= intervals; ++i)
    {
        const double z = -6.0 + i * h;
        const double weight = (i == 0 || i == intervals ? 1.0 : (i % 2 == 1 ? 4.0 : 2.0)) * h / 3.0;
        const double density = std::exp(-z - std::exp(-z));
        // d ln f / dµ and d ln f / dβ for β = 1.
        const double locationScore = 1.0 - std::exp(-z);
        const double scaleScore = -1.0 + z * (1.0 - std::exp(-z));
        mass += weight * density;
        locationLocation += weight * density * locationScore * locationScore;
        locationScale += weight * density * locationScore * scaleScore;
        scaleScale += weight * density * scaleScore * scaleScore;
    }
    ASSERT_NEAR(mass, 1.0, 1e-12);
    const double determinant = locationLocation * scaleScale - locationScale * locationScale;
    const double locationVariance = scaleScale / determinant;  // of one maximum, for β = 1
    const double scaleVariance = locationLocation / determinant;

    const std::vector<std::vector<double>> samples = {
        {5.0, 7.0},
        {812.0, 905.5, 760.25, 1033.0, 870.0, 948.0, 799.0, 880.5, 1120.0, 845.0},
        gumbelSample(500.0, 40.0, 2000, 7),
    };
    for (const std::vector<double>& maxima : samples)
    {
        const auto fit = Gumbel::fit(maxima);
        ASSERT_TRUE(fit);
        const double n = static_cast<double>(maxima.size());
        EXPECT_NEAR(fit->locationError, fit->scale * std::sqrt(locationVariance / n), 1e-12 * fit->locationError) << n;
        EXPECT_NEAR(fit->scaleError, fit->scale * std::sqrt(scaleVariance / n), 1e-12 * fit->scaleError) << n;
    }
}

// The observed information, the negative Hessian of the log-likelihood at the estimates, tends to
// the Fisher information as the sample grows: for 20000 maxima the errors of the two differ by
// sampling noise under half a percent (over 200 samples). The Hessian is taken by central
// differences, apart from the fit.
TEST(GumbelFit, StandardErrorsAgreeWithTheObservedInformationOfALargeSample)
{
    const std::vector<double> maxima = gumbelSample(500.0, 40.0, 20000, 3);
    const auto fit = Gumbel::fit(maxima);
    ASSERT_TRUE(fit);
    const auto logLikelihood = [&](double location, double scale) {
        double sum = 0.0;
        for (double x : maxima)
        {
            const double z = (x - location) / scale;
            sum += -std::log(scale) - z - std::exp(-z);
        }
        return sum;
    };
    const double dl = 1e-3 * fit->scale;
    const double ds = 1e-3 * fit->scale;
    const double m = fit->location;
    const double s = fit->scale;
    const double centre = logLikelihood(m, s);
    const double ll = -(logLikelihood(m + dl, s) - 2.0 * centre + logLikelihood(m - dl, s)) / (dl * dl);
    const double ss = -(logLikelihood(m, s + ds) - 2.0 * centre + logLikelihood(m, s - ds)) / (ds * ds);
    const double ls = -(logLikelihood(m + dl, s + ds) - logLikelihood(m + dl, s - ds) - logLikelihood(m - dl, s + ds) +
                        logLikelihood(m - dl, s - ds)) /
                      (4.0 * dl * ds);
    const double determinant = ll * ss - ls * ls;
    const double locationError = std::sqrt(ss / determinant);
    const double scaleError = std::sqrt(ll / determinant);
    EXPECT_NEAR(fit->locationError, locationError, 0.01 * locationError);
    EXPECT_NEAR(fit->scaleError, scaleError, 0.01 * scaleError);
}

// Over many small samples the estimates centre on the truth and spread by their standard errors.
TEST(GumbelFit, SmallSamplesScatterAsTheStandardErrorsSay)
{
    const double location = 10.0;
    const double scale = 2.0;
    const std::size_t n = 50;
    const int samples = 400;
    double locationSum = 0.0;
    double locationSquares = 0.0;
    for (int s = 0; s < samples; ++s)
    {
        const auto fit = Gumbel::fit(gumbelSample(location, scale, n, 100 + s));
        ASSERT_TRUE(fit);
        locationSum += fit->location;
        locationSquares += (fit->location - location) * (fit->location - location);
    }
    const double expectedError = scale * std::sqrt(1.1087 / n);
    EXPECT_NEAR(locationSum / samples, location, 4.0 * expectedError / std::sqrt(samples));
    EXPECT_NEAR(std::sqrt(locationSquares / samples), expectedError, 0.15 * expectedError);
}

// The score equations: mean of exp(−z) = 1 and mean of z (1 − exp(−z)) = 1, z = (x − µ) / β.
TEST(GumbelFit, TheEstimatesSolveTheLikelihoodEquations)
{
    const std::vector<double> maxima = {812.0, 905.5, 760.25, 1033.0, 870.0, 948.0, 799.0, 880.5, 1120.0, 845.0};
    const auto fit = Gumbel::fit(maxima);
    ASSERT_TRUE(fit);
    double first = 0.0;
    double second = 0.0;
    for (double x : maxima)
    {
        const double z = (x - fit->location) / fit->scale;
        first += std::exp(-z);
        second += z * (1.0 - std::exp(-z));
    }
    EXPECT_NEAR(first / maxima.size(), 1.0, 1e-9);
    EXPECT_NEAR(second / maxima.size(), 1.0, 1e-9);
}

TEST(GumbelFit, NoFitWithoutTwoDifferentFiniteMaxima)
{
    EXPECT_FALSE(Gumbel::fit({}));
    EXPECT_FALSE(Gumbel::fit({5.0}));
    EXPECT_FALSE(Gumbel::fit({5.0, 5.0, 5.0}));
    EXPECT_FALSE(Gumbel::fit({5.0, NAN, 7.0}));
    EXPECT_TRUE(Gumbel::fit({5.0, 7.0}));
}

// Spreads whose squares overflow once left the bracketing search halving an infinite guess for
// ever: such maxima fit as their smaller copies scaled up, and a range past the largest double
// has no fit, said as such.
TEST(GumbelFit, WidelySpreadMaximaFitOrFailAtOnce)
{
    const std::vector<double> small{1.0, 2.0, 3.0, 5.0, 8.0};
    const auto reference = Gumbel::fit(small);
    ASSERT_TRUE(reference);
    for (double factor : {1e155, 1e160, 1e300})
    {
        std::vector<double> spread;
        for (double x : small)
            spread.push_back(x * factor);
        const auto fit = Gumbel::fit(spread);
        ASSERT_TRUE(fit) << factor;
        EXPECT_NEAR(fit->location / factor, reference->location, 1e-9 * reference->location) << factor;
        EXPECT_NEAR(fit->scale / factor, reference->scale, 1e-9 * reference->scale) << factor;
        EXPECT_TRUE(std::isfinite(fit->locationError) && std::isfinite(fit->scaleError));
    }
    const std::vector<double> beyond{-1e308, 0.0, 1e308};
    EXPECT_FALSE(Gumbel::fit(beyond));
    EXPECT_STREQ(Gumbel::noFitReason(beyond), "the maxima are spread too widely for one");
    EXPECT_STREQ(Gumbel::noFitReason({5.0, 5.0}), "it needs two complete intervals or more with different maxima");
    EXPECT_STREQ(Gumbel::noFitReason({}), "it needs two complete intervals or more with different maxima");
}

TEST(GumbelFit, ReturnLevelsAndPlottingPositions)
{
    GumbelFit fit;
    fit.location = 100.0;
    fit.scale = 10.0;
    // Exceeded once in T blocks: F(x) = 1 − 1/T.
    for (double period : {2.0, 50.0, 1e3, 2.5e5})
    {
        const double level = fit.returnLevel(period);
        EXPECT_NEAR(std::exp(-std::exp(-(level - 100.0) / 10.0)), 1.0 - 1.0 / period, 1e-12) << period;
    }
    EXPECT_NEAR(fit.returnLevel(1e6), 100.0 + 10.0 * 13.8155, 1e-3);
    EXPECT_DOUBLE_EQ(fit.reducedVariate(fit.returnLevel(100.0)), -std::log(-std::log(0.99)));

    // 1000 years of 250 days in daily blocks.
    EXPECT_DOUBLE_EQ(Gumbel::periodInIntervals(1000.0, 86400.0, 250.0 * 86400.0), 250000.0);
    EXPECT_LT(Gumbel::plottingPosition(1, 10), Gumbel::plottingPosition(10, 10));
    EXPECT_NEAR(Gumbel::plottingPosition(1, 1), -std::log(-std::log(0.56 / 1.12)), 1e-12);
}
