// Running a study headless: the summary, repeatable seeded runs, overrides of the study's
// files, progress, and runs that cannot start.

#include "cli/CliFailure.h"
#include "cli/CliHarness.h"
#include "cli/ProgressReporter.h"
#include "document/StudyDocument.h"
#include "document/TemporaryFolder.h"

#include "files/FullDisk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace {
bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// A study beside a 5-minute traffic file, both in the folder, with one detector of each kind.
class StudyRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(runConfigured({"generate", folder.file("traffic.txt"), "--duration", "5m", "--flow", "900",
                                 "--lanes1", "2", "--lanes2", "1", "--seed", "9"})
                      .status,
                  0);
        const auto made = runConfigured(
            {"new", study, "--input", folder.file("traffic.txt"), "--output", folder.file("output.txt"), "--metrics",
             folder.file("metrics"), "--detector", "flow-density,1,all,60,1000", "--detector", "headway,2,all,60,1000",
             "--detector", "composition,1,all,60,2000", "--detector", "lane-changes,1,all,60,500"});
        ASSERT_EQ(made.status, 0) << made.err;
    }

    std::string folderText(const fs::path& path) const
    {
        std::string all;
        for (const auto& entry : fs::directory_iterator(path))
            all += entry.path().filename().string() + "\n" + TemporaryFolder::read(entry.path().string());
        return all;
    }

    TemporaryFolder folder;
    std::string study = folder.file("study.rfx");
};

long long summaryFigure(const std::string& summary, const std::string& name)
{
    std::smatch match;
    if (!std::regex_search(summary, match, std::regex(name + ": +([0-9]+)")))
        return -1;
    return std::stoll(match[1]);
}
}

TEST_F(StudyRun, FinishesWithTheSummaryAndWhereTheOutputsWent)
{
    fs::create_directory(folder.file("metrics"));
    const auto result = runConfigured({"run", study});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.rfind("The simulation has finished.\n", 0), 0u) << result.out;
    const long long released = summaryFigure(result.out, "Vehicles released");
    EXPECT_GT(released, 100);
    EXPECT_EQ(summaryFigure(result.out, "Vehicles written"), released);
    EXPECT_GT(summaryFigure(result.out, "Vehicle-steps"), summaryFigure(result.out, "Steps"));
    EXPECT_EQ(summaryFigure(result.out, "Skipped vehicles"), 0);
    EXPECT_TRUE(contains(result.out, "Simulated start:     "));
    EXPECT_TRUE(contains(result.out, "(year 0, month 1, day 1, 08:00:"));
    EXPECT_TRUE(contains(result.out, "Seed:                none given (from the system, not repeatable)\n"));
    EXPECT_TRUE(contains(result.out, "Output traffic file: " + folder.file("output.txt")));
    EXPECT_TRUE(contains(result.out, "Metrics folder:      " + folder.file("metrics") + "/"));
    EXPECT_TRUE(fs::exists(folder.file("metrics/FD_All_Pos_1000.csv")));

    // Not a terminal: one progress line per percent, rising to 100.
    EXPECT_TRUE(contains(result.err, "\n100% complete\n"));
    EXPECT_FALSE(contains(result.err, "\r"));
}

TEST_F(StudyRun, RunsWithTheSameSeedAreIdenticalByteForByte)
{
    const auto first = runConfigured({"run", study, "--seed", "5", "--out-dir", folder.file("first")});
    const auto second = runConfigured({"run", study, "--seed", "5", "--out-dir", folder.file("second")});
    const auto other = runConfigured({"run", study, "--seed", "6", "--out-dir", folder.file("other")});
    ASSERT_EQ(first.status, 0) << first.err;
    ASSERT_EQ(second.status, 0) << second.err;
    ASSERT_EQ(other.status, 0) << other.err;
    EXPECT_TRUE(contains(first.out, "Seed:                5\n"));
    EXPECT_EQ(TemporaryFolder::read(folder.file("first/output.txt")),
              TemporaryFolder::read(folder.file("second/output.txt")));
    EXPECT_EQ(folderText(folder.file("first/metrics")), folderText(folder.file("second/metrics")));
    EXPECT_FALSE(folderText(folder.file("first/metrics")).empty());
    EXPECT_NE(TemporaryFolder::read(folder.file("first/output.txt")),
              TemporaryFolder::read(folder.file("other/output.txt")));
}

TEST_F(StudyRun, CommandLineFilesReplaceTheStudysAndComeFromTheCurrentDirectory)
{
    const fs::path before = fs::current_path();
    fs::create_directories(folder.file("elsewhere/my-metrics"));
    fs::current_path(folder.file("elsewhere"));
    const auto result =
        runConfigured({"run", study, "--input", "../traffic.txt", "--output", "mine.txt", "--metrics", "my-metrics"});
    fs::current_path(before);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::exists(folder.file("elsewhere/mine.txt")));
    EXPECT_TRUE(fs::exists(folder.file("elsewhere/my-metrics/FD_All_Pos_1000.csv")));
    EXPECT_FALSE(fs::exists(folder.file("output.txt")));
}

TEST_F(StudyRun, AStudyWithRelativeNamesRunsFromAnyCurrentDirectory)
{
    const auto made = runConfigured({"new", folder.file("relative.rfx"), "--input", folder.file("traffic.txt"),
                                     "--output", folder.file("rel-out.txt"), "--no-detectors"});
    ASSERT_EQ(made.status, 0) << made.err;
    const fs::path before = fs::current_path();
    fs::current_path(fs::temp_directory_path());
    const auto result = runConfigured({"run", folder.file("relative.rfx")});
    fs::current_path(before);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_GT(fs::file_size(folder.file("rel-out.txt")), 0u);
}

TEST_F(StudyRun, AStudyHoldingANumberThatIsNotFiniteIsShownButNotRun)
{
    StudyDocument damaged;
    ASSERT_EQ(damaged.openFile(study), StudyFileResult::ok);
    StudyDocument::RoadFeatureList features;
    features.push_back(std::make_unique<CRoadFeature>());
    features[0]->setType(CRoadFeature::gradient);
    features[0]->setValue(-HUGE_VAL);
    damaged.setRoadFeatures(features);
    ASSERT_EQ(damaged.saveFile(study), StudyFileResult::ok);

    const auto run = runConfigured({"run", study});
    EXPECT_EQ(run.status, CliFailure::failed);
    EXPECT_TRUE(contains(run.err, "Feature 1: The value is not a finite number (-inf).")) << run.err;
    EXPECT_FALSE(fs::exists(folder.file("metrics/FD_All_Pos_1000.csv")));
    const auto shown = runConfigured({"show", study});
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_TRUE(contains(shown.out, "Feature 1: Gradient, Positive x, 0 m to 1000 m, -inf %")) << shown.out;
}

TEST_F(StudyRun, RunsThatCannotStartSayWhyAndFail)
{
    auto result = runConfigured({"run", study, "--input", folder.file("absent.txt")});
    EXPECT_EQ(result.status, CliFailure::failed);
    EXPECT_TRUE(contains(result.err, study + ": The input traffic file does not exist")) << result.err;
    EXPECT_TRUE(contains(result.err, folder.file("absent.txt"))) << result.err;

    result = runConfigured({"run", study, "--output", folder.file("traffic.txt")});
    EXPECT_EQ(result.status, CliFailure::failed);
    EXPECT_TRUE(contains(result.err, "The output traffic file must not be the input traffic file"));

    result = runConfigured({"run", folder.file("traffic.txt")});
    EXPECT_EQ(result.status, CliFailure::failed);
    EXPECT_TRUE(contains(result.err, folder.file("traffic.txt") + ": Unexpected file format.")) << result.err;

    result = runConfigured({"run", study, "--out-dir", folder.file("traffic.txt/sub")});
    EXPECT_EQ(result.status, CliFailure::failed);
    EXPECT_TRUE(contains(result.err, "--out-dir: the folder cannot be created")) << result.err;
}

TEST_F(StudyRun, LostRecordsOrLinesMakeTheRunFailNamingTheFile)
{
    fs::create_directory(folder.file("metrics"));
    ASSERT_EQ(runConfigured({"run", study, "--seed", "2"}).status, 0);
    std::map<std::string, std::uintmax_t> sizes{{folder.file("output.txt"), fs::file_size(folder.file("output.txt"))}};
    for (const auto& entry : fs::directory_iterator(folder.file("metrics")))
        sizes[entry.path().string()] = entry.file_size();
    const std::string headways = folder.file("metrics/Head_All_Neg_1000.csv");

    // A disk that fills as the headway file is written: every file that would grow beyond it is
    // named as lost, and the run does not pass for a success.
    const std::uintmax_t limit = sizes.at(headways) - 1;
    CliResult result;
    {
        const FullDisk full(limit);
        result = runConfigured({"run", study, "--seed", "2"});
    }
    EXPECT_EQ(result.status, CliFailure::failed);
    EXPECT_TRUE(contains(result.out, "The simulation has finished.")) << result.out;
    for (const auto& [path, size] : sizes)
    {
        const bool lost = size > limit;
        const std::string message = path == folder.file("output.txt")
                                        ? path + ": the output traffic file could not be written: records were lost"
                                        : path + ": the measurement file could not be written: lines were lost";
        EXPECT_EQ(contains(result.err, message), lost) << path << " (" << size << " bytes)\n" << result.err;
    }
}

TEST_F(StudyRun, AMissingMetricsFolderRefusesTheRunNamingTheFolder)
{
    const auto result = runConfigured({"run", study, "--metrics", folder.file("absent")});
    EXPECT_EQ(result.status, CliFailure::failed) << result.err;
    EXPECT_TRUE(contains(result.err, "The metrics folder " + folder.file("absent") + "/ does not exist")) << result.err;
    EXPECT_FALSE(fs::exists(folder.file("absent")));
    EXPECT_FALSE(fs::exists(folder.file("output.txt")));
}

TEST(RunProgress, RewritesOneLineOnATerminal)
{
    std::ostringstream terminal;
    ProgressReporter onTerminal(terminal, true);
    for (int percent : {0, 0, 1, 2, 2, 3})
        onTerminal.update(percent);
    onTerminal.finish();
    EXPECT_EQ(terminal.str(), "\r0% complete\r1% complete\r2% complete\r3% complete\n");

    std::ostringstream log;
    ProgressReporter inLog(log, false);
    for (int percent : {5, 5, 6})
        inLog.update(percent);
    inLog.finish();
    EXPECT_EQ(log.str(), "5% complete\n6% complete\n");
}

TEST(Configuration, RoadfluxIniIsReadFromTheCurrentDirectory)
{
    TemporaryFolder folder;
    const fs::path before = fs::current_path();
    fs::current_path(folder.path);
    auto result = runCli({"show", "absent.rfx"});
    EXPECT_TRUE(contains(result.err, "roadflux-cli: Roadflux.ini: Configuration file cannot be read\n")) << result.err;

    fs::copy_file(exampleConfig(), folder.file("Roadflux.ini"));
    result = runCli({"show", "absent.rfx"});
    fs::current_path(before);
    EXPECT_FALSE(contains(result.err, "Configuration file cannot be read")) << result.err;
}

TEST(Configuration, AConfigFileNamedOnTheCommandLineMustBeReadable)
{
    const auto result = runCli({"show", "absent.rfx", "--config", "/no/such/Roadflux.ini"});
    EXPECT_EQ(result.status, CliFailure::failed);
    EXPECT_TRUE(contains(result.err, "/no/such/Roadflux.ini: Configuration file cannot be read")) << result.err;
}

TEST(CommandLine, UsageErrorsAndHelp)
{
    EXPECT_EQ(runCli({}).status, CliFailure::usage);
    EXPECT_EQ(runCli({"fly"}).status, CliFailure::usage);
    EXPECT_EQ(runCli({"run"}).status, CliFailure::usage);
    EXPECT_EQ(runCli({"run", "a.rfx", "--seed", "minus"}).status, CliFailure::usage);
    const auto help = runCli({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* command : {"run", "new", "show", "generate"})
        EXPECT_TRUE(contains(help.out, command)) << help.out;
    // The statuses a batch system acts on are documented where users look first.
    for (const char* status : {"Exit status:", "  0 ", "  1 ", "  2 ", "  128+N "})
        EXPECT_TRUE(contains(help.out, status)) << help.out;
    EXPECT_TRUE(contains(runCli({"run", "--help"}).out, "Exit status:"));
}

// A seed that is not a plain whole number of 32 bits was read as some other seed (0 for
// an empty one): the run is refused by the option's name and nothing is written.
TEST_F(StudyRun, ASeedThatIsNotAWholeNumberOf32BitsIsRefused)
{
    for (const std::string seed : {"", "-0", "0x10", "4294967296"})
    {
        const auto result = runConfigured({"run", study, "--seed", seed, "--out-dir", folder.file("out")});
        EXPECT_EQ(result.status, CliFailure::usage) << "'" << seed << "'";
        EXPECT_TRUE(contains(result.err, "--seed: '" + seed + "' is not allowed: a whole number from 0 to 4294967295"))
            << result.err;
    }
    for (const std::string interval : {"0", "nan", "1e308"})
    {
        const auto result = runConfigured({"run", study, "--out-dir", folder.file("out"), "--trajectories",
                                           folder.file("t.csv"), "--trajectory-interval", interval});
        EXPECT_EQ(result.status, CliFailure::usage) << "'" << interval << "'";
        EXPECT_TRUE(contains(result.err, "--trajectory-interval: '" + interval + "' is not allowed")) << result.err;
    }
    EXPECT_FALSE(fs::exists(folder.file("out")));
}

TEST_F(StudyRun, ADetectorPatchedOffTheRoadIsRefusedBeforeTheRun)
{
    StudyDocument patched;
    ASSERT_EQ(patched.openFile(study), StudyFileResult::ok);
    patched.setOutputDetectorLocation1(-5000);
    ASSERT_EQ(patched.saveFile(study), StudyFileResult::ok);
    auto run = runConfigured({"run", study});
    EXPECT_EQ(run.status, CliFailure::failed);
    EXPECT_TRUE(
        contains(run.err, study + ": The output detector of direction 1 at -5000 m is off the road (0 to 3000 m)."))
        << run.err;
    EXPECT_FALSE(fs::exists(folder.file("output.txt")));
}

TEST_F(StudyRun, AStudyThatCannotBeOpenedIsNamedWithTheReason)
{
    const auto run = runConfigured({"run", folder.file("absent.rfx")});
    EXPECT_EQ(run.status, CliFailure::failed);
    EXPECT_TRUE(
        contains(run.err, "Failed to open document. " + folder.file("absent.rfx") + ": No such file or directory"))
        << run.err;
    const auto shown = runConfigured({"show", folder.file("metrics")});
    EXPECT_EQ(shown.status, CliFailure::failed);
    EXPECT_TRUE(contains(shown.err, "Failed to open document.")) << shown.err;
}
