// The distribution's formulas against their textbook forms, and its series near ξ = 0.
#include "extremes/GevDistribution.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {
const std::vector<double> maxima = {3.1, 2.4, 5.8, 4.0, 3.3, 2.9, 7.2, 3.8};

// The log-likelihood as a textbook prints it, away from ξ = 0.
double textbookLogLikelihood(const GevParameters& p, const std::vector<double>& x)
{
    double sum = 0.0;
    for (double value : x)
    {
        const double u = 1.0 + p.shape * (value - p.location) / p.scale;
        sum += -std::log(p.scale) - (1.0 + 1.0 / p.shape) * std::log(u) - std::pow(u, -1.0 / p.shape);
    }
    return sum;
}
}

TEST(GevDistribution, LogLikelihoodIsTheTextbookFormulaAndMinusInfinityOutsideItsSupport)
{
    for (const double shape : {0.3, -0.15, 0.9})
        EXPECT_NEAR(Gev::logLikelihood({3.5, 1.1, shape}, maxima), textbookLogLikelihood({3.5, 1.1, shape}, maxima),
                    1e-12);
    double gumbel = 0.0;
    for (double x : maxima)
        gumbel += -std::log(1.1) - (x - 3.5) / 1.1 - std::exp(-(x - 3.5) / 1.1);
    EXPECT_NEAR(Gev::logLikelihood({3.5, 1.1, 0.0}, maxima), gumbel, 1e-12);

    // Upper end point µ − σ/ξ = 3.5 + 1.1 / 0.4 = 6.25, below the maximum 7.2.
    EXPECT_EQ(Gev::logLikelihood({3.5, 1.1, -0.4}, maxima), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(Gev::logLikelihood({3.5, 0.0, 0.1}, maxima), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(Gev::logLikelihood({3.5, -1.0, 0.1}, maxima), -std::numeric_limits<double>::infinity());
}

TEST(GevDistribution, ShapesNearZeroGoSmoothlyIntoTheGumbel)
{
    // (ℓ(ξ) − ℓ(0)) / ξ is the slope at 0 for small ξ, from either side and across the switch to
    // the series at |ξz| = 1e-6: a cancelling formula would scatter, a wrong series tilt it.
    const GevParameters gumbel{3.5, 1.1, 0.0};
    const double atZero = Gev::logLikelihood(gumbel, maxima);
    const double slope = (Gev::logLikelihood({3.5, 1.1, 1e-4}, maxima) - atZero) / 1e-4;
    for (const double shape : {1e-5, -1e-5, 3e-6, 1e-6, -7e-7, 1e-7, 1e-9, -1e-12})
    {
        SCOPED_TRACE(shape);
        const double difference = Gev::logLikelihood({3.5, 1.1, shape}, maxima) - atZero;
        EXPECT_NEAR(difference, slope * shape, 1e-3 * std::abs(slope * shape) + 1e-14);
    }
    const double levelSlope = Gev::returnLevelGradient(gumbel, 100.0).shape;
    for (const double shape : {1e-5, -1e-7, 1e-9, -1e-12})
    {
        SCOPED_TRACE(shape);
        const double difference = Gev::returnLevel({3.5, 1.1, shape}, 100.0) - Gev::returnLevel(gumbel, 100.0);
        EXPECT_NEAR(difference, levelSlope * shape, 1e-3 * std::abs(levelSlope * shape) + 1e-14);
    }
}

TEST(GevDistribution, ReturnLevelsAreTheQuantilesOfTheirTextbookForms)
{
    const double y = -std::log(1.0 - 1.0 / 50.0);
    EXPECT_NEAR(Gev::returnLevel({10.0, 2.0, 0.0}, 50.0), 10.0 - 2.0 * std::log(y), 1e-12);
    EXPECT_NEAR(Gev::returnLevel({10.0, 2.0, 0.2}, 50.0), 10.0 - 2.0 / 0.2 * (1.0 - std::pow(y, -0.2)), 1e-12);
    EXPECT_NEAR(Gev::returnLevel({10.0, 2.0, -0.3}, 50.0), 10.0 - 2.0 / -0.3 * (1.0 - std::pow(y, 0.3)), 1e-12);
    EXPECT_NEAR(Gev::quantile({10.0, 2.0, 0.2}, 0.98), Gev::returnLevel({10.0, 2.0, 0.2}, 50.0), 1e-12);
    // A bounded tail's levels never pass its end point, however long the period.
    EXPECT_LT(Gev::returnLevel({10.0, 2.0, -0.3}, 1e9), 10.0 + 2.0 / 0.3);
    // 1 − 1/T is not formed: a period of 1e12 blocks is still told from 1e11.
    EXPECT_GT(Gev::returnLevel({10.0, 2.0, 0.0}, 1e12), Gev::returnLevel({10.0, 2.0, 0.0}, 1e11) + 4.0);
}

TEST(GevDistribution, ReturnLevelGradientMatchesDifferences)
{
    // 2e-4 puts ξ log y inside the gradient's series, 0.3 and −0.2 outside it.
    for (const double shape : {0.3, -0.2, 2e-4, 0.0})
    {
        SCOPED_TRACE(shape);
        const GevParameters p{10.0, 2.0, shape};
        const Gev::LevelGradient g = Gev::returnLevelGradient(p, 100.0);
        const double h = 1e-5;
        const auto level = [](double location, double scale, double s) {
            return Gev::returnLevel({location, scale, s}, 100.0);
        };
        EXPECT_NEAR(g.location, 1.0, 1e-15);
        EXPECT_NEAR(g.scale, (level(10.0, 2.0 + h, shape) - level(10.0, 2.0 - h, shape)) / (2.0 * h), 1e-8);
        EXPECT_NEAR(g.shape, (level(10.0, 2.0, shape + h) - level(10.0, 2.0, shape - h)) / (2.0 * h), 1e-6);
    }
}
