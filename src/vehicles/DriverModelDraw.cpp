#include "vehicles/DriverModelDraw.h"

#include "vehicles/SpeedUnits.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace {
// What the model must receive: any finite value, or a finite value that stays above zero once
// the model has converted it to its own unit (a tiny positive km/h can become 0 m/s).
struct Requirement
{
    bool mustBePositive;
    double unitFactor;
};

bool isUsable(double value, Requirement requirement)
{
    return std::isfinite(value) && (!requirement.mustBePositive || value * requirement.unitFactor > 0.0);
}

// One draw the driver model can take: an unusable draw is repeated a bounded number of times,
// then replaced. A usable first draw costs nothing extra, so valid sets draw as they always did.
double drawUsable(const CParameter& parameter, Requirement requirement, double replacement)
{
    double value = parameter.generate();
    for (int attempt = 0; attempt < DriverModelDraw::maxRedraws && !isUsable(value, requirement); ++attempt)
        value = parameter.generate();
    return isUsable(value, requirement) ? value : replacement;
}

// The default locations of the identifiers 300..309: the replacements for draws that never
// came out finite. Worked out once, off the path of every released vehicle.
double defaultLocation(std::uint16_t identifier)
{
    static const auto locations = [] {
        std::array<double, 10> table{};
        for (std::uint16_t i = 0; i < table.size(); ++i)
        {
            CParameter defaults;
            defaults.setId(static_cast<std::uint16_t>(300 + i));
            table[i] = defaults.getDistribution().getLocation();
        }
        return table;
    }();
    return locations[identifier - 300u];
}

constexpr Requirement anySign{false, 1.0};
constexpr Requirement positive{true, 1.0};
constexpr Requirement positiveKmh{true, metresPerSecondPerKmh};
}

IDM drawDriverModel(const CIDMParameterSet& parameters)
{
    IDM model;
    model.setT(drawUsable(parameters.getParamT(), anySign, defaultLocation(300)));
    model.setA(drawUsable(parameters.getParamA(), positive, DriverModelDraw::fallbackAcceleration));
    model.setB(drawUsable(parameters.getParamB(), positive, DriverModelDraw::fallbackDeceleration));
    model.setS0(drawUsable(parameters.getParamS0(), anySign, defaultLocation(303)));
    model.setS1(drawUsable(parameters.getParamS1(), anySign, defaultLocation(304)));
    model.setV0(drawUsable(parameters.getParamV0(), positiveKmh, DriverModelDraw::fallbackDesiredVelocityKmh));
    model.setDelta(drawUsable(parameters.getParamDelta(), anySign, defaultLocation(306)));
    model.setPoliteness(drawUsable(parameters.getParamP(), anySign, defaultLocation(307)));
    model.setBias(drawUsable(parameters.getParamDeltaAbias(), anySign, defaultLocation(308)));
    model.setThreshold(drawUsable(parameters.getParamDeltaAth(), anySign, defaultLocation(309)));
    return model;
}
