#include "config/CDistribution.h"

#include "config/CArchive.h"
#include "config/MersenneTwister.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

double CDistribution::generate() const
{
    switch (type)
    {
    case exponential: return drawExponential();
    case logNormal: return drawLogNormal();
    case gamma: return drawGamma();
    case gumbel: return drawGumbel();
    case poisson: return drawPoisson();
    case gev: return drawGev();
    case normal: return drawNormal();
    default: return location;
    }
}

std::optional<CDistribution::Flaw> CDistribution::findFlaw(bool positiveValues) const
{
    const auto flaw = [](int field, const char* name, double value, const char* what) {
        char text[128];
        std::snprintf(text, sizeof text, "the %s %g %s", name, value, what);
        return Flaw{field, text};
    };
    const bool drawn = type >= exponential && type <= normal;
    const std::pair<const char*, double> numbers[] = {{"location", location}, {"scale", scale}, {"shape", shape}};
    for (int field = 1; field <= (drawn ? 3 : 1); ++field)
    {
        const auto& [name, value] = numbers[field - 1];
        if (!std::isfinite(value))
            return flaw(field, name, value, "is not a finite number");
    }
    if (type == gamma)
    {
        if (!(location > 0.0))
            return flaw(1, "location (the rate)", location, "is not above 0");
        if (!(scale > 0.0))
            return flaw(2, "scale (the shape)", scale, "is not above 0");
        return std::nullopt;
    }
    if (drawn && scale < 0.0)
        return flaw(2, "scale", scale, "is below 0");
    // A log-normal law's location is a logarithm: any value gives positive draws.
    if (positiveValues && type != logNormal && !(location > 0.0))
        return flaw(1, "location", location, "is not above 0");
    return std::nullopt;
}

double CDistribution::drawExponential() const
{
    return location - scale * std::log(theRandomGenerator.uniform());
}

double CDistribution::drawLogNormal() const
{
    return std::exp(location + scale * boxMullerNormal());
}

double CDistribution::boxMullerNormal()
{
    // Two fresh uniforms, one normal: the cosine branch only. Switching to the sine branch for
    // U2 >= 0.5 would only ever give values <= 0 there and skew the law.
    const double u1 = theRandomGenerator.uniform();
    const double u2 = theRandomGenerator.uniform();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * pi * u2);
}

double CDistribution::drawGamma() const
{
    // location is the rate and scale the shape. Marsaglia and Tsang's method; a shape below 1
    // is drawn with shape + 1 and scaled down by U^(1/shape).
    const double rate = location;
    const double shapeK = scale;
    if (!(rate > 0.0) || !(shapeK > 0.0) || !std::isfinite(rate) || !std::isfinite(shapeK))
        return std::numeric_limits<double>::quiet_NaN();
    const double d = (shapeK < 1.0 ? shapeK + 1.0 : shapeK) - 1.0 / 3.0;
    const double c = 1.0 / std::sqrt(9.0 * d);
    double value = 0.0;
    for (;;)
    {
        const double x = theRandomGenerator.standardNormal();
        double v = 1.0 + c * x;
        if (v <= 0.0)
            continue;
        v = v * v * v;
        const double u = theRandomGenerator.uniform();
        if (u < 1.0 - 0.0331 * x * x * x * x || std::log(u) < 0.5 * x * x + d * (1.0 - v + std::log(v)))
        {
            value = d * v;
            break;
        }
    }
    if (shapeK < 1.0)
        value *= std::pow(theRandomGenerator.uniform(), 1.0 / shapeK);
    return value / rate;
}

double CDistribution::drawGumbel() const
{
    return location - std::log(std::log(1.0 / theRandomGenerator.uniform())) / scale;
}

double CDistribution::drawPoisson() const
{
    // A normal approximation with continuity correction, not rounded; scale is the variance.
    return (location - 0.5) + std::sqrt(scale) * boxMullerNormal();
}

double CDistribution::drawGev() const
{
    return location + scale * (1.0 - std::pow(-std::log(theRandomGenerator.uniform()), shape)) / shape;
}

double CDistribution::drawNormal() const
{
    return location + scale * theRandomGenerator.standardNormal();
}

void CDistribution::Serialize(CArchive& archive)
{
    if (archive.isStoring())
        store(archive);
    else
        load(archive);
}

void CDistribution::store(CArchive& archive) const
{
    archive.writeUInt16(type);
    archive.writeDouble(location);
    archive.writeDouble(scale);
    archive.writeDouble(shape);
}

void CDistribution::load(CArchive& archive)
{
    // All fields are read before any is changed, so a short archive leaves the object whole.
    const std::uint16_t loadedType = archive.readUInt16();
    const double loadedLocation = archive.readDouble();
    const double loadedScale = archive.readDouble();
    const double loadedShape = archive.readDouble();
    type = loadedType;
    location = loadedLocation;
    scale = loadedScale;
    shape = loadedShape;
}
