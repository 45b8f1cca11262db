#pragma once
// Definition of one statistics detector of a study (flow and density, headway, composition or
// lane changes); the road builds the working detector from it when a run is set up.

#include <cstddef>
#include <cstdint>
#include <string>

class CArchive;

class CStatDetector
{
public:
    static constexpr std::uint16_t flowAndDensity = 510;
    static constexpr std::uint16_t headway = 511;
    static constexpr std::uint16_t composition = 512;
    static constexpr std::uint16_t laneChanges = 513;

    static constexpr std::uint16_t allVehicles = 500;
    static constexpr std::uint16_t allTrucks = 501;
    static constexpr std::uint16_t cars = 502;
    static constexpr std::uint16_t smallTrucks = 503;
    static constexpr std::uint16_t largeTrucks = 504;
    static constexpr std::uint16_t cranes = 505;
    static constexpr std::uint16_t lowLoaders = 506;

    static constexpr const char* archiveClassName = "CStatDetector";
    static constexpr std::uint16_t archiveSchema = 1;
    static constexpr std::size_t archiveSize = 16;

    CStatDetector() = default;
    virtual ~CStatDetector() = default;

    std::uint16_t getKind() const { return kind; }
    bool isDirectionPositive() const { return directionPositive; }
    std::uint16_t getVehicleTypes() const { return vehicleTypes; }
    int getInterval() const { return interval; }
    int getLocation() const { return location; }
    std::string getOutputFolder() const { return outputFolder; }
    void setKind(std::uint16_t code) { kind = code; }
    void setDirectionPositive(bool positive) { directionPositive = positive; }
    void setVehicleTypes(std::uint16_t code) { vehicleTypes = code; }
    void setInterval(int seconds) { interval = seconds; }
    void setLocation(int metres) { location = metres; }
    void setOutputFolder(const std::string& folder) { outputFolder = folder; }

    // The output folder is not part of the record: the document sets it before each run.
    virtual void Serialize(CArchive& archive);
    void store(CArchive& archive) const;
    void load(CArchive& archive);

private:
    std::string outputFolder;
    std::uint16_t kind = flowAndDensity;
    bool directionPositive = true;
    std::uint16_t vehicleTypes = allVehicles;
    int interval = 60;    // s
    int location = 1000;  // m; for lane changes, the step in m
};
