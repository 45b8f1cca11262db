// Throughput of the traffic-file handlers: TALVOR records read into classified vehicles and
// vehicles written back as records, through real files, plus the record operations alone.

#include "trafficfiles/LineWriter.h"
#include "trafficfiles/RecordFormat.h"
#include "trafficfiles/TALVORFile.h"
#include "vehicles/Truck.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int recordsPerFile = 200000;

std::string scratchPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("roadflux-bench-" + std::to_string(::getpid()) + "-" + name))
        .string();
}

// A plausible TALVOR record; the seed varies the time, speed, weight and axle count.
std::string talvorRecord(int seed)
{
    const int axleCount = 2 + seed % 5;
    char header[64];
    std::snprintf(header, sizeof header, "1001%2d%2d%2d%2d%2d%2d%2d%3d%4d%3d%d%d%d%3d", 1 + seed % 25, 1 + seed % 10,
                  21, seed / 3600 % 24, seed / 60 % 60, seed % 60, seed % 100, 150 + seed % 100, 20 + seed % 400,
                  45 + seed % 150, axleCount, 1 + seed % 2, 1 + seed % 3, seed % 1000);
    std::string record = header;
    for (int i = 0; i < 9; ++i)
    {
        char slot[16];
        const bool present = i < axleCount;
        std::snprintf(slot, sizeof slot, i == 8 ? "%3d" : "%3d%2d", present ? 40 + (seed + i) % 60 : 0,
                      present && i + 1 < axleCount ? 13 + (seed * i) % 50 : 0);
        record += slot;
    }
    return record;
}

const std::string& inputFile()
{
    static const std::string name = [] {
        const std::string path = scratchPath("input.tal");
        LineWriter writer;
        writer.open(path);
        for (int i = 0; i < recordsPerFile; ++i)
            writer.writeLine(talvorRecord(i));
        return path;
    }();
    return name;
}

long residentKiB()
{
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

void readTALVORFile(benchmark::State& state)
{
    const std::string& input = inputFile();
    const std::string output = scratchPath("unused.tal");
    long growthKiB = 0;
    for (auto _ : state)
    {
        const long before = residentKiB();
        TALVORFile handler(input, output);
        int read = 0;
        while (const std::unique_ptr<Vehicle> vehicle = handler.readNextVehicle())
        {
            benchmark::DoNotOptimize(vehicle->vehicleClass);
            if (++read % 50000 == 0)
                growthKiB = std::max(growthKiB, residentKiB() - before);
        }
        if (read != recordsPerFile)
            state.SkipWithError("short read");
    }
    state.SetItemsProcessed(state.iterations() * recordsPerFile);
    state.counters["rssGrowthKiB"] = static_cast<double>(growthKiB);
    std::filesystem::remove(output);
}
BENCHMARK(readTALVORFile)->Unit(benchmark::kMillisecond);

void writeTALVORFile(benchmark::State& state)
{
    std::vector<std::unique_ptr<Vehicle>> vehicles;
    for (int i = 0; i < recordsPerFile; ++i)
    {
        vehicles.push_back(std::make_unique<Truck>());
        readTALVOR(*vehicles.back(), talvorRecord(i));
    }
    const std::string output = scratchPath("output.tal");
    const std::string emptyInput = scratchPath("empty.tal");
    std::ofstream{emptyInput};
    for (auto _ : state)
    {
        TALVORFile handler(emptyInput, output);
        for (const auto& vehicle : vehicles)
            handler.writeVehicle(vehicle.get());
        if (!handler.flushOutput())
            state.SkipWithError("write failed");
    }
    state.SetItemsProcessed(state.iterations() * recordsPerFile);
    std::filesystem::remove(output);
    std::filesystem::remove(emptyInput);
}
BENCHMARK(writeTALVORFile)->Unit(benchmark::kMillisecond);

// The record operations without files: parsing, axles and classification; formatting.
void readTALVORRecord(benchmark::State& state)
{
    const std::string record = talvorRecord(1234);
    for (auto _ : state)
    {
        Truck vehicle;
        readTALVOR(vehicle, record);
        benchmark::DoNotOptimize(vehicle.vehicleClass);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(readTALVORRecord);

void writeTALVORRecord(benchmark::State& state)
{
    Truck vehicle;
    readTALVOR(vehicle, talvorRecord(1234));
    std::string out;
    for (auto _ : state)
    {
        writeTALVOR(vehicle, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(writeTALVORRecord);

}  // namespace
