// Cost of the charts of a long run at one-second intervals: the HTML report of four
// flow-and-density files of a day (86,400 rows each) and of two days, and the Results window
// opening on the same folder. The report should take at most 10 s CPU and 300 MB, and grow
// linearly with the rows; the window should open in under 2 s.
// Peak memory is the process's: run one benchmark per process (--benchmark_filter) for its own.

#include "ScratchFolder.h"
#include "report/HtmlReport.h"
#include "resultswindow/ResultsWindow.h"

#include <QApplication>
#include <QTabWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <sys/resource.h>

namespace {

constexpr int detectors = 4;
constexpr int lanes = 2;

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// One detector's file at one-second intervals: in each second a lane sees a vehicle or not
// (about 1100 veh/h a lane), flows are whole vehicles times 3600, and a lane without vehicles
// has empty density and speed. A congested hour slows everything down, and one second holds a
// crawling outlier that every chart must still show.
void writeFlowDensityFile(const std::filesystem::path& path, long long rows, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::ofstream out(path, std::ios::binary);
    out << " ,Lane 1, , ,Lane 2, , ,Totals\n"
           "Interval No.,Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h),Density (veh/km),Flow (veh/hr),"
           "Avg. Vel. (km/h),Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h)\n";
    char cell[64];
    for (long long interval = 1; interval <= rows; ++interval)
    {
        const bool congested = interval % 86400 > 8 * 3600 && interval % 86400 < 9 * 3600;
        double totalDensity = 0.0, totalFlow = 0.0, speedSum = 0.0;
        int speeds = 0;
        out << interval;
        for (int lane = 0; lane < lanes; ++lane)
        {
            const bool vehicle = unit(random) < 0.3;
            if (!vehicle)
            {
                out << ",,0,";
                continue;
            }
            double speed = congested ? 15.0 + 20.0 * unit(random) : 80.0 + 40.0 * unit(random);
            if (interval == rows / 3)
                speed = 2.0;
            const double flow = 3600.0;
            const double density = flow / speed;
            std::snprintf(cell, sizeof cell, ",%.2f,%.0f,%.2f", density, flow, speed);
            out << cell;
            totalDensity += density;
            totalFlow += flow;
            speedSum += speed;
            ++speeds;
        }
        if (speeds == 0)
            out << ",,0,\n";
        else
        {
            std::snprintf(cell, sizeof cell, ",%.2f,%.0f,%.2f\n", totalDensity, totalFlow, speedSum / speeds);
            out << cell;
        }
    }
}

// A folder of four detectors' files of `rows` one-second intervals, made once per size.
const std::filesystem::path& folderOf(long long rows)
{
    static ScratchFolder scratch("report_size");
    static std::map<long long, std::filesystem::path> made;
    auto [at, added] = made.try_emplace(rows, scratch.path / ("rows-" + std::to_string(rows)));
    if (added)
    {
        std::filesystem::create_directories(at->second);
        for (int detector = 1; detector <= detectors; ++detector)
            writeFlowDensityFile(at->second / ("FD_All_Pos_" + std::to_string(500 * detector) + ".csv"), rows,
                                 static_cast<unsigned>(detector));
    }
    return at->second;
}

void BM_ReportOfOneSecondIntervals(benchmark::State& state)
{
    const auto rows = static_cast<long long>(state.range(0));
    const std::filesystem::path& folder = folderOf(rows);
    qsizetype bytes = 0;
    for (auto _ : state)
    {
        QString page = HtmlReport::build(HtmlReport::sourcesOf(folder));
        bytes = page.toUtf8().size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["page_MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_ReportOfOneSecondIntervals)
    ->Arg(86400)
    ->Arg(2 * 86400)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->MeasureProcessCPUTime();

// Building every tab and drawing the first one, as the window appears.
void BM_ResultsWindowOpens(benchmark::State& state)
{
    const std::filesystem::path& folder = folderOf(86400);
    for (auto _ : state)
    {
        ResultsWindow window;
        window.showFolder(QString::fromStdString(folder.string()));
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.grab());
        if (window.tabs().count() != detectors)
            state.SkipWithError("the window did not show every file");
    }
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_ResultsWindowOpens)->Unit(benchmark::kSecond)->Iterations(1)->MeasureProcessCPUTime();

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
