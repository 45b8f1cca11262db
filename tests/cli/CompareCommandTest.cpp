#include "cli/CliHarness.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <random>

using ::testing::HasSubstr;

namespace {
class CompareCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = std::filesystem::temp_directory_path() / ("roadflux-compare-" + std::to_string(std::random_device()()));
        for (const auto& [run, cars] : {std::pair{"a", 10}, {"b", 14}, {"c", 12}})
        {
            std::filesystem::create_directories(root / run / "metrics");
            std::ofstream(root / run / "metrics" / "Comp_All_Pos_2500.csv")
                << "No. Cars,No. Small Trucks,No. Large Trucks,No. Cranes,No. Low-Loaders\n"
                << cars << ",1,0,0,0\n";
        }
    }
    void TearDown() override { std::filesystem::remove_all(root); }
    std::string run(const char* name) const { return (root / name).string(); }

    std::filesystem::path root;
};
}

TEST_F(CompareCommandTest, PrintsTheRunsNeededAndWritesTheCsvFiles)
{
    const CliResult result = runCli({"compare", run("a"), run("b"), run("c"), "--csv", (root / "out").string(),
                                     "--figure", "Comp_All_Pos_2500.csv:No. Cars", "--precision", "10"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.out, HasSubstr("Runs compared: 3"));
    // Cars 10, 14, 12: 12 ± 4.30265 × 2 / √3 = ± 4.968; ± 10 % needs t(n−1)·2/√n ≤ 1.2: 14 runs.
    EXPECT_THAT(result.out, HasSubstr("within ± 10 %"));
    EXPECT_THAT(result.out, HasSubstr("Comp_All_Pos_2500.csv, No. Cars: mean 12 over 3 runs, 95 % CI ± 4.968"));
    EXPECT_THAT(result.out, HasSubstr("14 runs needed"));
    EXPECT_TRUE(std::filesystem::exists(root / "out" / "Comp_All_Pos_2500.csv"));
}

TEST_F(CompareCommandTest, RefusesRunsWithOtherDetectors)
{
    std::ofstream(root / "b" / "metrics" / "FD_All_Pos_1500.csv")
        << " ,Totals\nInterval No.,Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h)\n";
    const CliResult result = runCli({"compare", run("a"), run("b")});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("roadflux-cli: Cannot compare runs with other detectors: "));
    EXPECT_THAT(result.err, HasSubstr("FD_All_Pos_1500.csv"));
    EXPECT_EQ(runCli({"compare"}).status, 2);
}

TEST_F(CompareCommandTest, RefusesARunInProgressByName)
{
    std::filesystem::copy(root / "c", root / "d.partial", std::filesystem::copy_options::recursive);
    const CliResult result =
        runCli({"compare", run("a"), run("b"), run("d.partial"), "--csv", (root / "out").string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr(run("d.partial") + ": a run in progress"));
    EXPECT_FALSE(std::filesystem::exists(root / "out"));
}
