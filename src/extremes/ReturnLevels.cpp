#include "extremes/ReturnLevels.h"

#include "extremes/BlockMaxima.h"
#include "extremes/ExtremesError.h"
#include "extremes/Minimiser.h"

#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/tools/roots.hpp>
#include <cmath>
#include <cstdint>
#include <limits>
#include <sstream>
#include <utility>

using namespace Extremes;

namespace {
void checkPeriod(double period)
{
    if (!(period > 1.0) || !std::isfinite(period))
        throw ExtremesError("a return period must be a finite number of blocks above 1");
}

double criticalDeviance()
{
    return boost::math::quantile(boost::math::chi_squared(1.0), returnLevelConfidence);
}

std::string figure(double value)
{
    std::ostringstream text;
    text.precision(6);
    text << value;
    return text.str();
}

// −ℓ with the location replaced by the return level: µ = level − σ g(ξ). Maximised over (log σ, ξ)
// for a fixed level, on the standardised scale of the maxima.
class Profile
{
public:
    Profile(const BlockMaxima& sample, const GevParameters& best, double period)
        : sample(sample),
          logY(Gev::logReducedTail(period)), fallback{std::log(best.scale), 0.0}, warm{std::log(best.scale),
                                                                                       best.shape},
          bestMinusLogL(minusLogL(Gev::returnLevel(best, period), warm))
    {
    }

    double deviance(double level)
    {
        // The last optimum starts the next search; where it puts a maximum outside the support,
        // the Gumbel's shape 0, whose support is every number, starts it instead.
        const Point start = std::isfinite(minusLogL(level, warm)) ? warm : fallback;
        const auto f = [&](const Point& at) { return minusLogL(level, at); };
        const Minimum minimum = minimise(f, {start, {0.1, 0.05}, {-std::numeric_limits<double>::infinity(), -1.0}},
                                         "the profile likelihood of a return level");
        warm = minimum.at;
        return 2.0 * (minimum.value - bestMinusLogL);
    }

private:
    double minusLogL(double level, const Point& at) const
    {
        const double scale = std::exp(at[0]);
        const GevParameters p{level - scale * Gev::levelGrowth(at[1], logY), scale, at[1]};
        return -Gev::logLikelihood(p, sample.standardised());
    }

    const BlockMaxima& sample;
    double logY;
    Point fallback;
    Point warm;
    double bestMinusLogL;
};

// The level between `inside` and `outside` (either order) where the deviance meets the critical value.
double crossing(Profile& profile, double critical, double inside, double insideExcess, double outside,
                double outsideExcess)
{
    const auto f = [&](double level) { return profile.deviance(level) - critical; };
    const auto close = [](double a, double b) { return std::abs(b - a) < 1e-9 * (1.0 + std::abs(a)); };
    std::uintmax_t iterations = 100;
    const auto [a, b] =
        inside < outside
            ? boost::math::tools::toms748_solve(f, inside, outside, insideExcess, outsideExcess, close, iterations)
            : boost::math::tools::toms748_solve(f, outside, inside, outsideExcess, insideExcess, close, iterations);
    return 0.5 * (a + b);
}

struct Side
{
    std::optional<double> bound;
    double searched = 0.0;
    std::string missing;
};

// Walks from the estimate outward (direction ±1) in growing steps until the deviance passes the
// critical value, then narrows the crossing down; gives up 100 delta-method standard errors out.
Side searchSide(Profile& profile, double estimate, double standardError, double direction, double critical)
{
    const double firstStep = 0.25 * standardError;
    const double farthest = 100.0 * standardError;
    double inside = estimate;
    double insideExcess = -critical;
    Side side;
    try
    {
        for (double distance = firstStep;; distance *= 1.5)
        {
            const double level = estimate + direction * std::min(distance, farthest);
            side.searched = level;
            const double excess = profile.deviance(level) - critical;
            if (excess >= 0.0)
            {
                side.bound = crossing(profile, critical, inside, insideExcess, level, excess);
                return side;
            }
            if (distance >= farthest)
                return side;
            inside = level;
            insideExcess = excess;
        }
    }
    catch (const ExtremesError& e)
    {
        side.missing = e.what();
    }
    return side;
}

std::string missingText(const char* which, const Side& side, double searchedInOwnUnits, double shape)
{
    if (!side.missing.empty())
        return std::string("no ") + which + " bound: " + side.missing;
    std::string text = std::string("no ") + which + " bound: the deviance stays below the critical value " +
                       figure(criticalDeviance()) + " out to " + figure(searchedInOwnUnits) +
                       ", 100 standard errors from the estimate";
    if (shape > 0.0)
        text += " (the heavy tail, shape " + figure(shape) + ", leaves the level unbounded at this confidence)";
    return text;
}
}

namespace Extremes {
ReturnLevel returnLevel(const ExtremeFit& fit, double period)
{
    checkPeriod(period);
    const Gev::LevelGradient g = Gev::returnLevelGradient(fit.parameters, period);
    const double gradient[3] = {g.location, g.scale, g.shape};
    double variance = 0.0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            variance += gradient[i] * fit.covariance[i][j] * gradient[j];
    const double z = boost::math::quantile(boost::math::normal(), 0.5 + returnLevelConfidence / 2.0);
    ReturnLevel result;
    result.period = period;
    result.level = Gev::returnLevel(fit.parameters, period);
    result.standardError = std::sqrt(variance);
    result.low = result.level - z * result.standardError;
    result.high = result.level + z * result.standardError;
    return result;
}

namespace {
// The sample, the fit on its standardised scale and a profile of the fit, checked to belong
// together.
struct ProfileSetup
{
    BlockMaxima sample;
    GevParameters best;
};

ProfileSetup profileSetup(const std::vector<double>& maxima, const ExtremeFit& gev, double period)
{
    checkPeriod(period);
    if (gev.model != ExtremeModel::Gev)
        throw ExtremesError("a profile likelihood needs a GEV fit");
    BlockMaxima sample(maxima);
    const double logL = Gev::logLikelihood(gev.parameters, maxima);
    if (sample.blocks() != gev.blocks || !(std::abs(logL - gev.logLikelihood) < 1e-6 * (1.0 + std::abs(logL))))
        throw ExtremesError("the GEV fit given is not the fit of these maxima");
    const GevParameters best{(gev.parameters.location - sample.centre()) / sample.unit(),
                             gev.parameters.scale / sample.unit(), gev.parameters.shape};
    return {std::move(sample), best};
}
}

double profileDeviance(const std::vector<double>& maxima, const ExtremeFit& gev, double period, double level)
{
    const ProfileSetup setup = profileSetup(maxima, gev, period);
    Profile profile(setup.sample, setup.best, period);
    return profile.deviance((level - setup.sample.centre()) / setup.sample.unit());
}

ProfileInterval profileInterval(const std::vector<double>& maxima, const ExtremeFit& gev, double period)
{
    const ProfileSetup setup = profileSetup(maxima, gev, period);
    const double centre = setup.sample.centre();
    const double unit = setup.sample.unit();
    const auto ownUnits = [&](double standardised) { return centre + unit * standardised; };

    const double estimate = Gev::returnLevel(setup.best, period);
    double standardError = returnLevel(gev, period).standardError / unit;
    if (!(standardError > 0.0) || !std::isfinite(standardError))
        standardError = setup.best.scale;
    const double critical = criticalDeviance();

    ProfileInterval interval;
    interval.period = period;
    interval.level = ownUnits(estimate);
    // Each side from the estimate afresh, so that the lower side's optima do not start the upper's.
    Profile lowerProfile(setup.sample, setup.best, period);
    const Side lower = searchSide(lowerProfile, estimate, standardError, -1.0, critical);
    Profile upperProfile(setup.sample, setup.best, period);
    const Side upper = searchSide(upperProfile, estimate, standardError, +1.0, critical);

    interval.searchedLow = ownUnits(lower.searched);
    interval.searchedHigh = ownUnits(upper.searched);
    if (lower.bound)
        interval.low = ownUnits(*lower.bound);
    else
        interval.missing = missingText("lower", lower, interval.searchedLow, gev.parameters.shape);
    if (upper.bound)
        interval.high = ownUnits(*upper.bound);
    else
        interval.missing += (interval.missing.empty() ? "" : "; ") +
                            missingText("upper", upper, interval.searchedHigh, gev.parameters.shape);
    return interval;
}
}
