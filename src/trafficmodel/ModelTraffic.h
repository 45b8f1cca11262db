#pragma once
// Draws traffic from a model and writes it as traffic-file records in time order. Each lane has
// a stream of cars and one of trucks, each holding only its next arrival, so memory stays the
// same for any duration. The program's own generator, seeded, makes the file repeatable.

#include "config/MersenneTwister.h"
#include "trafficmodel/TrafficModel.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

class Vehicle;

class ModelTraffic
{
public:
    // formatCode: 100 VORK, 101 TALVOR, 102 DoRIV. durationS: s of traffic from startS, s of the
    // files' calendar (0: day 0, a Monday, at 00:00).
    ModelTraffic(const TrafficModel::Model& model, std::uint16_t formatCode, std::uint32_t seed, double durationS,
                 double startS = 0.0);

    // Why the format cannot hold the model's vehicles (lanes, axles, spacings), or nothing.
    static std::optional<std::string> unfitFor(const TrafficModel::Model& model, std::uint16_t formatCode);

    // Writes every record; returns how many vehicles were written.
    long long write(std::ostream& out);

    // One vehicle of the class in the lane, without time stamp (exposed for tests).
    std::unique_ptr<Vehicle> drawVehicle(const TrafficModel::LaneModel& lane, int vehicleClass);

private:
    double uniform();
    double normal(double mean, double deviation);
    double nextCar(const TrafficModel::LaneModel& lane, double from);
    double nextTruck(const TrafficModel::LaneModel& lane, double from);
    int drawClass(const TrafficModel::LaneModel& lane, double timeS, bool truck);
    std::unique_ptr<Vehicle> layout(const TrafficModel::LaneModel& lane, int vehicleClass);

    const TrafficModel::Model& model;
    std::uint16_t format;
    double startS;  // s of the calendar
    double endS;
    double kNPerUnit;  // kN per unit of the file's weight columns
    MersenneTwister random;
};
