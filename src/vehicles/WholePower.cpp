#include "vehicles/WholePower.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace {

constexpr int largestExponent = 8;

#if defined(__x86_64__)
// Inside these bounds neither x^n nor the error terms can overflow or become subnormal.
constexpr double smallestBase = 0x1p-100;
constexpr double largestBase = 0x1p100;
// The C library's pow documents its error as 0.509 units in the last place from its exp step,
// 0.5 of which is the final rounding, plus at most |y log x| · 1.3·2^-15 units from its log step.
// Before that rounding its value is thus within 0.009 + |y log x| · 1.3·2^-15 units of x^y, and it
// rounds to the double nearest x^y whenever x^y lies farther than that from the halfway point.
// With |y log x| at most 8 · 100 · log 2 here, 0.031 units: a value nearer than 0.46 units to a
// double cannot have been rounded to another one.
constexpr double safeFraction = 0.46;
// Most bases are ratios v/v0 near 1: from 2^-4 to 2^4, |y log x| is at most 8 · 4 · log 2 and
// the distance 0.0099 units, so 0.488 units is safe. Every value left to pow is slow: with the
// narrower band near 1, pow takes about 2 % of the ratios the driver model meets, not 6 %.
constexpr double nearBase = 0x1p4;
constexpr double safeFractionNear = 0.488;

// The value hi + lo, where lo holds what the rounding of hi lost.
struct Split
{
    double hi;
    double lo;
};

// a·b to about 2^-104 relative. The rounding error of the main product is exact through a fused
// multiply-add; the product itself is one too, so that the compiler cannot fuse it with a sum
// that follows, which would lose that error.
__attribute__((target("fma"))) inline Split times(Split a, Split b)
{
    const double product = __builtin_fma(a.hi, b.hi, 0.0);
    const double error = __builtin_fma(a.hi, b.hi, -product) + (a.hi * b.lo + a.lo * b.hi);
    return {product, error};
}

__attribute__((target("fma"))) inline Split square(double x)
{
    const double product = __builtin_fma(x, x, 0.0);
    return {product, __builtin_fma(x, x, -product)};
}

__attribute__((target("fma"))) inline Split power(double x, int n)
{
    // The usual exponent by two squarings, others by repeated products.
    if (n == 4)
    {
        const Split x2 = square(x);
        return times(x2, x2);
    }
    Split result{x, 0.0};
    for (int i = 1; i < n; ++i)
        result = times(result, Split{x, 0.0});
    return result;
}
#endif

double powerByPow(double x, int n)
{
    return std::pow(x, static_cast<double>(n));
}

#if defined(__x86_64__)
// x^n by products where their result is surely what pow gives, else by pow.
__attribute__((target("fma"))) double powerByProducts(double x, int n)
{
    if (!(x >= smallestBase && x <= largestBase))
        return powerByPow(x, n);
    const Split exact = power(x, n);
    const double hi = exact.hi + exact.lo;
    const double lo = exact.lo - (hi - exact.hi);

    constexpr std::uint64_t mantissaBits = (std::uint64_t{1} << 52) - 1;
    const auto bits = std::bit_cast<std::uint64_t>(hi);
    // At a power of two the unit below is half the one above: such rare values go to pow.
    if ((bits & mantissaBits) == 0)
        return powerByPow(x, n);
    const double unit = std::bit_cast<double>((bits & ~mantissaBits) - (std::uint64_t{52} << 52));
    const bool near = x >= 1.0 / nearBase && x < nearBase;
    return std::abs(lo) < (near ? safeFractionNear : safeFraction) * unit ? hi : powerByPow(x, n);
}
#endif

// pow until start-up has looked at the processor: as exact, so a call before that is no worse.
double (*powerKernel)(double, int) = powerByPow;

#if defined(__x86_64__)
// Without the instruction a fused multiply-add is emulated, which is slower than pow itself.
const bool productsChosen = [] {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("fma") != 0)
        powerKernel = powerByProducts;
    return powerKernel == powerByProducts;
}();
#endif

}  // namespace

int smallWholeExponent(double y)
{
    if (!(y >= 1.0 && y <= largestExponent))
        return 0;
    const int n = static_cast<int>(y);
    return n == y ? n : 0;
}

double wholePower(double x, int n)
{
    return powerKernel(x, n);
}
