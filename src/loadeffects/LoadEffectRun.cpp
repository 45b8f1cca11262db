#include "loadeffects/LoadEffectRun.h"

#include "detectors/MeasurementFile.h"
#include "loadeffects/BridgeFields.h"
#include "loadeffects/InfluenceLineFile.h"
#include "loadeffects/SecondEnvelope.h"
#include "outputfiles/FileLayouts.h"
#include "outputfiles/MeasurementFileName.h"

#include <cmath>
#include <utility>

struct LoadEffectRun::Outputs
{
    Outputs(double startTime, double timeStep) : envelope(startTime, timeStep) {}

    MeasurementFile series;
    MeasurementFile seconds;
    MeasurementFile events;
    SecondEnvelope envelope;
};

std::vector<BridgeProblem> LoadEffectRun::prepare(const BridgeSet& set, const std::string& bridgesFolder,
                                                  std::vector<PreparedBridge>& prepared)
{
    std::vector<BridgeProblem> problems;
    prepared.clear();
    for (std::size_t i = 0; i < set.bridges.size(); ++i)
    {
        InfluenceLineResult line = InfluenceLineFile::load(set.bridges[i], bridgesFolder);
        if (line.line)
            prepared.push_back({set.bridges[i], std::move(*line.line)});
        else
            problems.push_back({i, BridgeFields::effect, line.problem});
    }
    return problems;
}

LoadEffectRun::LoadEffectRun(const std::vector<PreparedBridge>& bridges, const RoadLayout& road, double startTime,
                             std::string metricsFolder)
    : timeStep(road.timeStep), folder(std::move(metricsFolder)), lastTime(startTime)
{
    monitors.reserve(bridges.size());
    for (const PreparedBridge& prepared : bridges)
    {
        monitors.emplace_back(prepared.bridge, prepared.line, road, startTime);
        outputs.push_back(std::make_unique<Outputs>(startTime, timeStep));
    }
}

LoadEffectRun::~LoadEffectRun() = default;

std::vector<std::string> LoadEffectRun::openFiles()
{
    std::vector<std::string> failed;
    for (std::size_t i = 0; i < monitors.size(); ++i)
    {
        const std::string& name = monitors[i].getBridge().name;
        const std::vector<MeasurementFileName> names = bridgeFiles(name);
        const std::string seriesPath = MeasurementFile::pathInFolder(folder, names[0].text());
        const std::string secondsPath = MeasurementFile::pathInFolder(folder, names[1].text());
        const std::string eventsPath = MeasurementFile::pathInFolder(folder, names[2].text());
        Outputs& files = *outputs[i];
        files.series.open(seriesPath);
        files.seconds.open(secondsPath);
        files.events.open(eventsPath);
        if (!files.series.isOpen())
            failed.push_back(seriesPath);
        if (!files.seconds.isOpen())
            failed.push_back(secondsPath);
        if (!files.events.isOpen())
            failed.push_back(eventsPath);
        for (const std::string& line : FileLayouts::loadEffectIntervalsHeader())
            files.series.text(line).endLine();
        for (const std::string& line : FileLayouts::loadEffectSecondsHeader())
            files.seconds.text(line).endLine();
        for (const std::string& line : FileLayouts::loadEffectEventsHeader())
            files.events.text(line).endLine();
    }
    return failed;
}

void LoadEffectRun::observe(const std::vector<std::vector<Vehicle*>>& lanes, double time)
{
    // Counted from the last step shown, not from the start: a clock summed over millions of
    // steps drifts from start + k x step by more than rounding.
    const long long skipped = std::llround((time - lastTime) / timeStep) - 1;
    if (finished || skipped < 0)
        return;
    const long long step = lastStep + skipped + 1;
    for (std::size_t i = 0; i < monitors.size(); ++i)
    {
        monitors[i].observeEmpty(lastStep + 1, step - 1, SummedClock(lastStep, lastTime, timeStep));
        monitors[i].observe(step, time, lanes);
        outputs[i]->envelope.add(step, monitors[i].getLastEffect());
        writeClosedIntervals(i);
        writeClosedSeconds(i);
    }
    lastStep = step;
    lastTime = time;
}

void LoadEffectRun::finish()
{
    if (finished)
        return;
    finished = true;
    for (std::size_t i = 0; i < monitors.size(); ++i)
    {
        monitors[i].finish(lastStep, lastTime);
        outputs[i]->envelope.finish();
        writeClosedIntervals(i);
        writeClosedSeconds(i);
        writeEvents(i);
        outputs[i]->series.close();
        outputs[i]->seconds.close();
        outputs[i]->events.close();
    }
}

std::vector<std::string> LoadEffectRun::lostFiles() const
{
    std::vector<std::string> lost;
    for (const auto& files : outputs)
        for (const MeasurementFile* file : {&files->series, &files->seconds, &files->events})
            if (file->hasLostLines())
                lost.push_back(file->getPath());
    return lost;
}

void LoadEffectRun::writeClosedIntervals(std::size_t bridge)
{
    MeasurementFile& file = outputs[bridge]->series;
    for (const IntervalRow& row : monitors[bridge].takeClosedIntervals())
    {
        file.integer(row.number).text(",").seconds(row.endTime).text(",");
        file.real(row.maximum).text(",").seconds(row.maximumTime).text(",");
        file.real(row.minimum).text(",").seconds(row.minimumTime).text(",");
        file.integer(row.vehicles).text(",").seconds(row.duration).endLine();
    }
}

void LoadEffectRun::writeClosedSeconds(std::size_t bridge)
{
    Outputs& files = *outputs[bridge];
    for (const SecondRow& row : files.envelope.takeClosed())
    {
        files.seconds.integer(row.number).text(",").seconds(row.endTime).text(",");
        files.seconds.real(row.maximum).text(",").real(row.minimum).endLine();
    }
}

void LoadEffectRun::writeEvents(std::size_t bridge)
{
    MeasurementFile& file = outputs[bridge]->events;
    const std::vector<LoadEvent>& events = monitors[bridge].getEvents().getEvents();
    for (std::size_t rank = 0; rank < events.size(); ++rank)
        for (const EventVehicle& vehicle : events[rank].vehicles)
        {
            file.integer(static_cast<long long>(rank + 1)).text(",").seconds(events[rank].time).text(",");
            file.real(events[rank].value).text(",").integer(vehicle.inputLine).text(",");
            file.integer(vehicle.vehicleClass).text(",").real(vehicle.grossWeight).text(",");
            file.integer(vehicle.lane).text(",").real(vehicle.frontX).endLine();
        }
}
