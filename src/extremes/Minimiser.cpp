#include "extremes/Minimiser.h"

#include "extremes/ExtremesError.h"

#include <cmath>
#include <limits>
#include <nlopt.hpp>

namespace Extremes {
namespace {
constexpr int evaluationsPerSearch = 20000;

Matrix zeros(std::size_t n)
{
    Matrix m(n);
    for (auto& row : m)
        row.assign(n, 0.0);
    return m;
}

struct Objective
{
    const std::function<double(const Point&)>* f;
};

double callObjective(const std::vector<double>& x, std::vector<double>& /*gradient*/, void* data)
{
    const double value = (*static_cast<Objective*>(data)->f)(x);
    // The simplex ranks points by value: a NaN would be ranked at random, +∞ is simply worst.
    return std::isnan(value) ? std::numeric_limits<double>::infinity() : value;
}

Minimum search(const std::function<double(const Point&)>& f, const MinimiserSetup& setup, const Point& from,
               const std::string& what)
{
    nlopt::opt optimiser(nlopt::LN_SBPLX, static_cast<unsigned>(from.size()));
    Objective objective{&f};
    optimiser.set_min_objective(callObjective, &objective);
    optimiser.set_lower_bounds(setup.lower);
    optimiser.set_initial_step(setup.steps);
    optimiser.set_xtol_rel(1e-11);
    optimiser.set_xtol_abs(1e-11);
    optimiser.set_ftol_abs(1e-13);
    optimiser.set_maxeval(evaluationsPerSearch);

    Minimum minimum{from, 0.0};
    nlopt::result result = nlopt::FAILURE;
    try
    {
        result = optimiser.optimize(minimum.at, minimum.value);
    }
    catch (const nlopt::roundoff_limited&)
    {
        // The point reached is as good as rounding allows: that is convergence.
        result = nlopt::SUCCESS;
        minimum.value = f(minimum.at);
    }
    catch (const std::exception& e)
    {
        throw ExtremesError(what + ": the optimiser failed (" + e.what() + ")");
    }
    if (result == nlopt::MAXEVAL_REACHED)
        throw ExtremesError(what + ": no maximum of the likelihood found within " +
                            std::to_string(evaluationsPerSearch) + " evaluations");
    if (!std::isfinite(minimum.value))
        throw ExtremesError(what + ": the search found no parameters under which every maximum is possible");
    return minimum;
}
}

Minimum minimise(const std::function<double(const Point&)>& f, const MinimiserSetup& setup, const std::string& what)
{
    const Minimum first = search(f, setup, setup.start, what);
    return search(f, setup, first.at, what);
}

Matrix secondDerivatives(const std::function<double(const Point&)>& f, const Point& x, const Point& steps)
{
    const std::size_t n = x.size();
    const auto at = [&](std::size_t i, double di, std::size_t j, double dj) {
        Point moved = x;
        moved[i] += di * steps[i];
        moved[j] += dj * steps[j];
        return f(moved);
    };
    const double centre = f(x);
    Matrix h = zeros(n);
    for (std::size_t i = 0; i < n; ++i)
    {
        h[i][i] = (at(i, 1, i, 0) - 2.0 * centre + at(i, -1, i, 0)) / (steps[i] * steps[i]);
        for (std::size_t j = 0; j < i; ++j)
        {
            h[i][j] =
                (at(i, 1, j, 1) - at(i, 1, j, -1) - at(i, -1, j, 1) + at(i, -1, j, -1)) / (4.0 * steps[i] * steps[j]);
            h[j][i] = h[i][j];
        }
    }
    return h;
}

bool invertPositiveDefinite(const Matrix& a, Matrix& inverse)
{
    const std::size_t n = a.size();
    // a = L Lᵀ
    Matrix l = zeros(n);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j <= i; ++j)
        {
            double sum = a[i][j];
            for (std::size_t k = 0; k < j; ++k)
                sum -= l[i][k] * l[j][k];
            if (i == j)
            {
                if (!(sum > 0.0) || !std::isfinite(sum))
                    return false;
                l[i][i] = std::sqrt(sum);
            }
            else
                l[i][j] = sum / l[j][j];
        }
    // a⁻¹ = L⁻ᵀ L⁻¹, column by column: solve L y = eₖ, then Lᵀ x = y.
    inverse = zeros(n);
    for (std::size_t k = 0; k < n; ++k)
    {
        Point y(n, 0.0);
        for (std::size_t i = 0; i < n; ++i)
        {
            double sum = i == k ? 1.0 : 0.0;
            for (std::size_t j = 0; j < i; ++j)
                sum -= l[i][j] * y[j];
            y[i] = sum / l[i][i];
        }
        for (std::size_t i = n; i-- > 0;)
        {
            double sum = y[i];
            for (std::size_t j = i + 1; j < n; ++j)
                sum -= l[j][i] * inverse[j][k];
            inverse[i][k] = sum / l[i][i];
        }
    }
    return true;
}
}
