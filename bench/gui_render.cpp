// Speed of the desktop program: drawing one frame of a busy road, how many steps a visible run
// makes per second of real time at a time warp of 1000 (a step of 0.1 s wants 10,000/s), and the
// share of a core a visible run takes at a time warp of 1; both runs again with flow and density
// detectors whose live charts are shown.

#include "app/CLiveChartsDock.h"
#include "app/CRoadfluxDoc.h"
#include "app/CRoadfluxView.h"
#include "app/CSteadyClock.h"
#include "app/CViewDocument.h"
#include "dialogs/CUserDialogs.h"
#include "trafficfiles/RecordFormat.h"
#include "vehicles/Vehicle.h"

#include <QApplication>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {
// The program's one application, made by main before any benchmark runs and destroyed after the
// last one, while Qt's own globals still stand (a function-local static outlived them).
QApplication* theApplication = nullptr;

QApplication& application()
{
    return *theApplication;
}

// Answers every message silently, so that no box waits for a click.
class SilentDialogs : public CUserDialogs
{
public:
    void warn(const std::string&) override {}
    void inform(const std::string&) override {}
    bool ask(const std::string&) override { return true; }
    SaveChoice askSaveChanges(const QString&) override { return SaveChoice::discard; }
    QString chooseOpenFile(const QString&, const QString&) override { return {}; }
    QString chooseSaveFile(const QString&, const QString&, const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&) override { return {}; }
};

// A still picture of a busy road: every step hands out the same vehicles.
class BusyRoad : public CViewDocument, public CSimulationLink
{
public:
    BusyRoad(int roadLength, int lanesPerDirection, int vehicleCount)
    {
        shapeValue.roadLength = roadLength;
        shapeValue.lanesDir1 = shapeValue.lanesDir2 = lanesPerDirection;
        shapeValue.totalLanes = 2 * lanesPerDirection;
        shapeValue.numDirections = 2;
        sceneValue.features = {{400, true, 1000, 3000, 22.2}, {401, false, 6000, 8000, 4.0}};
        sceneValue.detectors = {{510, true, 2000}, {511, false, 5000}, {512, true, 7000}, {513, true, 500}};
        sceneValue.outputDetectorLocation1 = sceneValue.outputDetectorLocation2 = 9500;
        lists.resize(static_cast<std::size_t>(shapeValue.totalLanes));
        const int perLane = vehicleCount / shapeValue.totalLanes;
        for (int lane = 1; lane <= shapeValue.totalLanes; ++lane)
            for (int i = 0; i < perLane; ++i)
            {
                auto vehicle = std::make_unique<Vehicle>();
                vehicle->lane = lane;
                vehicle->directionPositive = lane <= lanesPerDirection;
                vehicle->direction = vehicle->directionPositive ? 1 : 2;
                vehicle->roadX = (i + 0.5) * roadLength / perLane;
                vehicle->length = i % 5 == 0 ? 16.5 : 4.5;
                vehicle->vehicleClass = static_cast<short>(i % 5);
                vehicle->velocity = 20.0 + i % 10;
                lists[static_cast<std::size_t>(lane - 1)].push_back(vehicle.get());
                vehicles.push_back(std::move(vehicle));
            }
    }

    CStudyShape shape() const override { return shapeValue; }
    CRoadScene scene() const override { return sceneValue; }
    CSimulationLink& simulation() override { return *this; }
    bool setupSimulation() override { return true; }
    VehicleLists step(bool&) override { return lists; }
    double getTime() const override { return 27000.0; }
    int getProgress() const override { return 50; }
    void reset() override {}

private:
    CStudyShape shapeValue;
    CRoadScene sceneValue;
    VehicleLists lists;
    std::vector<std::unique_ptr<Vehicle>> vehicles;
};

void drawBusyFrame(benchmark::State& state, double viewScale)
{
    application();
    SilentDialogs dialogs;
    CUserDialogs* previous = setUserDialogs(&dialogs);
    BusyRoad road(10000, 4, 2000);
    CRoadfluxView view(road, CSteadyClock::instance());
    view.resize(1000, 600);
    view.show();
    view.initialUpdate();
    if (viewScale != 1.0)
        view.setViewScale(viewScale);
    view.runVisible();
    view.onTick(view.clockNow() + 1000);
    QImage frame(view.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state)
    {
        QPainter painter(&frame);
        view.drawFrame(painter, frame.rect(), false);
    }
    view.stop();
    setUserDialogs(previous);
}

// A frame at the default zoom: the window shows about a kilometre of the 10 km road.
void BM_FrameOf2000VehiclesDefaultZoom(benchmark::State& state)
{
    drawBusyFrame(state, 1.0);
}
BENCHMARK(BM_FrameOf2000VehiclesDefaultZoom)->Unit(benchmark::kMillisecond);

// Zoomed out until the whole road fits: every one of the 2,000 vehicles is drawn with its speed.
void BM_FrameOf2000VehiclesWholeRoad(benchmark::State& state)
{
    drawBusyFrame(state, 0.12);
}
BENCHMARK(BM_FrameOf2000VehiclesWholeRoad)->Unit(benchmark::kMillisecond);

// A traffic file of the example's records, retimed to about 6,000 vehicles per hour on 2 + 2
// lanes, so that some 200 vehicles are on a 3 km road at once.
std::string writeDenseTraffic(const std::filesystem::path& folder, int vehicleCount)
{
    const std::filesystem::path example = std::filesystem::path(ROADFLUX_SOURCE_DIR) / "examples" / "traffic.txt";
    std::ifstream in(example);
    std::vector<std::string> templates;
    for (std::string line; std::getline(in, line) && templates.size() < 200;)
        if (!line.empty())
            templates.push_back(line);
    const std::string path = (folder / "dense.txt").string();
    std::ofstream out(path);
    const double start = 7.5 * 3600.0;
    for (int i = 0; i < vehicleCount && !templates.empty(); ++i)
    {
        Vehicle vehicle;
        readTALVOR(vehicle, templates[static_cast<std::size_t>(i) % templates.size()]);
        vehicle.setTime(start + i * 0.6);
        vehicle.direction = i % 2 == 0 ? 1 : 2;
        vehicle.directionPositive = vehicle.direction == 1;
        vehicle.lane = vehicle.directionPositive ? 1 + (i / 2) % 2 : 3 + (i / 2) % 2;
        std::string record;
        writeTALVOR(vehicle, record);
        out << record << "\r\n";
    }
    return path;
}

// The dense traffic on a 3 km road of 2 + 2 lanes with a 0.1 s step, in a window of its own;
// with a detector interval, four flow-and-density detectors of that interval, whose figures feed a
// live-charts dock shown beside the road when asked. The detectors without the dock are the
// measure of what the dock itself costs.
struct LiveChartsSetting
{
    int detectorInterval = 0;  // s; 0: no detectors
    bool dockShown = false;
};

class DenseStudyWindow
{
public:
    explicit DenseStudyWindow(LiveChartsSetting setting = {})
    {
        const std::string traffic = writeDenseTraffic(folder.path().toStdString(), 1500);
        StudyDocument& study = document.study();
        study.setInputFileName(traffic);
        study.setOutputFileName(folder.filePath("output.txt").toStdString());
        study.setMetricsFolder(folder.path().toStdString());
        study.setRoadLength(3000);
        study.setLanesDir1(2);
        study.setLanesDir2(2);
        study.setFileLanesDir1(2);
        study.setFileLanesDir2(2);
        study.setOutputDetectorLocation1(2800);
        study.setOutputDetectorLocation2(2800);
        study.setTimeStep(0.1);
        study.updateLaneTotals(false);
        if (setting.detectorInterval > 0)
            addFlowDensityDetectors(study, setting.detectorInterval);
        view = std::make_unique<CRoadfluxView>(document, CSteadyClock::instance());
        view->resize(1000, 600);
        view->show();
        view->initialUpdate();
        if (setting.dockShown)
        {
            liveCharts = std::make_unique<CLiveChartsDock>(document.liveFigures());
            liveCharts->resize(1000, 300);
            liveCharts->show();
            QObject::connect(view.get(), &CRoadfluxView::frameRequested, liveCharts.get(), &CLiveChartsDock::refresh);
        }
    }

    static void addFlowDensityDetectors(StudyDocument& study, int interval)
    {
        StudyDocument::StatDetectorList detectors;
        for (int i = 0; i < 4; ++i)
        {
            auto detector = std::make_unique<CStatDetector>();
            detector->setKind(CStatDetector::flowAndDensity);
            detector->setVehicleTypes(CStatDetector::allVehicles);
            detector->setDirectionPositive(i % 2 == 0);
            detector->setInterval(interval);
            detector->setLocation(500 + 600 * i);
            detectors.push_back(std::move(detector));
        }
        study.setStatDetectors(detectors);
    }

    QTemporaryDir folder;
    CRoadfluxDoc document;
    std::unique_ptr<CRoadfluxView> view;
    std::unique_ptr<CLiveChartsDock> liveCharts;
};

// Counts the frames a widget paints.
class FrameCounter : public QObject
{
public:
    explicit FrameCounter(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++frames;
        return QObject::eventFilter(watched, event);
    }
    std::int64_t frames = 0;
};

double processCpuSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

void visibleRunAtWarp1000(benchmark::State& state, LiveChartsSetting setting)
{
    application();
    SilentDialogs dialogs;
    CUserDialogs* previous = setUserDialogs(&dialogs);
    DenseStudyWindow window(setting);
    CRoadfluxView& view = *window.view;
    FrameCounter frameCounter(*view.viewport());
    double seconds = 0.0;
    std::int64_t steps = 0;
    std::int64_t vehicleSteps = 0;
    for (auto _ : state)
    {
        view.getRunControl().setTimeWarpFactor(1000.0);
        QEventLoop loop;
        QObject::connect(&view, &CRoadfluxView::simulationBusy, &loop, [&loop](bool busy) {
            if (!busy)
                loop.quit();
        });
        const auto begin = std::chrono::steady_clock::now();
        view.runVisible();
        if (!view.isRunning())
        {
            state.SkipWithError("the run was refused");
            break;
        }
        loop.exec();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        const RunStatistics figures = window.document.study().getSim().getStatistics();
        steps += figures.steps;
        vehicleSteps += figures.vehicleSteps;
    }
    state.counters["steps_per_s"] = static_cast<double>(steps) / seconds;
    state.counters["mean_vehicles_on_road"] =
        steps ? static_cast<double>(vehicleSteps) / static_cast<double>(steps) : 0.0;
    state.counters["wanted_steps_per_s"] = 10000.0;
    state.counters["frames_per_s"] = static_cast<double>(frameCounter.frames) / seconds;
    setUserDialogs(previous);
}

void BM_VisibleRunAtWarp1000(benchmark::State& state)
{
    visibleRunAtWarp1000(state, {});
}
BENCHMARK(BM_VisibleRunAtWarp1000)->Unit(benchmark::kSecond)->Iterations(1);

// The argument is the detectors' interval (s): 10 s is six times the example's rate of intervals.
void BM_VisibleRunAtWarp1000WithDetectors(benchmark::State& state)
{
    visibleRunAtWarp1000(state, {static_cast<int>(state.range(0)), false});
}
BENCHMARK(BM_VisibleRunAtWarp1000WithDetectors)->Arg(10)->Arg(60)->Unit(benchmark::kSecond)->Iterations(1);

void BM_VisibleRunAtWarp1000WithLiveCharts(benchmark::State& state)
{
    visibleRunAtWarp1000(state, {static_cast<int>(state.range(0)), true});
}
BENCHMARK(BM_VisibleRunAtWarp1000WithLiveCharts)->Arg(10)->Arg(60)->Unit(benchmark::kSecond)->Iterations(1);

// Five seconds of the same run in real time: the share of a core the program takes while it
// mostly waits for the next step and repaint.
void visibleRunAtWarp1CpuShare(benchmark::State& state, LiveChartsSetting setting)
{
    application();
    SilentDialogs dialogs;
    CUserDialogs* previous = setUserDialogs(&dialogs);
    DenseStudyWindow window(setting);
    CRoadfluxView& view = *window.view;
    constexpr int runMs = 5000;
    double cpuShare = 0.0;
    double achievedWarp = 0.0;
    for (auto _ : state)
    {
        view.getRunControl().setTimeWarpFactor(1.0);
        view.runVisible();
        if (!view.isRunning())
        {
            state.SkipWithError("the run was refused");
            break;
        }
        const double cpuBefore = processCpuSeconds();
        view.getRunControl().refreshClocks();
        const double simBefore = view.getRunControl().getSimTime();
        const auto begin = std::chrono::steady_clock::now();
        QEventLoop loop;
        QTimer::singleShot(runMs, &loop, &QEventLoop::quit);
        loop.exec();
        const double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        cpuShare = (processCpuSeconds() - cpuBefore) / wallSeconds;
        view.getRunControl().refreshClocks();
        achievedWarp = (view.getRunControl().getSimTime() - simBefore) / wallSeconds;
        view.stop();
    }
    state.counters["cpu_percent"] = 100.0 * cpuShare;
    state.counters["achieved_warp"] = achievedWarp;
    setUserDialogs(previous);
}

void BM_VisibleRunAtWarp1CpuShare(benchmark::State& state)
{
    visibleRunAtWarp1CpuShare(state, {});
}
BENCHMARK(BM_VisibleRunAtWarp1CpuShare)->Unit(benchmark::kSecond)->Iterations(1);

void BM_VisibleRunAtWarp1CpuShareWithLiveCharts(benchmark::State& state)
{
    visibleRunAtWarp1CpuShare(state, {10, true});
}
BENCHMARK(BM_VisibleRunAtWarp1CpuShareWithLiveCharts)->Unit(benchmark::kSecond)->Iterations(1);
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    theApplication = &app;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
