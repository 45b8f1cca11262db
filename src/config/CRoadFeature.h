#pragma once
// Definition of one speed-limit or gradient section of a study; the road builds the working
// section from it when a run is set up.

#include <cstddef>
#include <cstdint>

class CArchive;

class CRoadFeature
{
public:
    static constexpr std::uint16_t speedLimit = 400;
    static constexpr std::uint16_t gradient = 401;

    static constexpr const char* archiveClassName = "CRoadFeature";
    static constexpr std::uint16_t archiveSchema = 1;
    static constexpr std::size_t archiveSize = 22;

    CRoadFeature() = default;
    virtual ~CRoadFeature() = default;

    std::uint16_t getType() const { return type; }
    bool isDirectionPositive() const { return directionPositive; }
    int getStart() const { return start; }
    int getEnd() const { return end; }
    double getValue() const { return value; }
    void setType(std::uint16_t code) { type = code; }
    void setDirectionPositive(bool positive) { directionPositive = positive; }
    void setStart(int metres) { start = metres; }
    void setEnd(int metres) { end = metres; }
    void setValue(double speedOrPercent) { value = speedOrPercent; }

    virtual void Serialize(CArchive& archive);
    void store(CArchive& archive) const;
    void load(CArchive& archive);

private:
    double value = 41.7;  // speed limit in m/s, or gradient in %
    int end = 1000;       // m from the road's start, positive x
    int start = 0;        // m, same reference
    bool directionPositive = true;
    std::uint16_t type = speedLimit;
};
