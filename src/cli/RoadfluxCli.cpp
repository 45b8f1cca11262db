#include "cli/RoadfluxCli.h"

#include "cli/CliFailure.h"
#include "cli/CompareCommand.h"
#include "cli/DefinitionParser.h"
#include "cli/ExampleCommand.h"
#include "cli/ExtremesCommand.h"
#include "cli/FitTrafficCommand.h"
#include "cli/GenerateCommand.h"
#include "cli/NewCommand.h"
#include "cli/NumberOptions.h"
#include "cli/RunCommand.h"
#include "cli/ShowCommand.h"
#include "config/CConfigData.h"
#include "document/StudyChecks.h"
#include "engine/ReleaseOrder.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <exception>
#include <limits>
#include <ostream>

namespace {
const char* const defaultConfigFile = "Roadflux.ini";

constexpr long long largestSeed = std::numeric_limits<std::uint32_t>::max();
constexpr double longestTrajectoryInterval = 365.0 * 86400.0;  // s

const char* const exitStatusHelp =
    "Exit status:\n"
    "  0      done: every file the command was asked to write is whole\n"
    "  1      refused or failed: nothing was run, or a file the study asks for is not whole\n"
    "         (an output or measurement file lost records); stderr names the file\n"
    "  2      the command line could not be understood\n"
    "  128+N  a run stopped by signal N (130 Ctrl-C, 143 SIGTERM, 129 SIGHUP): the files written\n"
    "         so far end in whole lines, but the run is incomplete\n"
    "A run refused for any reason touches no file: earlier results stay as they were.";

void addRunCommand(CLI::App& app, RunCommand::Options& options, std::uint32_t& seed)
{
    CLI::App* run = app.add_subcommand("run", "Run a study to the end without a window");
    run->add_option("study", options.study, "The study file (*.rfx)")->required();
    run->add_option("--input", options.input, "Input traffic file, in place of the study's");
    run->add_option("--output", options.output, "Output traffic file, in place of the study's");
    run->add_option("--metrics", options.metrics, "Folder for the measurement files, in place of the study's");
    run->add_option(
        "--out-dir", options.outDir,
        "A folder for this run's outputs: output.txt and metrics/ unless --output or --metrics say otherwise");
    run->add_option("--seed", seed,
                    "Seed of the random generator, 0 to 4294967295: runs with the same seed are identical")
        ->check(NumberOptions::whole(0, largestSeed));
    run->add_option("--bridges", options.bridges,
                    "Bridges file for load effects, in place of STUDY.bridges beside the study");
    run->add_option("--release-order", options.releaseOrder,
                    "The order in which vehicles enter the road, in place of STUDY.options': file (the default: a "
                    "vehicle that cannot enter holds back every later one) or per-lane (it holds back only its "
                    "own lane's)")
        ->check(CLI::Validator(
            [](const std::string& value) {
                return releaseOrderNamed(value)
                           ? std::string()
                           : "\"" + value + "\" is not a release order; it is " + releaseOrderChoices;
            },
            "file|per-lane", "release order"));
    CLI::Option* trajectories = run->add_option("--trajectories", options.trajectories,
                                                "CSV file of every vehicle sampled at an interval: "
                                                "time,direction,lane,position,velocity,acceleration,class,vehicle");
    run->add_option("--trajectory-interval", options.trajectoryInterval,
                    "Seconds of simulated time between trajectory samples, above 0 and up to 365 days "
                    "(default 1)")
        ->needs(trajectories)
        ->check(NumberOptions::real(0.0, longestTrajectoryInterval, "s", true));
}

void addNewCommand(CLI::App& app, NewCommand::Options& o)
{
    CLI::App* cmd = app.add_subcommand("new", "Write a new study with the defaults of File, New and the options given");
    cmd->add_option("study", o.study, "The study file to write (*.rfx)")->required();
    cmd->add_option("--input", o.input, "Input traffic file");
    cmd->add_option("--output", o.output, "Output traffic file");
    cmd->add_option("--metrics", o.metrics, "Folder for the measurement files");
    cmd->add_option("--format", o.format, "Traffic file format: TALVOR (default), VORK or DoRIV");
    cmd->add_option("--road-length", o.roadLength, "Road length, m (500 to 100000; default 3000)")
        ->check(NumberOptions::wholeInt(500, 100000, "m"));
    cmd->add_option("--lanes1", o.lanesDir1, "Road lanes of direction 1, positive x (0 to 4; default 2)")
        ->check(NumberOptions::wholeInt(0, 4));
    cmd->add_option("--lanes2", o.lanesDir2, "Road lanes of direction 2, negative x (0 to 4; default 1)")
        ->check(NumberOptions::wholeInt(0, 4));
    cmd->add_option("--file-lanes1", o.fileLanesDir1, "Lanes of direction 1 in the traffic file (0 to 4; default 2)")
        ->check(NumberOptions::wholeInt(0, 4));
    cmd->add_option("--file-lanes2", o.fileLanesDir2, "Lanes of direction 2 in the traffic file (0 to 4; default 1)")
        ->check(NumberOptions::wholeInt(0, 4));
    cmd->add_option("--drive-on", o.driveOn, "The side traffic keeps to: right (default) or left");
    cmd->add_option("--time-step-ms", o.timeStepMs, "Time step, ms (10 to 2000; default 100)")
        ->check(NumberOptions::wholeInt(10, 2000, "ms"));
    cmd->add_option("--output-detector1", o.outputDetector1,
                    "Output detector of direction 1, m of road x, on the road (default 2500)")
        ->check(NumberOptions::wholeInt(0, StudyChecks::maxRoadLength, "m"));
    cmd->add_option("--output-detector2", o.outputDetector2,
                    "Output detector of direction 2, m of road x, on the road (default 2500)")
        ->check(NumberOptions::wholeInt(0, StudyChecks::maxRoadLength, "m"));
    cmd->add_option("--lane-changes", o.laneChanges, "Lane changes allowed: true (default) or false");
    cmd->add_option("--output-cars", o.outputCars, "Cars written to the output file too: true (default) or false");
    cmd->add_option("--feature", o.features,
                    std::string("A road feature, repeatable: ") + DefinitionParser::featureSyntax());
    cmd->add_option("--detector", o.detectors,
                    std::string("A statistics detector, repeatable: ") + DefinitionParser::detectorSyntax());
    cmd->add_flag("--no-features", o.noFeatures, "Start without the default road feature");
    cmd->add_flag("--no-detectors", o.noDetectors, "Start without the default detector");
    cmd->add_flag("--yes", o.assumeYes, "Answer yes to questions (keeps very small detector intervals)");
    cmd->add_flag("--force", o.force, "Replace an existing study file");
}

void addShowCommand(CLI::App& app, std::string& study)
{
    CLI::App* show = app.add_subcommand("show", "Print a study's settings, features, detectors and driver parameters");
    show->add_option("study", study, "The study file (*.rfx)")->required();
}

void addGenerateCommand(CLI::App& app, GenerateCommand::Options& o)
{
    CLI::App* gen = app.add_subcommand("generate", "Write a synthetic traffic file");
    gen->add_option("output", o.output, "The traffic file to write")->required();
    gen->add_option("--format", o.format, "TALVOR (default), VORK or DoRIV");
    gen->add_option("--duration", o.duration,
                    "Length of the traffic, above 0 and up to 365 days: a number with the unit s, min "
                    "(or m, the default), h or d, e.g. 90s, 30m, 2h or 7d; default 30");
    gen->add_option("--flow", o.flow, "Vehicles per hour in every lane, 0 to 3600 (default 600)")
        ->check(NumberOptions::finite(0.0, 3600.0, "vehicles per hour per lane"));
    gen->add_option("--flow1", o.flowDir1, "Vehicles per hour in each lane of direction 1, 0 to 3600")
        ->check(NumberOptions::finite(0.0, 3600.0, "vehicles per hour per lane"));
    gen->add_option("--flow2", o.flowDir2, "Vehicles per hour in each lane of direction 2, 0 to 3600")
        ->check(NumberOptions::finite(0.0, 3600.0, "vehicles per hour per lane"));
    gen->add_option("--lanes1", o.lanesDir1, "Lanes of direction 1, 0 to 4 (default 2; VORK: 1)")
        ->check(NumberOptions::wholeInt(0, 4));
    gen->add_option("--lanes2", o.lanesDir2, "Lanes of direction 2, 0 to 4 (default 2; VORK: 0)")
        ->check(NumberOptions::wholeInt(0, 4));
    gen->add_option("--mix", o.mix,
                    "Class shares, each 0 to 1e9, e.g. car=80,small-truck=8,large-truck=8,crane=2,low-loader=2 "
                    "(the default)");
    gen->add_option("--start", o.start, "Time of day of the start, HH:MM[:SS] (default 08:00)");
    gen->add_option("--day", o.day,
                    "Days of the files' calendar before the start, 0 to 3650000 (default 0: day 1, month 1, year 0), "
                    "so that traffic written in pieces continues the calendar")
        ->check(NumberOptions::whole(0, 3650000));
    gen->add_option("--seed", o.seed, "Seed, 0 to 4294967295: the same seed gives the same file (default 1)")
        ->check(NumberOptions::whole(0, largestSeed));
    gen->add_flag("--force", o.force, "Replace an existing file");
    gen->add_option("--model", o.model,
                    "A traffic model (JSON, from fit-traffic) to draw the traffic from, from 00:00 of --day unless "
                    "--start is given, in place of --flow, --lanes and --mix; the format defaults to the model's")
        ->excludes("--flow")
        ->excludes("--flow1")
        ->excludes("--flow2")
        ->excludes("--lanes1")
        ->excludes("--lanes2")
        ->excludes("--mix");
}
}

RoadfluxCli::RoadfluxCli(std::ostream& outStream, std::ostream& errStream, std::istream* answerStream, bool terminal)
    : out(outStream), err(errStream), answers(answerStream), errIsTerminal(terminal)
{
}

// Before anything else: every object of a study copies configuration values when it is built.
void RoadfluxCli::loadConfiguration(const std::string& configFile) const
{
    if (configFile.empty())
    {
        if (!theConfigData.readConfigFile(defaultConfigFile))
            err << "roadflux-cli: " << defaultConfigFile << ": Configuration file cannot be read\n";
        return;
    }
    if (!theConfigData.readConfigFile(configFile))
        throw CliFailure(configFile + ": Configuration file cannot be read");
}

int RoadfluxCli::run(int argc, const char* const* argv)
{
    CLI::App app{"Roadflux headless runner: runs, writes and shows studies, and generates traffic files"};
    app.name("roadflux-cli");
    app.footer(exitStatusHelp);
    app.fallthrough();
    app.require_subcommand(1);
    std::string configFile;
    app.add_option("--config", configFile, "Configuration file, in place of Roadflux.ini in the current directory");

    RunCommand::Options runOptions;
    std::uint32_t seed = 0;
    NewCommand::Options newOptions;
    std::string showStudy;
    GenerateCommand::Options generateOptions;
    addRunCommand(app, runOptions, seed);
    addNewCommand(app, newOptions);
    addShowCommand(app, showStudy);
    addGenerateCommand(app, generateOptions);
    FitTrafficCommand::Options fitOptions;
    FitTrafficCommand::addTo(app, fitOptions);
    ExampleCommand::Options exampleOptions;
    ExampleCommand::addTo(app, exampleOptions);
    CompareCommand::Options compareOptions;
    CompareCommand::addTo(app, compareOptions);
    ExtremesCommand::Options extremesOptions;
    ExtremesCommand::addTo(app, extremesOptions);

    try
    {
        app.parse(argc, argv);
    }
    catch (const CLI::ParseError& error)
    {
        const int status = app.exit(error, out, err);
        return status == 0 ? 0 : CliFailure::usage;
    }

    try
    {
        if (app.got_subcommand("example"))
            return ExampleCommand(out).execute(exampleOptions);
        if (app.got_subcommand("compare"))
            return CompareCommand(out).execute(compareOptions);
        if (app.got_subcommand("extremes"))
            return ExtremesCommand(out, err).execute(extremesOptions);
        loadConfiguration(configFile);
        if (app.got_subcommand("run"))
        {
            if (app.get_subcommand("run")->count("--seed") > 0)
                runOptions.seed = seed;
            return RunCommand(out, err, errIsTerminal).execute(runOptions);
        }
        if (app.got_subcommand("new"))
            return NewCommand(out, err, answers).execute(newOptions);
        if (app.got_subcommand("show"))
            return ShowCommand(out).execute(showStudy);
        if (app.got_subcommand("fit-traffic"))
            return FitTrafficCommand(out, err).execute(fitOptions);
        generateOptions.formatGiven = app.get_subcommand("generate")->count("--format") > 0;
        generateOptions.startGiven = app.get_subcommand("generate")->count("--start") > 0;
        if (app.get_subcommand("generate")->count("--model") > 0 && generateOptions.model.empty())
            throw CliFailure("--model: the model file needs a name", CliFailure::usage);
        return GenerateCommand(out, err).execute(generateOptions);
    }
    catch (const CliFailure& failure)
    {
        err << "roadflux-cli: " << failure.what() << '\n';
        return failure.getExitStatus();
    }
    catch (const std::exception& unexpected)
    {
        err << "roadflux-cli: " << unexpected.what() << '\n';
        return CliFailure::failed;
    }
}
