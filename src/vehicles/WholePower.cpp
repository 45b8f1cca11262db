#include "vehicles/WholePower.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr double largestExponent = 8.0;
// Inside these bounds neither x^n nor the error terms can overflow or become subnormal.
constexpr double smallestBase = 0x1p-100;
constexpr double largestBase = 0x1p100;
// The C library's pow is documented to be within 0.54 units in the last place: a value that
// lies nearer than 0.45 units to a double cannot have been rounded to another one by it.
constexpr double safeFraction = 0.45;
constexpr double unknown = std::numeric_limits<double>::quiet_NaN();

// True when hi is the double nearest to hi + lo and at least safeFraction of a unit away from
// the halfway points beside it.
bool safelyRounded(double hi, double lo)
{
    constexpr std::uint64_t mantissaBits = (std::uint64_t{1} << 52) - 1;
    const auto bits = std::bit_cast<std::uint64_t>(hi);
    // At a power of two the unit below is half the one above: such rare values go to pow.
    if ((bits & mantissaBits) == 0)
        return false;
    const double unit = std::bit_cast<double>((bits & ~mantissaBits) - (std::uint64_t{52} << 52));
    return std::abs(lo) < safeFraction * unit;
}

#if defined(__x86_64__)
// The value hi + lo, where lo holds what the rounding of hi lost.
struct Split
{
    double hi;
    double lo;
};

// a·b to about 2^-104 relative. The rounding error of the main product is exact through a fused
// multiply-add; the product itself is one too, so that the compiler cannot fuse it with the sum
// that follows, which would lose that error.
__attribute__((target("fma"))) inline Split times(Split a, Split b)
{
    const double product = __builtin_fma(a.hi, b.hi, 0.0);
    const double error = __builtin_fma(a.hi, b.hi, -product) + (a.hi * b.lo + a.lo * b.hi);
    return {product, error};
}

// x^n by squaring, rounded to the nearest double when that is safe, else NaN.
__attribute__((target("fma"))) double powerByProducts(double x, int n)
{
    Split base{x, 0.0};
    Split result{1.0, 0.0};
    for (bool first = true;; base = times(base, base))
    {
        if (n & 1)
        {
            result = first ? base : times(result, base);
            first = false;
        }
        n >>= 1;
        if (n == 0)
            break;
    }
    const double hi = result.hi + result.lo;
    const double lo = result.lo - (hi - result.hi);
    return safelyRounded(hi, lo) ? hi : unknown;
}

// Without the instruction a fused multiply-add is emulated, which is slower than pow itself.
bool productsPay()
{
    static const bool supported = __builtin_cpu_supports("fma");
    return supported;
}
#else
double powerByProducts(double, int)
{
    return unknown;
}

bool productsPay()
{
    return false;
}
#endif

}  // namespace

double wholePower(double x, double y)
{
    if (!(x >= smallestBase && x <= largestBase && y >= 1.0 && y <= largestExponent) || !productsPay())
        return std::pow(x, y);
    const int n = static_cast<int>(y);
    if (n != y)
        return std::pow(x, y);
    const double power = powerByProducts(x, n);
    return std::isnan(power) ? std::pow(x, y) : power;
}
