#include "cli/RunBridges.h"

#include "cli/CliFailure.h"
#include "cli/RunSummary.h"
#include "config/CConfigData.h"
#include "detectors/MeasurementFile.h"
#include "document/StudyDocument.h"
#include "loadeffects/BridgesFile.h"
#include "loadeffects/GumbelFit.h"
#include "loadeffects/InfluenceLineFile.h"
#include "outputfiles/MeasurementFileName.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <ostream>

namespace {
[[noreturn]] void refuse(const std::vector<std::string>& problems)
{
    std::string message = "the bridges cannot be used:";
    for (const std::string& problem : problems)
        message += "\n  " + problem;
    throw CliFailure(message);
}

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}
}

std::optional<RunBridges> RunBridges::load(const std::string& studyFile, const std::string& bridgesOption,
                                           const StudyDocument& document)
{
    RunBridges result;
    result.file = bridgesOption;
    if (result.file.empty())
    {
        result.file = BridgesFile::besideStudy(studyFile);
        std::error_code error;
        if (!std::filesystem::exists(result.file, error))
            return std::nullopt;
    }
    const BridgesFileResult read = BridgesFile::read(result.file);
    if (!read.ok())
        refuse(read.problems);
    result.road = RoadLayout{static_cast<double>(document.getRoadLength()), document.getLanesDir1(),
                             document.getLanesDir2(), document.getTimeStep()};
    std::vector<BridgeProblem> problems = read.set.checkOn(result.road);
    const std::string folder = std::filesystem::path(result.file).parent_path().string();
    for (BridgeProblem& problem : LoadEffectRun::prepare(read.set, folder, result.bridges))
        problems.push_back(std::move(problem));
    if (!problems.empty())
        refuse(BridgesFile::describe(result.file, read, problems));
    // Found out before the run truncates any of its files.
    const std::string metrics = document.resolvedMetricsFolder().empty() ? "." : document.resolvedMetricsFolder();
    std::error_code error;
    if (!std::filesystem::is_directory(metrics, error))
        refuse({metrics + ": the metrics folder does not exist: the load-effect files cannot be written"});
    return result;
}

std::unique_ptr<LoadEffectRun> RunBridges::start(const Sim& sim, const std::string& metricsFolder) const
{
    auto run = std::make_unique<LoadEffectRun>(bridges, road, sim.getTime(), metricsFolder);
    const std::vector<std::string> failed = run->openFiles();
    if (!failed.empty())
    {
        std::vector<std::string> problems;
        for (const std::string& path : failed)
            problems.push_back(path + ": the load-effect file cannot be created");
        refuse(problems);
    }
    return run;
}

FileClaims RunBridges::files(const std::string& metricsFolder) const
{
    FileClaims files;
    files.addInput(file, "the bridges file");
    const std::string folder = std::filesystem::path(file).parent_path().string();
    for (const PreparedBridge& prepared : bridges)
    {
        const Bridge& bridge = prepared.bridge;
        if (!bridge.influenceFile.empty())
            files.addInput(InfluenceLineFile::resolve(bridge, folder),
                           "the influence line file of bridge " + bridge.name);
        for (const MeasurementFileName& name : bridgeFiles(bridge.name))
        {
            const std::string path = MeasurementFile::pathInFolder(metricsFolder, name.text());
            files.addOutput(path, "the load-effect file " + path);
        }
    }
    return files;
}

void RunBridges::printSummary(std::ostream& out, const LoadEffectRun& run, double returnYears)
{
    const double secondsPerYear =
        86400.0 * std::max(1, theConfigData.daysPerMonth) * std::max(1, theConfigData.monthsPerYear);
    for (const BridgeMonitor& monitor : run.getMonitors())
    {
        const Bridge& bridge = monitor.getBridge();
        const std::vector<LoadEvent>& events = monitor.getEvents().getEvents();
        out << "Bridge " << bridge.name << ": ";
        if (events.empty())
            out << "no vehicle crossed";
        else
            out << "largest " << number(events.front().value) << " at "
                << RunSummary::simulatedTime(events.front().time);
        const std::vector<double>& maxima = monitor.getCompleteMaxima();
        out << "; " << maxima.size() << " complete intervals of " << number(bridge.interval) << " s\n";
        const std::optional<GumbelFit> fit = Gumbel::fit(maxima);
        if (!fit)
        {
            out << "  no Gumbel fit: " << Gumbel::noFitReason(maxima) << '\n';
            continue;
        }
        const double period = Gumbel::periodInIntervals(returnYears, bridge.interval, secondsPerYear);
        out << "  Gumbel fit: location " << number(fit->location) << ", scale " << number(fit->scale) << "; "
            << number(returnYears) << "-year return level " << number(fit->returnLevel(period)) << " ("
            << number(period) << " intervals)\n";
    }
}
