#include "config/CIDMParameterSet.h"

#include "config/CArchive.h"
#include "vehicles/SpeedUnits.h"

#include <array>
#include <cmath>

namespace
{
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
    for (int attempt = 0; attempt < CIDMParameterSet::maxRedraws && !isUsable(value, requirement); ++attempt)
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

CIDMParameterSet::CIDMParameterSet()
{
    applyIdentifiers();
}

CIDMParameterSet::CIDMParameterSet(int vehicleClassCode) : vehicleClass(vehicleClassCode)
{
    applyIdentifiers();
}

void CIDMParameterSet::applyIdentifiers()
{
    paramT.setId(300);
    paramA.setId(301);
    paramB.setId(302);
    paramS0.setId(303);
    paramS1.setId(304);
    paramV0.setId(305);
    paramDelta.setId(306);
    paramP.setId(307);
    paramDeltaAbias.setId(308);
    paramDeltaAth.setId(309);
}

IDM CIDMParameterSet::drawDriverModel() const
{
    IDM model;
    model.setT(drawUsable(paramT, anySign, defaultLocation(300)));
    model.setA(drawUsable(paramA, positive, fallbackAcceleration));
    model.setB(drawUsable(paramB, positive, fallbackDeceleration));
    model.setS0(drawUsable(paramS0, anySign, defaultLocation(303)));
    model.setS1(drawUsable(paramS1, anySign, defaultLocation(304)));
    model.setV0(drawUsable(paramV0, positiveKmh, fallbackDesiredVelocityKmh));
    model.setDelta(drawUsable(paramDelta, anySign, defaultLocation(306)));
    model.setPoliteness(drawUsable(paramP, anySign, defaultLocation(307)));
    model.setBias(drawUsable(paramDeltaAbias, anySign, defaultLocation(308)));
    model.setThreshold(drawUsable(paramDeltaAth, anySign, defaultLocation(309)));
    return model;
}

void CIDMParameterSet::Serialize(CArchive& archive)
{
    if (archive.isStoring())
        store(archive);
    else
        load(archive);
}

void CIDMParameterSet::store(CArchive& archive) const
{
    for (const CParameter* parameter : {&paramT, &paramA, &paramB, &paramS0, &paramS1, &paramV0, &paramDelta,
                                        &paramP, &paramDeltaAbias, &paramDeltaAth})
        parameter->store(archive);
    archive.writeInt32(vehicleClass);
}

void CIDMParameterSet::load(CArchive& archive)
{
    // Into a copy first, so that a set is either loaded whole or left as it was.
    CIDMParameterSet loaded;
    for (CParameter* parameter : {&loaded.paramT, &loaded.paramA, &loaded.paramB, &loaded.paramS0,
                                  &loaded.paramS1, &loaded.paramV0, &loaded.paramDelta, &loaded.paramP,
                                  &loaded.paramDeltaAbias, &loaded.paramDeltaAth})
        parameter->load(archive);
    loaded.vehicleClass = archive.readInt32();
    *this = loaded;
}
