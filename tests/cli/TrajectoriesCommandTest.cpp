// The runner's trajectories and run figures: the CSV stream and its side file, the summary's
// release-delay and minimum-gap lines, and trajectory files that are refused before the run.

#include "cli/CliFailure.h"
#include "cli/CliHarness.h"
#include "document/TemporaryFolder.h"
#include "files/FileClaims.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

namespace {
bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> all;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        all.push_back(line);
    return all;
}

std::string lineStartingWith(const std::string& text, const std::string& start)
{
    for (const std::string& line : lines(text))
        if (line.rfind(start, 0) == 0)
            return line;
    return {};
}

// Two minutes of traffic at 1200 vehicles per hour per lane on 2 + 1 lanes.
class Trajectories : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(runConfigured({"generate", traffic, "--duration", "2m", "--flow", "1200", "--lanes1", "2", "--lanes2",
                                 "1", "--seed", "4"})
                      .status,
                  0);
        const auto made = runConfigured({"new", study, "--input", traffic, "--output", folder.file("output.txt"),
                                         "--metrics", folder.file("metrics"), "--no-detectors"});
        ASSERT_EQ(made.status, 0) << made.err;
    }

    TemporaryFolder folder;
    std::string traffic = folder.file("traffic.txt");
    std::string study = folder.file("study.rfx");
    std::string csv = folder.file("paths.csv");
};
}

TEST_F(Trajectories, StreamEveryVehicleOnTheIntervalsGridWithTheRunsFiguresBeside)
{
    const auto result = runConfigured({"run", study, "--seed", "3", "--trajectories", csv});
    ASSERT_EQ(result.status, 0) << result.err;

    const std::string figuresFile = folder.file("paths.summary.txt");
    EXPECT_EQ(lineStartingWith(result.out, "Trajectories:"), "Trajectories:        " + csv);
    EXPECT_EQ(lineStartingWith(result.out, "Trajectory figures:"), "Trajectory figures:  " + figuresFile);

    // The summary's figures, repeated word for word beside the trajectories.
    const std::string delays = lineStartingWith(result.out, "Release delay (s):   mean ");
    const std::string gaps = lineStartingWith(result.out, "Minimum gap (m):     ");
    ASSERT_FALSE(delays.empty()) << result.out;
    ASSERT_FALSE(gaps.empty()) << result.out;
    EXPECT_TRUE(std::regex_search(delays, std::regex("95th percentile [0-9.]+, maximum [0-9.]+; [0-9]+ vehicles? "
                                                     "waited more than 10 s$")))
        << delays;
    EXPECT_TRUE(std::regex_search(gaps, std::regex("^Minimum gap \\(m\\): +-?[0-9.]+; [0-9]+ vehicle-steps? with a gap "
                                                   "of 0 m or less$")))
        << gaps;
    const std::string figures = TemporaryFolder::read(figuresFile);
    EXPECT_EQ(lineStartingWith(figures, "Release delay (s):"), delays);
    EXPECT_EQ(lineStartingWith(figures, "Minimum gap (m):"), gaps);
    EXPECT_EQ(lineStartingWith(figures, "Sample interval (s):"), "Sample interval (s): 1");

    const std::vector<std::string> rows = lines(TemporaryFolder::read(csv));
    ASSERT_GT(rows.size(), 100u);
    EXPECT_EQ(rows[0], "time,direction,lane,position,velocity,acceleration,class,vehicle");
    EXPECT_EQ(lineStartingWith(figures, "Rows:"), "Rows:                " + std::to_string(rows.size() - 1));
    const std::size_t records = lines(TemporaryFolder::read(traffic)).size();
    double firstTime = -1.0;
    for (std::size_t i = 1; i < rows.size(); ++i)
    {
        double time = 0.0, position = 0.0, velocity = 0.0, acceleration = 0.0;
        int direction = 0, lane = 0, vehicleClass = -1;
        long long vehicle = 0;
        char c = 0;
        std::istringstream fields(rows[i]);
        fields >> time >> c >> direction >> c >> lane >> c >> position >> c >> velocity >> c >> acceleration >> c >>
            vehicleClass >> c >> vehicle;
        ASSERT_FALSE(fields.fail()) << rows[i];
        if (firstTime < 0.0)
            firstTime = time;
        // Whole seconds after the first sample, which is one second into the run.
        EXPECT_NEAR(time - firstTime, std::round(time - firstTime), 1e-3) << rows[i];
        EXPECT_TRUE(direction == 1 ? lane == 1 || lane == 2 : direction == 2 && lane == 3) << rows[i];
        EXPECT_GE(position, 0.0) << rows[i];
        EXPECT_LE(position, 3010.0) << rows[i];
        EXPECT_GE(velocity, 0.0) << rows[i];
        EXPECT_TRUE(vehicleClass >= 0 && vehicleClass <= 4) << rows[i];
        EXPECT_TRUE(vehicle >= 1 && vehicle <= static_cast<long long>(records)) << rows[i];
    }

    // Half the interval, about twice the rows.
    ASSERT_EQ(
        runConfigured({"run", study, "--seed", "3", "--trajectories", csv, "--trajectory-interval", "0.5"}).status, 0);
    const double ratio = static_cast<double>(lines(TemporaryFolder::read(csv)).size() - 1) / (rows.size() - 1);
    EXPECT_NEAR(ratio, 2.0, 0.05);
}

TEST_F(Trajectories, AreRefusedBeforeTheRunTouchesAnyFile)
{
    const std::string traffic = TemporaryFolder::read(this->traffic);
    const std::string output = folder.file("output.txt");

    auto result = runConfigured({"run", study, "--trajectories", this->traffic});
    EXPECT_EQ(result.status, CliFailure::failed);
    EXPECT_TRUE(contains(result.err,
                         this->traffic + ": --trajectories: The trajectories file must not be the input traffic file"))
        << result.err;
    EXPECT_EQ(TemporaryFolder::read(this->traffic), traffic);

    const std::string studyBytes = TemporaryFolder::read(study);
    result = runConfigured({"run", study, "--trajectories", study});
    EXPECT_EQ(result.status, CliFailure::failed);
    EXPECT_TRUE(contains(result.err, "The trajectories file must not be the study file")) << result.err;
    EXPECT_EQ(TemporaryFolder::read(study), studyBytes);
    result = runConfigured({"run", study, "--trajectories", output});
    EXPECT_TRUE(contains(result.err, "The trajectories file must not be the output traffic file")) << result.err;
    // The side file is held to the same rule.
    result = runConfigured(
        {"run", study, "--trajectories", folder.file("run.csv"), "--output", folder.file("run.summary.txt")});
    EXPECT_EQ(result.status, CliFailure::failed);
    EXPECT_TRUE(contains(result.err, "The trajectories' figures file must not be the output traffic file"))
        << result.err;

    // Nor may it be a bridge's load-effect file.
    fs::create_directories(folder.file("metrics"));
    const std::string bridges =
        folder.write("bridges.csv", "name,start_m,span_m,effect,directions,interval_s,lane_factors\n"
                                    "Deck,1000,30,midspan-moment,both,,\n");
    const std::string loadEffects = folder.file("metrics/LE_Deck_seconds.csv");
    result = runConfigured({"run", study, "--bridges", bridges, "--trajectories", loadEffects});
    EXPECT_EQ(result.status, CliFailure::failed);
    EXPECT_TRUE(contains(result.err, "The trajectories file must not be the load-effect file " + loadEffects))
        << result.err;
    EXPECT_FALSE(fs::exists(loadEffects));

    result = runConfigured({"run", study, "--trajectories", folder.file("absent/paths.csv")});
    EXPECT_EQ(result.status, CliFailure::failed);
    EXPECT_TRUE(contains(result.err,
                         "--trajectories: The trajectories file cannot be created (" + folder.file("absent/paths.csv")))
        << result.err;

    for (const char* interval : {"0", "-1", "inf", "nan"})
    {
        result = runConfigured({"run", study, "--trajectories", csv, "--trajectory-interval", interval});
        EXPECT_NE(result.status, 0) << interval;
        EXPECT_TRUE(contains(result.err, "--trajectory-interval")) << interval << ": " << result.err;
    }
    EXPECT_FALSE(fs::exists(output));
    EXPECT_FALSE(fs::exists(csv));
    EXPECT_FALSE(fs::exists(folder.file("paths.summary.txt")));

    // An interval without a file to write is a mistake on the command line.
    result = runConfigured({"run", study, "--trajectory-interval", "2"});
    EXPECT_EQ(result.status, CliFailure::usage);
}

TEST_F(Trajectories, AreLockedAgainstAnotherRunAndLeaveNothingBehindARefusedRun)
{
    // Another run holds the file: this one is refused before it writes anything.
    {
        FileClaims other;
        other.addOutput(csv, "the other run's file");
        FileClaim held;
        ASSERT_FALSE(other.claim(held).has_value());
        const auto result = runConfigured({"run", study, "--trajectories", csv});
        EXPECT_EQ(result.status, CliFailure::failed);
        EXPECT_TRUE(contains(result.err, "The trajectories file is being written by another run (" + csv + ")"))
            << result.err;
        EXPECT_FALSE(fs::exists(folder.file("output.txt")));
    }
    fs::remove(csv);

    // A run the study's set-up refuses (its input is gone) leaves no empty trajectories files.
    fs::rename(traffic, folder.file("elsewhere.txt"));
    const auto result = runConfigured({"run", study, "--trajectories", csv});
    EXPECT_EQ(result.status, CliFailure::failed);
    EXPECT_FALSE(fs::exists(csv));
    EXPECT_FALSE(fs::exists(folder.file("paths.summary.txt")));
}
