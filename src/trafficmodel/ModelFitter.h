#pragma once
// Fits a traffic model to recorded traffic files, read one after the other (several weeks, or
// one file per direction). Memory grows with the vehicles' weights and the trucks' times, not
// with the files' text.

#include "trafficmodel/TrafficModel.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

struct RecordedVehicle;

class ModelFitter
{
public:
    // The least a model is fitted from: a day of traffic, and trucks enough for their gaps.
    static constexpr long long fewestHours = 24;
    static constexpr long long fewestTrucks = 50;

    // format: the records' format, or nothing to tell it from each file's first record.
    // firstWeekday: the day of the week of the calendar's day 0, 0 Monday to 6 Sunday.
    explicit ModelFitter(std::optional<std::uint16_t> format, int firstWeekday = 0);

    // Reads one file; throws TrafficModelError naming the file and line of a bad record, or a
    // file in another format than the ones before.
    void read(const std::string& path);

    // The model of everything read; throws TrafficModelError when the files are too short or
    // too sparse. `notes` gets what the user should know (records passed over, hours without
    // traffic filled from the other day type).
    TrafficModel::Model fit(std::vector<std::string>& notes) const;

private:
    struct Running
    {
        long long count = 0;
        double mean = 0.0;
        double sumOfSquares = 0.0;  // of the deviations from the mean
        double lowest = 0.0;
        double highest = 0.0;
        void add(double x);
        TrafficModel::Spread spread() const;
    };
    struct LaneData
    {
        std::array<std::array<std::array<long long, TrafficModel::classCount>, TrafficModel::hoursPerDay>,
                   TrafficModel::dayTypes>
            counts{};
        std::array<std::map<int, long long>, TrafficModel::classCount> speeds;  // by speed in 0.1 m/s
        std::array<std::map<int, long long>, TrafficModel::classCount> axleCounts;
        std::vector<std::pair<std::size_t, double>> trucks;  // file and time, s
        std::set<std::size_t> files;
    };
    struct GroupData
    {
        std::vector<float> weights;                // kN
        std::vector<std::vector<float>> spacings;  // m, per axle
        std::vector<Running> shares;
        std::vector<float> overhangs;  // m
    };

    void add(std::size_t file, const RecordedVehicle& vehicle);
    void fitLane(TrafficModel::LaneModel& lane, const LaneData& data, std::vector<std::string>& notes) const;
    void fitTruckGaps(TrafficModel::LaneModel& lane, const LaneData& data) const;
    static TrafficModel::VehicleGroup fitGroup(int vehicleClass, int axles, const GroupData& data,
                                               std::vector<std::string>& notes);

    std::optional<std::uint16_t> chosenFormat;
    // s added to every time stamp, so that the model's day 0 is a Monday.
    double shiftS = 0.0;
    std::optional<std::uint16_t> format;  // of the files read so far
    std::vector<std::string> files;
    std::vector<std::set<long long>> observedHours;   // per file, hours since the calendar's start
    std::map<std::pair<int, int>, LaneData> lanes;    // by direction and lane
    std::map<std::pair<int, int>, GroupData> groups;  // by class and axles
    long long vehicles = 0;
    long long trucks = 0;
    long long withoutAxles = 0;
};
