#pragma once
// One randomised driver-model parameter: a distribution and the identifier (300..309) that says
// which parameter it is and supplies its defaults.

#include "config/CDistribution.h"

#include <cstdint>

class CArchive;

class CParameter
{
public:
    static constexpr std::size_t archiveSize = CDistribution::archiveSize + 2;

    CParameter() = default;
    CParameter(const CParameter&) = default;
    CParameter& operator=(const CParameter&) = default;
    virtual ~CParameter() = default;

    void assign(const CParameter& other) { *this = other; }

    // Stores the identifier and applies its default distribution values.
    void setId(std::uint16_t identifier);
    std::uint16_t getId() const { return id; }

    // The acceleration, the deceleration and the desired velocity: the driver model cannot use
    // a value at or below 0 (vehicles would never move off, or never stop).
    bool needsPositiveValues() const { return id == 301 || id == 302 || id == 305; }

    CDistribution& getDistribution() { return distribution; }
    const CDistribution& getDistribution() const { return distribution; }

    double generate() const { return distribution.generate(); }

    virtual void Serialize(CArchive& archive);
    void store(CArchive& archive) const;
    void load(CArchive& archive);

private:
    CDistribution distribution;
    std::uint16_t id = 0;
};
