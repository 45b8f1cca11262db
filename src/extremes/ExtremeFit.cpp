#include "extremes/ExtremeFit.h"

#include "extremes/BlockMaxima.h"
#include "extremes/ExtremesError.h"
#include "extremes/Minimiser.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

using namespace Extremes;

namespace {
constexpr double lowestShape = -1.0;
constexpr double noBound = -std::numeric_limits<double>::infinity();

// The Gumbel estimates by the method of moments, on the standardised scale (mean 0, deviation 1).
GevParameters momentStart()
{
    const double scale = std::sqrt(6.0) / std::numbers::pi;
    return {-std::numbers::egamma * scale, scale, 0.0};
}

// The GEV estimates by probability-weighted moments (Hosking, Wallis and Wood 1985), or nothing
// when they are not finite or leave a maximum outside the support they imply.
std::optional<GevParameters> probabilityWeightedStart(const std::vector<double>& values)
{
    std::vector<double> x = values;
    std::sort(x.begin(), x.end());
    const double n = static_cast<double>(x.size());
    double b0 = 0.0, b1 = 0.0, b2 = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i)
    {
        const double rank = static_cast<double>(i);
        b0 += x[i] / n;
        b1 += x[i] * rank / ((n - 1.0) * n);
        b2 += x[i] * rank * (rank - 1.0) / ((n - 1.0) * (n - 2.0) * n);
    }
    const double c = (2.0 * b1 - b0) / (3.0 * b2 - b0) - std::log(2.0) / std::log(3.0);
    const double k = 7.8590 * c + 2.9554 * c * c;  // Hosking's k is −ξ
    if (!std::isfinite(k) || std::abs(k) < 1e-6 || k <= -1.0)
        return std::nullopt;
    const double gamma = std::tgamma(1.0 + k);
    const double scale = (2.0 * b1 - b0) * k / (gamma * (1.0 - std::pow(2.0, -k)));
    const GevParameters start{b0 + scale * (gamma - 1.0) / k, scale, -k};
    if (!std::isfinite(Gev::logLikelihood(start, values)))
        return std::nullopt;
    return start;
}

// The optimiser's parameters are (µ, log σ[, ξ]): σ stays positive without a constraint.
GevParameters fromSearch(const Point& at)
{
    return {at[0], std::exp(at[1]), at.size() > 2 ? at[2] : 0.0};
}

Minimum maximiseLikelihood(const BlockMaxima& sample, ExtremeModel model, const GevParameters& start)
{
    const auto minusLogL = [&](const Point& at) { return -Gev::logLikelihood(fromSearch(at), sample.standardised()); };
    MinimiserSetup setup{{start.location, std::log(start.scale)}, {0.1, 0.1}, {noBound, noBound}};
    if (model == ExtremeModel::Gev)
    {
        setup.start.push_back(start.shape);
        setup.steps.push_back(0.05);
        setup.lower.push_back(lowestShape);
    }
    return minimise(minusLogL, setup, model == ExtremeModel::Gev ? "GEV fit" : "Gumbel fit");
}

// The covariance of (µ, σ[, ξ]) on the standardised scale: the inverse of the second
// derivatives of −log L, taken in σ itself (not log σ) so that its error is σ's.
Matrix covarianceAt(const BlockMaxima& sample, ExtremeModel model, const GevParameters& estimate)
{
    const auto minusLogL = [&](const Point& p) {
        return -Gev::logLikelihood({p[0], p[1], p.size() > 2 ? p[2] : 0.0}, sample.standardised());
    };
    Point at{estimate.location, estimate.scale};
    Point steps{1e-4 * estimate.scale, 1e-4 * estimate.scale};
    if (model == ExtremeModel::Gev)
    {
        at.push_back(estimate.shape);
        steps.push_back(1e-4);
    }
    Matrix covariance;
    if (!invertPositiveDefinite(secondDerivatives(minusLogL, at, steps), covariance))
        throw ExtremesError(std::string(model == ExtremeModel::Gev ? "GEV" : "Gumbel") +
                            " fit: the likelihood's maximum is not a proper one (its information matrix is not "
                            "positive definite), so there are no standard errors; the maxima may crowd against "
                            "an upper end point");
    return covariance;
}

// The estimates and their covariance carried back from the standardised scale to the maxima's.
ExtremeFit inOwnUnits(const BlockMaxima& sample, ExtremeModel model, const GevParameters& estimate, double minusLogL,
                      const Matrix& covariance)
{
    const double u = sample.unit();
    ExtremeFit fit;
    fit.model = model;
    fit.blocks = sample.blocks();
    fit.parameters = {sample.centre() + u * estimate.location, u * estimate.scale, estimate.shape};
    fit.logLikelihood = -minusLogL - static_cast<double>(sample.blocks()) * std::log(u);
    const double factor[3] = {u, u, 1.0};
    for (std::size_t i = 0; i < covariance.size(); ++i)
        for (std::size_t j = 0; j < covariance.size(); ++j)
            fit.covariance[i][j] = factor[i] * factor[j] * covariance[i][j];
    fit.standardErrors = {std::sqrt(fit.covariance[0][0]), std::sqrt(fit.covariance[1][1]),
                          std::sqrt(fit.covariance[2][2])};
    return fit;
}

ExtremeFit completeFit(const BlockMaxima& sample, ExtremeModel model, const Minimum& best)
{
    const GevParameters estimate = fromSearch(best.at);
    if (model == ExtremeModel::Gev && estimate.shape < lowestShape + 1e-4)
        throw ExtremesError("GEV fit: the shape runs to −1, where the likelihood grows without bound: the maxima "
                            "crowd against an upper end point; a GEV cannot be fitted to them");
    return inOwnUnits(sample, model, estimate, best.value, covarianceAt(sample, model, estimate));
}
}

namespace Extremes {
ExtremeFit fitGumbel(const std::vector<double>& maxima)
{
    const BlockMaxima sample(maxima);
    return completeFit(sample, ExtremeModel::Gumbel, maximiseLikelihood(sample, ExtremeModel::Gumbel, momentStart()));
}

ExtremeFit fitGev(const std::vector<double>& maxima)
{
    const BlockMaxima sample(maxima);
    // From the Gumbel optimum (every maximum is in a Gumbel's support, and the GEV's likelihood
    // can then be no lower than the Gumbel's) and from the probability-weighted moments; the
    // better of the two.
    const Minimum gumbel = maximiseLikelihood(sample, ExtremeModel::Gumbel, momentStart());
    Minimum best = maximiseLikelihood(sample, ExtremeModel::Gev, fromSearch(gumbel.at));
    if (const std::optional<GevParameters> start = probabilityWeightedStart(sample.standardised()))
    {
        try
        {
            const Minimum other = maximiseLikelihood(sample, ExtremeModel::Gev, *start);
            if (other.value < best.value)
                best = other;
        }
        catch (const ExtremesError&)
        {
            // The search from the Gumbel optimum stands on its own.
        }
    }
    return completeFit(sample, ExtremeModel::Gev, best);
}
}
