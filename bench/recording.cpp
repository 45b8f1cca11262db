// What recording a run's trajectories costs, on the example study run as an invisible run steps
// it: the bare run, the space-time diagram (800 x 200 cells per lane), the CSV stream to a
// file, and both, all sampled every second of simulated time. The figure to watch is each
// variant's CPU time over the bare run's; the space-time diagram's is to stay within 10 %.

#include "config/CConfigData.h"
#include "config/MersenneTwister.h"
#include "document/StudyDocument.h"
#include "document/UserMessages.h"
#include "recorders/SpaceTimeDiagram.h"
#include "recorders/TrajectoryCsvWriter.h"
#include "recorders/TrajectoryRecorder.h"

#include "ScratchFolder.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

enum Recording
{
    none = 0,
    diagram = 1,
    csv = 2,
    both = 3
};

class SilentMessages : public UserMessages
{
public:
    void warn(const std::string&) override {}
    void inform(const std::string&) override {}
    bool ask(const std::string&) override { return true; }
};

const ScratchFolder& scratch()
{
    static const ScratchFolder folder("recording");
    return folder;
}

void BM_ExampleRun(benchmark::State& state)
{
    const auto recording = static_cast<Recording>(state.range(0));
    const std::string examples = std::string(ROADFLUX_SOURCE_DIR) + "/examples/";
    theConfigData.readConfigFile(examples + "Roadflux.ini");
    SilentMessages messages;
    std::int64_t vehicleSteps = 0;
    std::int64_t rows = 0;
    for (auto _ : state)
    {
        theRandomGenerator.seed(1);
        StudyDocument document;
        if (document.openFile(examples + "study.rfx") != StudyFileResult::ok)
        {
            state.SkipWithError("the example study cannot be read");
            return;
        }
        document.setOutputFileName((scratch().path / "output.txt").string());
        document.setMetricsFolder((scratch().path / "metrics").string() + "/");
        if (!document.setupSimulation(messages))
        {
            state.SkipWithError("the example study cannot run");
            return;
        }
        Sim& sim = document.getSim();
        TrajectoryRecorder recorder(sim.getTime(), 1.0);
        SpaceTimeDiagram::Layout layout;
        layout.roadLength = sim.getRoad().getLength();
        layout.lanesDir1 = 2;
        layout.lanesDir2 = 2;
        layout.startTime = sim.getTime();
        SpaceTimeDiagram spaceTime(layout);
        std::ofstream file(scratch().path / "trajectories.csv", std::ios::binary);
        TrajectoryCsvWriter writer(file);
        if (recording & diagram)
            recorder.addSink(spaceTime);
        if (recording & csv)
            recorder.addSink(writer);

        bool running = true;
        while (running)
        {
            const auto& lanes = sim.step(running);
            if (recording != none)
                recorder.observe(sim.getTime(), lanes);
        }
        writer.flush();
        sim.reset();
        vehicleSteps = sim.getStatistics().vehicleSteps;
        rows = writer.getRowCount();
        benchmark::DoNotOptimize(spaceTime.getMaximumSpeed());
    }
    state.counters["vehicle_steps"] = static_cast<double>(vehicleSteps);
    state.counters["csv_rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_ExampleRun)
    ->ArgName("recording")
    ->Arg(none)
    ->Arg(diagram)
    ->Arg(csv)
    ->Arg(both)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4);

}  // namespace
