// The gain of carrying the clock over empty road: a minute of traffic, a day without any,
// then a minute more, on a 3000 m road with 2 + 2 lanes, 0.1 s steps and one detector of each
// kind per direction. Run step by step (jump off) and with the jump on; the files written are
// the same either way (a test compares them byte for byte).

#include "config/CIDMParameterSet.h"
#include "config/CStatDetector.h"
#include "config/MersenneTwister.h"
#include "engine/Sim.h"

#include "ScratchFolder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr double gap = 86400.0;         // s without traffic
constexpr double burst = 60.0;          // s of traffic before and after it
constexpr double headwayPerLane = 4.0;  // s

const std::filesystem::path& scratch()
{
    static const ScratchFolder folder("empty");
    return folder.path;
}

// A 4.5 m two-axle TALVOR car at the given time (s from day 1, 00:00).
std::string car(double time, int direction, int fileLane)
{
    const auto hundredths = static_cast<long long>(time * 100.0 + 0.5);
    const long long seconds = hundredths / 100;
    char line[96];
    std::snprintf(line, sizeof line, "1001%2lld%2d%2d%2lld%2lld%2lld%2lld%3d%4d%3d%d%d%d%3d  825  7 0",
                  1 + seconds / 86400, 1, 0, seconds / 3600 % 24, seconds / 60 % 60, seconds % 60, hundredths % 100,
                  222, 15, 45, 2, direction, fileLane, 0);
    std::string text = line;
    for (int slot = 2; slot < 9; ++slot)
        text += slot == 8 ? "  0" : "  0 0";
    return text;
}

const std::string& trafficWithADayGap()
{
    static const std::string name = [] {
        const std::string file = (scratch() / "traffic.txt").string();
        std::ofstream out(file, std::ios::binary);
        for (double start : {0.0, burst + gap})
            for (double t = 0.0; t < burst; t += headwayPerLane)
                for (int fileLane = 1; fileLane <= 4; ++fileLane)
                    out << car(start + t, fileLane <= 2 ? 1 : 2, fileLane) << '\n';
        return file;
    }();
    return name;
}

void setUp(Sim& sim, CIDMParameterSet (&sets)[5])
{
    sim.setInputFile(trafficWithADayGap());
    sim.setOutputFile((scratch() / "output.txt").string());
    sim.setFileFormat(101);
    sim.setNumDirections(2);
    sim.setTotalLanes(4);
    sim.setLanesDir1(2);
    sim.setLanesDir2(2);
    sim.setRoadLength(3000);
    sim.setTimeStep(0.1);
    Road& road = sim.getRoad();
    for (int vehicleClass = 0; vehicleClass < 5; ++vehicleClass)
        road.setIDMParameterSet(vehicleClass, &sets[vehicleClass]);
    for (bool positive : {true, false})
        for (unsigned short kind : {510, 511, 512, 513})
        {
            CStatDetector definition;
            definition.setKind(kind);
            definition.setDirectionPositive(positive);
            definition.setLocation(kind == 513 ? 500 : 1500);
            definition.setInterval(60);
            definition.setOutputFolder((scratch() / "metrics").string() + "/");
            road.addStatDetector(definition, 2, 2);
        }
    road.setFileLanesDir1(2);
    road.setFileLanesDir2(2);
    road.setOutputDetectorLocation1(2500);
    road.setOutputDetectorLocation2(500);
    road.setLaneChangesAllowed(true);
    road.setDrivesOnRight(true);
    sim.initialise();
}

// Argument: 1 carries the clock over the empty day, 0 steps through it.
void BM_DayWithoutTraffic(benchmark::State& state)
{
    CIDMParameterSet sets[5];
    for (int vehicleClass = 0; vehicleClass < 5; ++vehicleClass)
        sets[vehicleClass].setVehicleClass(vehicleClass);
    RunStatistics last;
    long long calls = 0;
    for (auto _ : state)
    {
        theRandomGenerator.seed(42);
        Sim sim;
        setUp(sim, sets);
        sim.setCarriesClockOverEmptyRoad(state.range(0) != 0);
        calls = 0;
        bool running = true;
        while (running)
        {
            sim.step(running);
            ++calls;
        }
        last = sim.getStatistics();
        sim.reset();
    }
    state.counters["steps"] = static_cast<double>(last.steps);
    state.counters["step_calls"] = static_cast<double>(calls);
    state.counters["released"] = static_cast<double>(last.vehiclesReleased);
}
BENCHMARK(BM_DayWithoutTraffic)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
