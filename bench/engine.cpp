// Engine throughput on the standard scenario: a 3000 m road with 2 + 2 lanes, a traffic file of
// one hour at 1500 vehicles per hour per lane (one in five a truck), 0.1 s steps, lane changes
// on and one detector of each kind per direction. Reported in vehicle-steps per second: the
// sum over the steps of the vehicles on the road, divided by the run's wall time.
//
// The lanes' starts cannot take the file's flow: with the entry gap and the trucks, some 1120
// vehicles per hour per lane enter (6000 released over 4811 s of simulated time; release delays
// of 550 s on average, in file order), so the run releases its hour of traffic over some 80
// minutes.
//
// BM_StandardHourThreeBridges runs the same hour with the load effects of three bridges followed
// at every step (both directions each; mid-span moment, two-span support moment, support shear):
// its CPU time over BM_StandardHour's is the cost of the bridges.
//
// BM_DenseRoad runs the same set-up with a file of 3600 vehicles per hour per lane for 40
// simulated minutes on a 3 km and on a 100 km road: the cost of a vehicle-step should not depend
// on how many vehicles share its lane. Of the file's 3600 some 1100 vehicles per hour per lane
// enter (the entry is saturated from the start), about as many as in BM_StandardHour: on 3 km the
// road holds about as many vehicles as in the standard hour, and the name tells the file, not the
// road.
//
// ROADFLUX_BENCH_TRAFFIC_OUT=FILE also saves the generated traffic file (for the peer run).
// ROADFLUX_BENCH_DAY=1 adds a 24-hour run that reports the peak resident memory.

#include "config/CIDMParameterSet.h"
#include "config/CStatDetector.h"
#include "config/MersenneTwister.h"
#include "engine/Sim.h"
#include "loadeffects/LoadEffectRun.h"

#include "ScratchFolder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>

namespace {

constexpr int standardRoadLength = 3000;  // m
constexpr double standardFlow = 1500.0;   // vehicles per hour per lane
constexpr double timeStep = 0.1;          // s
constexpr double entrySpeed = 22.2;       // m/s, about the mean desired velocity of 80 km/h

const std::filesystem::path& scratchFolder()
{
    static const ScratchFolder folder("engine");
    return folder.path;
}

// One TALVOR record: a 4.5 m two-axle car or a 16 m five-axle truck.
std::string record(double time, int direction, int fileLane, bool truck)
{
    const auto hundredths = static_cast<long long>(time * 100.0 + 0.5);
    const long long seconds = hundredths / 100;
    char line[96];
    std::snprintf(line, sizeof line, "1001%2lld%2d%2d%2lld%2lld%2lld%2lld%3d%4d%3d%d%d%d%3d", 1 + seconds / 86400, 1, 0,
                  seconds / 3600 % 24, seconds / 60 % 60, seconds % 60, hundredths % 100,
                  static_cast<int>(entrySpeed * 10.0 + 0.5), truck ? 300 : 15, truck ? 160 : 45, truck ? 5 : 2,
                  direction, fileLane, 0);
    std::string text = line;
    text += truck ? " 6032 6013 6060 6013 60 0" : "  825  7 0";
    // The unused axle slots, up to the ninth axle's weight.
    for (int slot = truck ? 5 : 2; slot < 9; ++slot)
        text += slot == 8 ? "  0" : "  0 0";
    return text;
}

// Every lane's file records a vehicle at a fixed headway from 0 s on (2.4 s at the standard
// flow), as the peer's flows do; how many of them enter is the road's to say (see above).
std::string trafficFile(double hours, double flowPerLane)
{
    static std::map<std::pair<double, double>, std::string> files;
    auto found = files.find({hours, flowPerLane});
    if (found != files.end())
        return found->second;

    const std::string name =
        (scratchFolder() / ("traffic-" + std::to_string(hours) + "h-" + std::to_string(flowPerLane) + ".txt")).string();
    std::ofstream out(name, std::ios::binary);
    std::mt19937 mix(42);
    const double headwayPerLane = 3600.0 / flowPerLane;  // s
    const auto departures = static_cast<long long>(hours * 3600.0 / headwayPerLane + 0.5);
    for (long long k = 0; k < departures; ++k)
        for (int fileLane = 1; fileLane <= 4; ++fileLane)
            out << record(static_cast<double>(k) * headwayPerLane, fileLane <= 2 ? 1 : 2, fileLane, mix() % 5 == 0)
                << '\n';
    out.close();
    if (const char* copy = std::getenv("ROADFLUX_BENCH_TRAFFIC_OUT"))
        std::filesystem::copy_file(name, copy, std::filesystem::copy_options::overwrite_existing);
    return files.emplace(std::pair{hours, flowPerLane}, name).first->second;
}

void addDetector(Road& road, unsigned short kind, bool positive, int location)
{
    CStatDetector definition;
    definition.setKind(kind);
    definition.setDirectionPositive(positive);
    definition.setLocation(location);
    definition.setInterval(60);
    definition.setOutputFolder((scratchFolder() / "metrics").string() + "/");
    road.addStatDetector(definition, 2, 2);
}

// The document's set-up order, with the default parameter sets.
void setUp(Sim& sim, CIDMParameterSet (&sets)[5], const std::string& input, int roadLength)
{
    sim.setInputFile(input);
    sim.setOutputFile((scratchFolder() / "output.txt").string());
    sim.setFileFormat(101);
    sim.setNumDirections(2);
    sim.setTotalLanes(4);
    sim.setLanesDir1(2);
    sim.setLanesDir2(2);
    sim.setRoadLength(roadLength);
    sim.setTimeStep(timeStep);
    Road& road = sim.getRoad();
    for (int vehicleClass = 0; vehicleClass < 5; ++vehicleClass)
        road.setIDMParameterSet(vehicleClass, &sets[vehicleClass]);
    for (bool positive : {true, false})
    {
        addDetector(road, 510, positive, 1500);
        addDetector(road, 511, positive, 1500);
        addDetector(road, 512, positive, 1500);
        addDetector(road, 513, positive, 500);
    }
    road.setFileLanesDir1(2);
    road.setFileLanesDir2(2);
    road.setOutputDetectorLocation1(roadLength - 500);
    road.setOutputDetectorLocation2(500);
    road.setLaneChangesAllowed(true);
    road.setOutputCars(true);
    road.setDrivesOnRight(true);
    sim.initialise();
}

long peakResidentKilobytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

std::unique_ptr<LoadEffectRun> threeBridges(const Sim& sim)
{
    BridgeSet set;
    set.bridges.resize(3);
    set.bridges[0] = {"Near", 400.0, 30.0, BridgeEffect::midspanMoment, "", BridgeDirections::both, {}, 300.0};
    set.bridges[1] = {"Middle", 1400.0, 50.0, BridgeEffect::continuousSupportMoment, "", BridgeDirections::both,
                      {},       300.0};
    set.bridges[2] = {"Far", 2500.0, 20.0, BridgeEffect::supportShear, "", BridgeDirections::both, {{1, 1.0}, {2, 0.9}},
                      300.0};
    std::vector<PreparedBridge> prepared;
    LoadEffectRun::prepare(set, "", prepared);
    auto run = std::make_unique<LoadEffectRun>(prepared, RoadLayout{standardRoadLength, 2, 2, timeStep}, sim.getTime(),
                                               (scratchFolder() / "metrics").string() + "/");
    run->openFiles();
    return run;
}

struct Scenario
{
    double hours = 1.0;                   // of traffic in the file
    double flowPerLane = standardFlow;    // vehicles per hour
    int roadLength = standardRoadLength;  // m
    double simulatedSeconds = 0.0;        // s, 0 runs until the road is empty
    bool withBridges = false;             // three bridges' load effects followed every step
};

void runScenario(benchmark::State& state, const Scenario& scenario)
{
    const std::string input = trafficFile(scenario.hours, scenario.flowPerLane);
    CIDMParameterSet sets[5];
    for (int vehicleClass = 0; vehicleClass < 5; ++vehicleClass)
        sets[vehicleClass].setVehicleClass(vehicleClass);

    RunStatistics last;
    double vehicleSteps = 0.0;
    const std::clock_t cpuStart = std::clock();
    for (auto _ : state)
    {
        theRandomGenerator.seed(42);
        Sim sim;
        setUp(sim, sets, input, scenario.roadLength);
        const std::unique_ptr<LoadEffectRun> bridges = scenario.withBridges ? threeBridges(sim) : nullptr;
        const double endTime = sim.getTime() + scenario.simulatedSeconds;
        bool running = true;
        while (running && (scenario.simulatedSeconds <= 0.0 || sim.getTime() < endTime))
        {
            const std::vector<std::vector<Vehicle*>>& lanes = sim.step(running);
            if (bridges)
                bridges->observe(lanes, sim.getTime());
        }
        if (bridges)
            bridges->finish();
        last = sim.getStatistics();
        sim.reset();
        vehicleSteps += static_cast<double>(last.vehicleSteps);
    }
    state.counters["vehicle_steps"] = static_cast<double>(last.vehicleSteps);
    // Per CPU second as well: other programs on a busy machine stretch the wall time.
    const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    state.counters["vehicle_steps_per_s"] = benchmark::Counter(vehicleSteps, benchmark::Counter::kIsRate);
    state.counters["vehicle_steps_per_cpu_s"] = cpuSeconds > 0.0 ? vehicleSteps / cpuSeconds : 0.0;
    state.counters["steps"] = static_cast<double>(last.steps);
    state.counters["released"] = static_cast<double>(last.vehiclesReleased);
    state.counters["written"] = static_cast<double>(last.recordsWritten);
    // The release figures tell whether the entry, not the road, limited the flow.
    state.counters["release_delay_p95_s"] = last.releaseDelays.percentile95Seconds;
    state.counters["minimum_gap_m"] = last.gaps.any() ? last.gaps.minimumGap : 0.0;
    state.counters["peak_rss_MB"] = static_cast<double>(peakResidentKilobytes()) / 1024.0;
}

void BM_StandardHour(benchmark::State& state)
{
    runScenario(state, Scenario{});
}
BENCHMARK(BM_StandardHour)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_StandardHourThreeBridges(benchmark::State& state)
{
    Scenario scenario;
    scenario.withBridges = true;
    runScenario(state, scenario);
}
BENCHMARK(BM_StandardHourThreeBridges)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// The argument is the road's length in m.
void BM_DenseRoad(benchmark::State& state)
{
    constexpr double simulatedSeconds = 2400.0;  // s
    runScenario(state, Scenario{simulatedSeconds / 3600.0, 3600.0, static_cast<int>(state.range(0)), simulatedSeconds});
}
BENCHMARK(BM_DenseRoad)->Arg(3000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_Day(benchmark::State& state)
{
    runScenario(state, Scenario{24.0});
}

const bool dayRegistered = [] {
    if (std::getenv("ROADFLUX_BENCH_DAY"))
        benchmark::RegisterBenchmark("BM_Day", BM_Day)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
    return true;
}();

}  // namespace
