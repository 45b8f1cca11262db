#pragma once
// One probability law of a driver-model parameter: its type code and three real parameters,
// and the draw of a value from it. All draws go through theRandomGenerator.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class CArchive;

class CDistribution
{
public:
    static constexpr std::uint16_t exponential = 200;
    static constexpr std::uint16_t logNormal = 201;
    static constexpr std::uint16_t gamma = 202;
    static constexpr std::uint16_t gumbel = 203;
    static constexpr std::uint16_t poisson = 204;
    static constexpr std::uint16_t gev = 205;
    static constexpr std::uint16_t normal = 206;
    static constexpr std::uint16_t constant = 207;

    static constexpr std::size_t archiveSize = 26;

    CDistribution() = default;
    CDistribution(const CDistribution&) = default;
    CDistribution& operator=(const CDistribution&) = default;
    virtual ~CDistribution() = default;

    void assign(const CDistribution& other) { *this = other; }

    void setType(std::uint16_t code) { type = code; }
    void setLocation(double value) { location = value; }
    void setScale(double value) { scale = value; }
    void setShape(double value) { shape = value; }
    std::uint16_t getType() const { return type; }
    double getLocation() const { return location; }
    double getScale() const { return scale; }
    double getShape() const { return shape; }

    // A number a draw cannot use. field: 1 location, 2 scale, 3 shape, as the dialog's columns.
    struct Flaw
    {
        int field;
        std::string reason;  // e.g. "the scale -1 is below 0"
    };
    // The first unusable number: not finite; a negative scale (a deviation, variance or
    // spread), or a gamma law's rate or shape not above 0; with positiveValues, a centre of
    // the law (its location) at or below 0, which no draw could turn into a usable value.
    // A constant's scale and shape are not used and not looked at.
    std::optional<Flaw> findFlaw(bool positiveValues) const;

    // One draw. A code outside 200..207 draws the location, like "Constant".
    double generate() const;

    virtual void Serialize(CArchive& archive);
    void store(CArchive& archive) const;
    void load(CArchive& archive);

private:
    static constexpr double pi = 3.141592653589793;

    double drawExponential() const;
    double drawLogNormal() const;
    double drawGamma() const;
    double drawGumbel() const;
    double drawPoisson() const;
    double drawGev() const;
    double drawNormal() const;
    // A standard normal from two fresh uniforms, independent of the polar method's cache.
    static double boxMullerNormal();

    std::uint16_t type = normal;
    double location = 10.0;
    double scale = 2.0;
    double shape = 0.0;
};
