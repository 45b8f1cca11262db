#include "cli/RunCommand.h"

#include "cli/CliFailure.h"
#include "cli/ConsoleMessages.h"
#include "cli/ProgressReporter.h"
#include "cli/RunBridges.h"
#include "cli/RunSummary.h"
#include "cli/TrajectoryOutput.h"
#include "config/MersenneTwister.h"
#include "document/StudyDocument.h"
#include "document/StudyOptions.h"
#include "files/FileClaims.h"
#include "loadeffects/GumbelFit.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {
volatile std::sig_atomic_t stopSignal = 0;

extern "C" void requestStop(int signalNumber)
{
    stopSignal = signalNumber;
}

// Ctrl-C, a batch system's SIGTERM or a closed terminal's SIGHUP stops the run as the desktop
// program's Stop does, so that every file is closed whole. A signal the caller chose to ignore
// (nohup) stays ignored.
class StopSignals
{
public:
    StopSignals()
    {
        stopSignal = 0;
        previousInterrupt = install(SIGINT);
        previousTerminate = install(SIGTERM);
        previousHangup = install(SIGHUP);
    }
    ~StopSignals()
    {
        restore(SIGINT, previousInterrupt);
        restore(SIGTERM, previousTerminate);
        restore(SIGHUP, previousHangup);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    using Handler = void (*)(int);

    static Handler install(int signalNumber)
    {
        const Handler previous = std::signal(signalNumber, requestStop);
        if (previous == SIG_IGN)
            std::signal(signalNumber, SIG_IGN);
        return previous;
    }
    static void restore(int signalNumber, Handler previous)
    {
        std::signal(signalNumber, previous == SIG_ERR ? SIG_DFL : previous);
    }

    Handler previousInterrupt = SIG_DFL;
    Handler previousTerminate = SIG_DFL;
    Handler previousHangup = SIG_DFL;
};

std::string absoluteName(const std::string& path)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return error ? path : absolute.lexically_normal().generic_string();
}

void createFolder(const std::string& folder, const char* option)
{
    std::error_code error;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder))
        throw CliFailure(folder + ": " + option + ": the folder cannot be created" +
                         (error ? " (" + error.message() + ")" : std::string()));
}
}

RunCommand::RunCommand(std::ostream& outStream, std::ostream& errStream, bool terminal)
    : out(outStream), err(errStream), errIsTerminal(terminal)
{
}

void RunCommand::applyOverrides(StudyDocument& document, const Options& options) const
{
    std::string output = options.output;
    std::string metrics = options.metrics;
    if (!options.outDir.empty())
    {
        createFolder(options.outDir, "--out-dir");
        if (output.empty())
            output = (fs::path(options.outDir) / "output.txt").string();
        if (metrics.empty())
            metrics = (fs::path(options.outDir) / "metrics").string();
    }
    if (!options.input.empty())
        document.setInputFileName(absoluteName(options.input));
    if (!output.empty())
        document.setOutputFileName(absoluteName(output));
    if (!options.outDir.empty() && options.metrics.empty())
        createFolder(metrics, "--out-dir");
    if (!metrics.empty())
        document.setMetricsFolder(absoluteName(metrics) + "/");
}

// The settings kept beside the study, then the command line's, which win.
void RunCommand::applyStudyOptions(StudyDocument& document, const Options& options)
{
    const std::string file = StudyOptionsFile::besideStudy(options.study);
    std::error_code error;
    if (fs::exists(file, error) || fs::is_symlink(file, error))
    {
        const StudyOptionsFileResult read = StudyOptionsFile::read(file);
        if (!read.ok())
        {
            std::string message = "the study's options cannot be used:";
            for (const std::string& problem : read.problems)
                message += "\n  " + problem;
            throw CliFailure(message);
        }
        document.setReleaseOrder(read.options.releaseOrder);
        // The run must not write over what it was told by.
        FileClaims claims;
        claims.addInput(file, "the study's options file");
        document.addRunFiles(claims);
    }
    if (!options.releaseOrder.empty())
    {
        const std::optional<ReleaseOrder> order = releaseOrderNamed(options.releaseOrder);
        if (!order)
            throw CliFailure("--release-order: \"" + options.releaseOrder + "\" is not a release order; it is " +
                                 releaseOrderChoices,
                             CliFailure::usage);
        document.setReleaseOrder(*order);
    }
}

int RunCommand::execute(const Options& options)
{
    StudyDocument document;
    const StudyFileResult opened = document.openFile(options.study);
    if (opened != StudyFileResult::ok)
        throw CliFailure(options.study + ": " + studyFileMessage(opened));
    applyStudyOptions(document, options);
    applyOverrides(document, options);
    const std::optional<RunBridges> bridges = RunBridges::load(options.study, options.bridges, document);
    // The bridges' files are claimed with the run's own: a refused run empties none of them.
    if (bridges)
        document.addRunFiles(bridges->files(document.resolvedMetricsFolder()));
    if (options.seed)
        theRandomGenerator.seed(*options.seed);

    FileClaim trajectoryClaim;
    const std::unique_ptr<TrajectoryOutput> trajectories = claimTrajectories(document, options, trajectoryClaim);

    ConsoleMessages messages(out, err, nullptr, false);
    messages.setSubject(options.study);
    if (!document.setupSimulation(messages))
    {
        trajectoryClaim.abandon();
        throw CliFailure(options.study + ": the run cannot start (input traffic file " +
                         absoluteName(document.resolvedInputFileName()) + ", output traffic file " +
                         absoluteName(document.resolvedOutputFileName()) + ")");
    }

    StopSignals stopSignals;
    ProgressReporter progress(err, errIsTerminal);
    Sim& sim = document.getSim();
    const std::unique_ptr<LoadEffectRun> loadEffects =
        bridges ? bridges->start(sim, document.resolvedMetricsFolder()) : nullptr;
    const auto started = std::chrono::steady_clock::now();
    bool running = true;
    if (trajectories)
        trajectories->start(sim.getTime(), document.getTimeStep());
    progress.update(sim.getProgress());
    while (running && stopSignal == 0)
    {
        const std::vector<std::vector<Vehicle*>>& lanes = sim.step(running);
        if (loadEffects)
            loadEffects->observe(lanes, sim.getTime());
        if (trajectories)
            trajectories->observe(sim.getTime(), lanes);
        progress.update(sim.getProgress());
    }
    if (loadEffects)
        loadEffects->finish();
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - started;
    // After the reset, which closes the output file and so learns of a last failed write.
    sim.reset();
    const RunStatistics statistics = sim.getStatistics();
    progress.finish();

    bool outputsWhole = reportLostOutputs(statistics, absoluteName(document.resolvedOutputFileName()));
    if (trajectories)
        if (const std::optional<std::string> failure = trajectories->finish(statistics))
        {
            err << "roadflux-cli: " << *failure << '\n';
            outputsWhole = false;
        }
    if (loadEffects)
        for (const std::string& file : loadEffects->lostFiles())
        {
            err << "roadflux-cli: " << absoluteName(file)
                << ": the load-effect file could not be written: lines were lost\n";
            outputsWhole = false;
        }
    if (running)
    {
        err << "roadflux-cli: " << options.study
            << ": the simulation was stopped; the files written so far are complete\n";
        return CliFailure::stoppedBySignal + stopSignal;
    }
    const std::string output = absoluteName(document.resolvedOutputFileName());
    messages.inform("The simulation has finished.");
    RunSummary summary(statistics, wall.count(), output,
                       absoluteName(document.resolvedMetricsFolder().empty() ? "." : document.resolvedMetricsFolder()));
    summary.setReleaseOrder(document.getReleaseOrder());
    summary.setSeed(options.seed);
    if (trajectories)
        summary.setTrajectoryFiles(trajectories->getFileName(), trajectories->getFiguresFileName());
    summary.print(out);
    if (loadEffects)
        RunBridges::printSummary(out, *loadEffects, Gumbel::defaultReturnYears);
    return outputsWhole ? 0 : CliFailure::failed;
}

// The trajectories file, when asked for, checked against every other file of the run and locked
// before the study's set-up touches any of them.
std::unique_ptr<TrajectoryOutput> RunCommand::claimTrajectories(const StudyDocument& document, const Options& options,
                                                                FileClaim& claim)
{
    if (options.trajectories.empty())
        return nullptr;
    auto trajectories =
        std::make_unique<TrajectoryOutput>(absoluteName(options.trajectories), options.trajectoryInterval);
    trajectories->claim(document.runFiles(), claim);
    return trajectories;
}

// Every file the study asked for that is not whole is named: the run must not pass for a success.
bool RunCommand::reportLostOutputs(const RunStatistics& statistics, const std::string& outputFile) const
{
    if (statistics.outputWriteFailed)
        err << "roadflux-cli: " << outputFile << ": the output traffic file could not be written: records were lost\n";
    for (const std::string& file : statistics.lostMeasurementFiles)
        err << "roadflux-cli: " << absoluteName(file)
            << ": the measurement file could not be written: lines were lost\n";
    return !statistics.outputWriteFailed && statistics.lostMeasurementFiles.empty();
}
