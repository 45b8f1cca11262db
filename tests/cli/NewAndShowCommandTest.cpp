// Writing studies from the command line, refusing what the dialogs refuse, and showing them.

#include "cli/CliFailure.h"
#include "cli/CliHarness.h"
#include "document/StudyDocument.h"
#include "document/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {
CliResult newStudy(const TemporaryFolder& folder, std::vector<std::string> options, const std::string& answers = "",
                   bool canAsk = false)
{
    options.insert(options.begin(), {"new", folder.file("study.rfx")});
    return runConfigured(options, answers, canAsk);
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}
}

TEST(NewCommand, WritesTheStudyTheOptionsDescribe)
{
    TemporaryFolder folder;
    const fs::path before = fs::current_path();
    fs::current_path(folder.path);
    const auto result = newStudy(folder, {"--input",
                                          "in/traffic.txt",
                                          "--output",
                                          "./out.txt",
                                          "--metrics",
                                          folder.file("metrics"),
                                          "--format",
                                          "dOriv",
                                          "--road-length",
                                          "5000",
                                          "--lanes1",
                                          "3",
                                          "--lanes2",
                                          "2",
                                          "--file-lanes1",
                                          "2",
                                          "--file-lanes2",
                                          "2",
                                          "--drive-on",
                                          "left",
                                          "--time-step-ms",
                                          "50",
                                          "--output-detector1",
                                          "4000",
                                          "--output-detector2",
                                          "100",
                                          "--lane-changes",
                                          "false",
                                          "--output-cars",
                                          "false",
                                          "--feature",
                                          "speed-limit,1,1000,2000,80",
                                          "--feature",
                                          "Gradient,negative,300,100,-4",
                                          "--detector",
                                          "lane-changes,1,trucks,30,250",
                                          "--detector",
                                          "Flow & Density,2,Low-loaders,60,4500"});
    fs::current_path(before);
    ASSERT_EQ(result.status, 0) << result.err;

    StudyDocument study;
    ASSERT_EQ(study.openFile(folder.file("study.rfx")), StudyFileResult::ok);
    // Relative names are stored relative to the study's folder, so study and traffic can move
    // together; an absolute name stays as it was given.
    EXPECT_EQ(study.getInputFileName(), "in/traffic.txt");
    EXPECT_EQ(study.getOutputFileName(), "out.txt");
    EXPECT_EQ(study.getMetricsFolder(), folder.file("metrics"));
    EXPECT_EQ(study.getFileFormat(), 102);
    EXPECT_EQ(study.getRoadLength(), 5000);
    EXPECT_EQ(study.getTotalLanes(), 5);
    EXPECT_EQ(study.getNumDirections(), 2);
    EXPECT_FALSE(study.getDrivesOnRight());
    EXPECT_DOUBLE_EQ(study.getTimeStep(), 0.05);
    EXPECT_EQ(study.getOutputDetectorLocation2(), 100);
    EXPECT_FALSE(study.getLaneChangesAllowed());
    EXPECT_FALSE(study.getOutputCars());
    ASSERT_EQ(study.getRoadFeatures().size(), 2u);
    EXPECT_NEAR(study.getRoadFeatures()[0]->getValue(), 80 * 0.27777778, 1e-12);
    EXPECT_EQ(study.getRoadFeatures()[1]->getStart(), 100) << "reversed ends are swapped";
    EXPECT_FALSE(study.getRoadFeatures()[1]->isDirectionPositive());
    ASSERT_EQ(study.getStatDetectors().size(), 2u);
    EXPECT_EQ(study.getStatDetectors()[0]->getKind(), CStatDetector::laneChanges);
    EXPECT_EQ(study.getStatDetectors()[0]->getVehicleTypes(), CStatDetector::allTrucks);
    EXPECT_EQ(study.getStatDetectors()[1]->getVehicleTypes(), CStatDetector::lowLoaders);
    // The input does not exist yet: written all the same, with a reminder.
    EXPECT_TRUE(contains(result.err, "does not exist yet"));

    const auto shown = runConfigured({"show", folder.file("study.rfx")});
    ASSERT_EQ(shown.status, 0) << shown.err;
    for (const char* line : {"Traffic file format:  DoRIV", "Drive on the:         Left", "Time step:            50 ms",
                             "Feature 1: Speed Limit, Positive x, 1000 m to 2000 m, 80 km/h",
                             "Feature 2: Gradient, Negative x, 100 m to 300 m, -4 %",
                             "Detector 1: Lane Changes, Positive x, All Trucks, every 30 s, step 250 m",
                             "IDM parameters of class 4, Low-loader",
                             "Desired velocity, v0 (km/h)                Normal       location 80"})
        EXPECT_TRUE(contains(shown.out, line)) << line << "\n" << shown.out;
}

TEST(NewCommand, WithoutOptionsKeepsTheDefaultFeatureAndDetector)
{
    TemporaryFolder folder;
    ASSERT_EQ(newStudy(folder, {"--input", "a.txt", "--output", "b.txt"}).status, 0);
    StudyDocument study;
    ASSERT_EQ(study.openFile(folder.file("study.rfx")), StudyFileResult::ok);
    EXPECT_EQ(study.getRoadFeatures().size(), 1u);
    EXPECT_EQ(study.getStatDetectors().size(), 1u);

    ASSERT_EQ(newStudy(folder, {"--input", "a.txt", "--output", "b.txt", "--no-features", "--no-detectors", "--force"})
                  .status,
              0);
    ASSERT_EQ(study.openFile(folder.file("study.rfx")), StudyFileResult::ok);
    EXPECT_TRUE(study.getRoadFeatures().empty());
    EXPECT_TRUE(study.getStatDetectors().empty());
}

TEST(NewCommand, RefusesWhatTheDialogsRefuseNamingTheOption)
{
    TemporaryFolder folder;
    const std::vector<std::string> files{"--input", "a.txt", "--output", "b.txt"};
    const auto with = [&](std::vector<std::string> extra) {
        extra.insert(extra.begin(), files.begin(), files.end());
        return newStudy(folder, extra);
    };
    const std::vector<std::pair<CliResult, std::string>> cases{
        {newStudy(folder, {}), "--input: Please select a file."},
        {newStudy(folder, {"--input", "a.txt"}), "--output: Please specify a filename."},
        {with({"--road-length", "100"}), "--road-length: Please enter an integer between 500 and 100000."},
        {with({"--time-step-ms", "5"}), "--time-step-ms: Please enter an integer between 10 and 2000."},
        {with({"--lanes2", "0"}),
         "--lanes2: The number of simulation lanes must not \nbe less than that of the traffic file."},
        {with({"--file-lanes1", "0", "--file-lanes2", "0"}),
         "--file-lanes1: There cannot be zero lanes in both directions"},
        {with({"--output-detector1", "3001"}), "--output-detector1: The output dector must be located on the road"},
        {with({"--feature", "speed-limit,1,0,1000,201"}), "--feature: Feature 1: Speed limit specified is greater"},
        {with({"--feature", "gradient,1,0,1000,2", "--feature", "gradient,1,500,1500,3"}),
         "--feature: Feature 1 overlaps with Feature 2"},
        {with({"--detector", "headway,1,all,0,1000"}), "--detector: Detector 1: The time interval must not be zero."},
        {with({"--detector", "headway,1,all,60,4000"}), "--detector: Detector 1: must be located on the road."},
    };
    for (const auto& [result, message] : cases)
    {
        EXPECT_EQ(result.status, CliFailure::failed) << message;
        EXPECT_TRUE(contains(result.err, folder.file("study.rfx") + ": " + message)) << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("study.rfx")));
}

TEST(NewCommand, ASmallDetectorIntervalIsKeptOnlyWhenConfirmed)
{
    TemporaryFolder folder;
    const std::vector<std::string> options{"--input", "a.txt",      "--output",
                                           "b.txt",   "--detector", "headway,1,all,5,1000"};
    auto result = newStudy(folder, options);
    EXPECT_EQ(result.status, CliFailure::failed);
    EXPECT_TRUE(contains(result.err, "Are you sure you want to keep this value? no"));
    EXPECT_TRUE(contains(result.err, "Detector 1: Change the time interval."));

    result = newStudy(folder, options, "y\n", true);
    EXPECT_EQ(result.status, 0) << result.err;

    auto confirmed = options;
    confirmed.push_back("--yes");
    confirmed.push_back("--force");
    EXPECT_EQ(newStudy(folder, confirmed).status, 0);
}

TEST(NewCommand, ALargeLaneChangeStepWarnsAndIsKept)
{
    TemporaryFolder folder;
    const auto result =
        newStudy(folder, {"--input", "a.txt", "--output", "b.txt", "--detector", "lane-changes,1,all,60,1500"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(
        contains(result.err, "Detector 1: The lane change detector step is very large and may cause problems."));
}

TEST(NewCommand, NeverReplacesAStudyUnlessForced)
{
    TemporaryFolder folder;
    const std::string existing = folder.write("study.rfx", "precious");
    const auto result = newStudy(folder, {"--input", "a.txt", "--output", "b.txt"});
    EXPECT_EQ(result.status, CliFailure::failed);
    EXPECT_TRUE(contains(result.err, "the file exists already (--force replaces it)"));
    EXPECT_EQ(TemporaryFolder::read(existing), "precious");
}

TEST(NewCommand, MalformedDefinitionsAreUsageErrors)
{
    TemporaryFolder folder;
    const std::vector<std::string> files{"--input", "a.txt", "--output", "b.txt"};
    for (const auto& [option, text, expected] : std::vector<std::tuple<std::string, std::string, std::string>>{
             {"--feature", "speed-limit,1,0,1000", "expected TYPE,DIRECTION,START,END,VALUE"},
             {"--feature", "bump,1,0,1000,3", "the type is speed-limit or gradient"},
             {"--feature", "gradient,3,0,1000,3", "the direction is 1"},
             {"--feature", "gradient,1,-5,1000,3", "start and end are whole metres"},
             {"--feature", "gradient,1,0,1000,steep", "the value is a number"},
             {"--detector", "speed,1,all,60,1000", "the kind is flow-density"},
             {"--detector", "headway,1,buses,60,1000", "the vehicles are all"},
             {"--detector", "headway,1,all,1.5,1000", "the interval is whole seconds"},
             {"--drive-on", "middle", "the side is left or right"},
             {"--format", "CSV", "the format is TALVOR, VORK or DoRIV"},
         })
    {
        auto options = files;
        options.push_back(option);
        options.push_back(text);
        const auto result = newStudy(folder, options);
        EXPECT_EQ(result.status, CliFailure::usage) << text;
        EXPECT_TRUE(contains(result.err, option + " '" + text + "': " + expected)) << result.err;
    }
}

TEST(ShowCommand, NamesAFileThatIsNotAStudy)
{
    TemporaryFolder folder;
    const std::string foreign = folder.write("notes.rfx", "just some text");
    auto result = runConfigured({"show", foreign});
    EXPECT_EQ(result.status, CliFailure::failed);
    EXPECT_TRUE(contains(result.err, "roadflux-cli: " + foreign + ": Unexpected file format.")) << result.err;

    result = runConfigured({"show", folder.file("absent.rfx")});
    EXPECT_EQ(result.status, CliFailure::failed);
    EXPECT_TRUE(contains(result.err, folder.file("absent.rfx") + ": Failed to open document.")) << result.err;
}

namespace {
TEST(NewCommand, RefusesAStudyWhoseRunWouldDestroyItsOwnFilesOrLoseOne)
{
    TemporaryFolder folder;
    const std::string input = folder.file("a.txt");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--output", folder.file("study.rfx")}, "The output traffic file must not be the study file"},
        {{"--output", folder.file("./a.txt")}, "The output traffic file must not be the input traffic file"},
        {{"--output", exampleConfig()}, "The output traffic file must not be the configuration file"},
        {{"--output", folder.file("FD_All_Pos_1000.csv"), "--metrics", folder.path.string()},
         "must not be the output traffic file"},
        {{"--output", folder.file("b.txt"), "--detector", "flow-density,1,all,60,1500", "--detector",
          "flow-density,1,all,300,1500"},
         "--detector: Detectors 1 and 2 would both write FD_All_Pos_1500.csv"},
    };
    for (const auto& [options, expected] : cases)
    {
        std::vector<std::string> args{"new", folder.file("study.rfx"), "--input", input};
        args.insert(args.end(), options.begin(), options.end());
        const auto result = runConfigured(args);
        EXPECT_EQ(result.status, CliFailure::failed) << expected;
        EXPECT_TRUE(contains(result.err, expected)) << result.err;
        EXPECT_FALSE(std::filesystem::exists(folder.file("study.rfx"))) << expected;
    }
}
}
