// Headless runs with bridges: the load-effect files beside the measurement files, the study's
// own bridges file, and bridges files that refuse the run before it touches anything.

#include "cli/CliFailure.h"
#include "cli/CliHarness.h"
#include "document/TemporaryFolder.h"

#include "files/FullDisk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {
bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

const std::string bridgesHeader = "name,start_m,span_m,effect,directions,interval_s,lane_factors\n";

// A study on a 1500 m road, 2 + 1 lanes, with ten minutes of traffic and one flow detector.
class BridgesRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(runConfigured({"generate", folder.file("traffic.txt"), "--duration", "10m", "--flow", "900",
                                 "--lanes1", "2", "--lanes2", "1", "--seed", "4"})
                      .status,
                  0);
        fs::create_directory(folder.file("metrics"));
        const auto made =
            runConfigured({"new", study, "--input", folder.file("traffic.txt"), "--output", folder.file("output.txt"),
                           "--metrics", folder.file("metrics"), "--road-length", "1500", "--output-detector1", "1400",
                           "--output-detector2", "1400", "--detector", "flow-density,1,all,60,700"});
        ASSERT_EQ(made.status, 0) << made.err;
    }

    std::string metrics(const std::string& name) const { return TemporaryFolder::read(folder.file("metrics/" + name)); }

    TemporaryFolder folder;
    std::string study = folder.file("study.rfx");
};

// The last cell of every row but the header.
std::vector<std::string> lastColumn(const std::string& csv)
{
    std::vector<std::string> cells;
    std::istringstream rows(csv);
    std::string row;
    std::getline(rows, row);
    while (std::getline(rows, row))
        cells.push_back(row.substr(row.rfind(',') + 1));
    return cells;
}

std::size_t lineCount(const std::string& text)
{
    std::size_t lines = 0;
    for (char c : text)
        lines += c == '\n' ? 1 : 0;
    return lines;
}
}

TEST_F(BridgesRun, WritesTheLoadEffectFilesAndLeavesTheRunAsItWas)
{
    ASSERT_EQ(runConfigured({"run", study, "--seed", "3"}).status, 0);
    const std::string output = TemporaryFolder::read(folder.file("output.txt"));
    const std::string flow = metrics("FD_All_Pos_700.csv");

    const std::string bridges =
        folder.write("my-bridges.csv", bridgesHeader + "Deck,500,30,midspan-moment,both,60,1:1;2:0.9\n"
                                                       "Pier,900,25,continuous-support-moment,2,120,\n");
    const auto result = runConfigured({"run", study, "--seed", "3", "--bridges", bridges});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(TemporaryFolder::read(folder.file("output.txt")), output);
    EXPECT_EQ(metrics("FD_All_Pos_700.csv"), flow);

    // Ten minutes of traffic and the time the last vehicles take to leave: whole minutes and a
    // last, shorter interval.
    const std::string deck = metrics("LE_Deck.csv");
    EXPECT_EQ(deck.rfind("interval,end_time_s,maximum,", 0), 0u);
    const std::vector<std::string> durations = lastColumn(deck);
    ASSERT_GE(durations.size(), 11u) << deck;
    for (std::size_t row = 0; row + 1 < durations.size(); ++row)
        EXPECT_EQ(durations[row], "60") << row;
    EXPECT_LT(std::stod(durations.back()), 60.0);
    EXPECT_EQ(lastColumn(metrics("LE_Pier.csv")).size(), (durations.size() + 1) / 2);
    const std::string events = metrics("LE_Deck_events.csv");
    EXPECT_GT(lineCount(events), 20u);

    // Every vehicle of an event is a record of the traffic file.
    const std::size_t records = lineCount(TemporaryFolder::read(folder.file("traffic.txt")));
    std::istringstream rows(events);
    std::string row;
    std::getline(rows, row);
    while (std::getline(rows, row))
    {
        std::istringstream cells(row);
        std::string cell;
        for (int column = 0; column < 4; ++column)
            std::getline(cells, cell, ',');
        EXPECT_GE(std::stoll(cell), 1);
        EXPECT_LE(static_cast<std::size_t>(std::stoll(cell)), records);
    }
    EXPECT_TRUE(contains(result.out, "Bridge Deck: largest ")) << result.out;
    EXPECT_TRUE(contains(result.out, "; " + std::to_string(durations.size() - 1) +
                                         " complete intervals of 60 s\n  Gumbel fit: location "))
        << result.out;
    EXPECT_TRUE(contains(result.out, "1000-year return level ")) << result.out;
}

TEST_F(BridgesRun, TheStudysOwnBridgesFileIsReadWhenThereIsOne)
{
    folder.write("study.bridges", bridgesHeader + "Own,200,20,support-shear,1,600,\n");
    const auto result = runConfigured({"run", study});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::exists(folder.file("metrics/LE_Own.csv")));
    EXPECT_TRUE(contains(result.out, "Bridge Own: ")) << result.out;

    // --bridges names another in its place.
    const std::string other = folder.write("other.csv", bridgesHeader + "Other,200,20,support-shear,1,600,\n");
    fs::remove(folder.file("metrics/LE_Own.csv"));
    ASSERT_EQ(runConfigured({"run", study, "--bridges", other}).status, 0);
    EXPECT_TRUE(fs::exists(folder.file("metrics/LE_Other.csv")));
    EXPECT_FALSE(fs::exists(folder.file("metrics/LE_Own.csv")));
}

TEST_F(BridgesRun, BadBridgesRefuseTheRunBeforeAnyFileIsWritten)
{
    struct Case
    {
        std::string lines;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"Deck,500,abc,midspan-moment,both,60,\n", "bad.csv: line 2: span_m: \"abc\" is not a number"},
        {"Deck,500,30,midspan-moment,both,60,\n../Deck,600,30,midspan-moment,both,60,\n", "bad.csv: line 3: name: "},
        {"Deck,500,30,midspan-moment,both,60,\nDECK,600,30,midspan-moment,both,60,\n",
         "bad.csv: line 3: name: \"DECK\" clashes with the bridge \"Deck\""},
        {"Deck,1490,30,midspan-moment,both,60,\n", "bad.csv: line 2: span_m: the bridge ends at 1520 m"},
        {"Deck,500,30,midspan-moment,2,60,1:1\n", "bad.csv: line 2: lane_factors: lane 1 is in direction 1"},
        {"Deck,500,30,file:absent.csv,2,60,\n", "bad.csv: line 2: effect: " + folder.file("absent.csv")},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.lines);
        const std::string bad = folder.write("bad.csv", bridgesHeader + c.lines);
        const auto result = runConfigured({"run", study, "--bridges", bad});
        EXPECT_EQ(result.status, CliFailure::failed);
        EXPECT_TRUE(contains(result.err, c.message)) << result.err;
        EXPECT_FALSE(fs::exists(folder.file("output.txt")));
        EXPECT_TRUE(fs::is_empty(folder.file("metrics")));
    }
    const auto missing = runConfigured({"run", study, "--bridges", folder.file("absent.bridges")});
    EXPECT_EQ(missing.status, CliFailure::failed);
    EXPECT_TRUE(contains(missing.err, folder.file("absent.bridges") + ": the bridges file cannot be read"))
        << missing.err;

    const std::string good = folder.write("good.csv", bridgesHeader + "Deck,500,30,midspan-moment,both,60,\n");
    const auto noFolder = runConfigured({"run", study, "--bridges", good, "--metrics", folder.file("absent")});
    EXPECT_EQ(noFolder.status, CliFailure::failed);
    EXPECT_TRUE(contains(noFolder.err, "the load-effect files cannot be written")) << noFolder.err;
    EXPECT_FALSE(fs::exists(folder.file("output.txt")));
}

TEST_F(BridgesRun, ALoadEffectFileThatLosesLinesFailsTheRunNamingIt)
{
    const std::string bridges = folder.write("my-bridges.csv", bridgesHeader + "Deck,500,30,midspan-moment,both,60,\n");
    ASSERT_EQ(runConfigured({"run", study, "--seed", "3", "--bridges", bridges}).status, 0);
    // A disk that fills as the load-effect file grows past what it held.
    CliResult result;
    {
        const FullDisk full(fs::file_size(folder.file("metrics/LE_Deck.csv")) - 1);
        result = runConfigured({"run", study, "--seed", "3", "--bridges", bridges});
    }
    EXPECT_EQ(result.status, CliFailure::failed) << result.err;
    EXPECT_TRUE(contains(result.err, folder.file("metrics/LE_Deck.csv") +
                                         ": the load-effect file could not be written: lines were lost"))
        << result.err;
}
