#include "RunFolders.h"

#include "replications/CompareRuns.h"
#include "replications/ComparisonError.h"

#include <gmock/gmock.h>

#include <sstream>

using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {
std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}
}

using ComparisonCsvTest = RunFolders;

TEST_F(ComparisonCsvTest, OneFilePerMeasurementFileWithItsName)
{
    writeThreeRuns();
    CompareRunsOptions options;
    options.runFolders = threeRuns();
    options.csvFolder = root / "compare";
    const CompareRunsResult result = compareRuns(options);
    std::vector<std::string> names;
    for (const auto& path : result.csvFiles)
        names.push_back(path.filename().string());
    EXPECT_EQ(names, (std::vector<std::string>{"Comp_All_Pos_2500.csv", "FD_All_Pos_1500.csv", "summary.csv",
                                               "replications.csv"}));

    const std::vector<std::string> fd = lines(read(root / "compare" / "FD_All_Pos_1500.csv"));
    ASSERT_EQ(fd.size(), 4u);
    EXPECT_THAT(fd[0], StartsWith("Interval No.,Lane 1 Density (veh/km): runs,Lane 1 Density (veh/km): mean,"
                                  "Lane 1 Density (veh/km): std. dev.,Lane 1 Density (veh/km): 95 % CI low,"
                                  "Lane 1 Density (veh/km): 95 % CI high,Lane 1 Flow (veh/hr): runs,"));
    // No density in interval 1: runs 0 and empty cells; flows 0, 0, 0.
    EXPECT_THAT(fd[1], StartsWith("1,0,,,,,3,0,0,0,0,"));
    // Interval 2: densities 7, 8, 12; flows 600, 660, 720 (660 ± 4.30265 × 60 / √3).
    EXPECT_THAT(fd[2], StartsWith("2,3,9,2.64575,2.42759,15.5724,3,660,60,510.952,809.048,"));
    EXPECT_THAT(fd[3], StartsWith("3,2,8.5,0.707107,"));

    const std::vector<std::string> summary = lines(read(root / "compare" / "summary.csv"));
    EXPECT_THAT(summary, ::testing::Contains("Vehicles written,3,100,10,75.1586,124.841"));
    EXPECT_THAT(summary, ::testing::Contains(StartsWith("Minimum gap (m),2,22,")));

    const std::vector<std::string> replications = lines(read(root / "compare" / "replications.csv"));
    // Every column of the flow-and-density file.
    ASSERT_EQ(replications.size(), 10u);
    EXPECT_THAT(replications, ::testing::Contains(::testing::AllOf(
                                  StartsWith("FD_All_Pos_1500.csv,Totals Flow (veh/hr),3,760,91.6515,"),
                                  ::testing::EndsWith(",5,25"))));

    std::ostringstream text;
    printComparison(result, text);
    EXPECT_THAT(text.str(), HasSubstr("FD_All_Pos_1500.csv, Totals Flow (veh/hr): mean 760 over 3 runs, "
                                      "95 % CI ± 227.7 (± 29.96 %); 25 runs needed"));
}

TEST_F(ComparisonCsvTest, NeverWritesIntoARunsFolder)
{
    writeThreeRuns();
    const std::string before = read(run("seed1") / "metrics" / "FD_All_Pos_1500.csv");
    CompareRunsOptions options;
    options.runFolders = threeRuns();
    for (const auto& folder : {run("seed1") / "metrics", run("seed2"), root / "seed3" / "metrics" / ".."})
    {
        options.csvFolder = folder;
        EXPECT_THROW(compareRuns(options), ComparisonError) << folder;
    }
    EXPECT_EQ(read(run("seed1") / "metrics" / "FD_All_Pos_1500.csv"), before);
}

TEST_F(ComparisonCsvTest, OneRunTellsThatTheSpreadNeedsMore)
{
    writeThreeRuns();
    CompareRunsOptions options;
    options.runFolders = {run("seed1")};
    std::ostringstream text;
    printComparison(compareRuns(options), text);
    EXPECT_THAT(text.str(), HasSubstr("mean 780 over 1 run; its spread needs two runs at least"));
}
