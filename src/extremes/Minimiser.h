#pragma once
// The numerical tools of the fits: the smallest value of a function of a few parameters
// (NLopt's Subplex, which needs no derivatives and accepts +∞ outside the support), and the
// matrix of its second derivatives at that point inverted into a covariance.

#include <functional>
#include <string>
#include <vector>

namespace Extremes {
using Point = std::vector<double>;
using Matrix = std::vector<std::vector<double>>;

struct Minimum
{
    Point at;
    double value = 0.0;
};

struct MinimiserSetup
{
    Point start;  // where the function is finite
    Point steps;  // the first steps along each parameter, about a tenth of its plausible range
    Point lower;  // lower bound of each parameter (−∞ for none)
};

// Minimises f from the start, twice over (a simplex search can stall short of the minimum; a
// restart from where it stopped settles it). Throws ExtremesError, with `what` in its message,
// when the search does not converge or ends where f is not finite.
Minimum minimise(const std::function<double(const Point&)>& f, const MinimiserSetup& setup, const std::string& what);

// ∂²f/∂xᵢ∂xⱼ at x by central differences with the steps given (one per parameter). Entries that
// are not finite (a step left the support) stay so.
Matrix secondDerivatives(const std::function<double(const Point&)>& f, const Point& x, const Point& steps);

// The inverse of a symmetric matrix by Cholesky factors; false, and no inverse, when the matrix
// is not positive definite.
bool invertPositiveDefinite(const Matrix& a, Matrix& inverse);
}
