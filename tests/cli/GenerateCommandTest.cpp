// Synthetic traffic files: every class comes back from the classification, in all three
// formats, in time order, with the flows and the seed asked for.

#include "cli/GenerateCommand.h"
#include "cli/CliFailure.h"
#include "cli/CliHarness.h"
#include "cli/TrafficGeneratorSettings.h"
#include "document/TemporaryFolder.h"
#include "trafficfiles/DORIVFile.h"
#include "trafficfiles/TALVORFile.h"
#include "trafficfiles/VORKFile.h"
#include "vehicles/Vehicle.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <memory>

namespace {
struct FileContents
{
    std::array<int, 5> classes{};
    std::map<std::pair<int, int>, int> perDirectionAndLane;
    int vehicles = 0;
    bool inTimeOrder = true;
    double first = 0.0;  // s
    double last = 0.0;   // s
};

FileContents readBack(const std::string& file, const std::string& format, const TemporaryFolder& folder)
{
    std::unique_ptr<FileHandler> handler;
    const std::string scratch = folder.file("scratch.txt");
    if (format == "VORK")
        handler = std::make_unique<VORKFile>(file, scratch);
    else if (format == "DoRIV")
        handler = std::make_unique<DORIVFile>(file, scratch);
    else
        handler = std::make_unique<TALVORFile>(file, scratch);
    FileContents contents;
    double previous = -1.0;
    while (const std::unique_ptr<Vehicle> vehicle = handler->readNextVehicle())
    {
        ++contents.classes.at(static_cast<std::size_t>(vehicle->getClass()));
        ++contents.perDirectionAndLane[{vehicle->getDirection(), vehicle->getLane()}];
        const double time = vehicle->getTime();
        contents.inTimeOrder = contents.inTimeOrder && time >= previous;
        if (contents.vehicles++ == 0)
            contents.first = time;
        contents.last = time;
        previous = time;
    }
    return contents;
}

CliResult generate(const TemporaryFolder& folder, const std::string& name, std::vector<std::string> options)
{
    options.insert(options.begin(), {"generate", folder.file(name)});
    return runConfigured(options);
}
}

class GenerateFormats : public ::testing::TestWithParam<const char*>
{
};

TEST_P(GenerateFormats, EveryClassIsClassifiedAsIntended)
{
    const std::string format = GetParam();
    TemporaryFolder folder;
    const bool vork = format == "VORK";
    const auto result = generate(folder, "traffic.txt",
                                 {"--format", format, "--duration", "2h", "--flow", "1500", "--mix",
                                  "car=40,small-truck=15,large-truck=15,crane=15,low-loader=15", "--seed", "11"});
    ASSERT_EQ(result.status, 0) << result.err;

    const FileContents contents = readBack(folder.file("traffic.txt"), format, folder);
    const int lanes = vork ? 1 : 4;
    EXPECT_NEAR(contents.vehicles, 1500 * 2 * lanes, 0.05 * 1500 * 2 * lanes);
    EXPECT_TRUE(contents.inTimeOrder);
    for (int k = 0; k < 5; ++k)
    {
        const double share = k == 0 ? 0.40 : 0.15;
        EXPECT_NEAR(contents.classes[static_cast<std::size_t>(k)], share * contents.vehicles, 0.03 * contents.vehicles)
            << format << " class " << k;
    }
    EXPECT_NEAR(contents.first, 8 * 3600.0, 10.0);
    EXPECT_LT(contents.last, 10 * 3600.0);
    EXPECT_NE(result.out.find("vehicles to"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(AllFormats, GenerateFormats, ::testing::Values("TALVOR", "VORK", "DoRIV"),
                         [](const ::testing::TestParamInfo<const char*>& format) { return std::string(format.param); });

TEST(Generate, LanesAndFlowsPerDirection)
{
    TemporaryFolder folder;
    const auto result = generate(
        folder, "t.txt",
        {"--duration", "1h", "--lanes1", "1", "--lanes2", "3", "--flow1", "1200", "--flow2", "300", "--seed", "3"});
    ASSERT_EQ(result.status, 0) << result.err;
    const FileContents contents = readBack(folder.file("t.txt"), "TALVOR", folder);
    ASSERT_EQ(contents.perDirectionAndLane.size(), 4u);
    EXPECT_NEAR((contents.perDirectionAndLane.at({1, 1})), 1200, 100);
    // Direction 2's lanes follow direction 1's in the file's numbering.
    for (int lane = 2; lane <= 4; ++lane)
        EXPECT_NEAR((contents.perDirectionAndLane.at({2, lane})), 300, 60) << "lane " << lane;
}

TEST(Generate, TheSameSeedGivesTheSameFile)
{
    TemporaryFolder folder;
    ASSERT_EQ(generate(folder, "a.txt", {"--duration", "10m", "--seed", "42"}).status, 0);
    ASSERT_EQ(generate(folder, "b.txt", {"--duration", "10m", "--seed", "42"}).status, 0);
    ASSERT_EQ(generate(folder, "c.txt", {"--duration", "10m", "--seed", "43"}).status, 0);
    EXPECT_EQ(TemporaryFolder::read(folder.file("a.txt")), TemporaryFolder::read(folder.file("b.txt")));
    EXPECT_NE(TemporaryFolder::read(folder.file("a.txt")), TemporaryFolder::read(folder.file("c.txt")));
}

TEST(Generate, TrafficWrittenInPiecesContinuesTheCalendarByDay)
{
    TemporaryFolder folder;
    ASSERT_EQ(generate(folder, "day0.txt", {"--duration", "10m", "--start", "00:00"}).status, 0);
    ASSERT_EQ(generate(folder, "day3.txt", {"--duration", "10m", "--start", "00:00", "--day", "3"}).status, 0);
    const FileContents first = readBack(folder.file("day0.txt"), "TALVOR", folder);
    const FileContents later = readBack(folder.file("day3.txt"), "TALVOR", folder);
    EXPECT_EQ(later.vehicles, first.vehicles);
    EXPECT_NEAR(later.first - first.first, 3 * 86400.0, 1e-6);
    EXPECT_NEAR(later.last - first.last, 3 * 86400.0, 1e-6);
    // The example's calendar has 250 days a year and two-digit years: day 24999 is the last.
    const CliResult pastYear99 =
        generate(folder, "far.txt", {"--duration", "1d", "--start", "00:00", "--day", "24999"});
    EXPECT_EQ(pastYear99.status, 2);
    EXPECT_NE(pastYear99.err.find("--day '24999'"), std::string::npos) << pastYear99.err;
    EXPECT_EQ(generate(folder, "far.txt", {"--duration", "23h", "--start", "00:00", "--day", "24999"}).status, 0);
    EXPECT_EQ(generate(folder, "bad.txt", {"--day", "-1"}).status, 2);
}

TEST(Generate, AnExistingFileIsOnlyReplacedWhenAskedTo)
{
    TemporaryFolder folder;
    const std::string recorded = folder.write("recorded.txt", "recorded traffic\n");
    auto result = generate(folder, "recorded.txt", {"--duration", "1m"});
    EXPECT_EQ(result.status, CliFailure::failed);
    EXPECT_NE(result.err.find(recorded + ": the file exists already"), std::string::npos) << result.err;
    EXPECT_EQ(TemporaryFolder::read(recorded), "recorded traffic\n");
    EXPECT_EQ(generate(folder, "recorded.txt", {"--duration", "1m", "--force"}).status, 0);
    EXPECT_NE(TemporaryFolder::read(recorded), "recorded traffic\n");
}

TEST(Generate, BadOptionsAreRefusedByName)
{
    TemporaryFolder folder;
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--format", "XML"}, "--format 'XML'"},
        {{"--format", "VORK", "--lanes1", "2"}, "VORK records carry no direction or lane"},
        {{"--duration", "0"}, "--duration '0'"},
        {{"--duration", "3w"}, "--duration '3w'"},
        {{"--flow", "5000"}, "--flow1"},
        {{"--lanes2", "5"}, "--lanes2 '5'"},
        {{"--lanes1", "0", "--lanes2", "0"}, "zero lanes in both directions"},
        {{"--mix", "car=80,bus=20"}, "--mix 'car=80,bus=20'"},
        {{"--mix", "car=0"}, "at least one class"},
        {{"--start", "25:00"}, "--start '25:00'"},
    };
    for (const auto& [options, expected] : cases)
    {
        const auto result = generate(folder, "x.txt", options);
        EXPECT_EQ(result.status, CliFailure::usage) << expected;
        EXPECT_NE(result.err.find(expected), std::string::npos) << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("x.txt")));
}

TEST(Generate, AFileThatCannotBeCreatedIsNamed)
{
    TemporaryFolder folder;
    const auto result = generate(folder, "missing/folder/t.txt", {"--duration", "1m"});
    EXPECT_EQ(result.status, CliFailure::failed);
    EXPECT_NE(result.err.find("The traffic file cannot be created (" + folder.file("missing/folder/t.txt") + ": "),
              std::string::npos)
        << result.err;
}

// Numbers that only look like numbers, sums that overflow and units nobody defined: each is
// refused by its option with what is allowed, and no file is written.
TEST(Generate, HostileNumbersAndUnitsAreRefusedWithTheirRange)
{
    TemporaryFolder folder;
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--mix", "car=1e308,crane=1e308"}, "each share a number from 0 to 1e9"},
        {{"--mix", "car=nan"}, "--mix 'car=nan'"},
        {{"--mix", "car=0x10"}, "--mix 'car=0x10'"},
        {{"--duration", "5M"}, "the units s, min (or m, the default), h or d"},
        {{"--duration", "5 M-I-N!"}, "--duration '5 M-I-N!'"},
        {{"--duration", "1e308h"}, "--duration '1e308h'"},
        {{"--duration", "0x10"}, "--duration '0x10'"},
        {{"--duration", ""}, "--duration ''"},
        {{"--seed", ""}, "--seed: '' is not allowed: a whole number from 0 to 4294967295"},
        {{"--seed", "-0"}, "--seed: '-0' is not allowed"},
        {{"--seed", "0x10"}, "--seed: '0x10' is not allowed"},
        {{"--seed", "4294967296"}, "--seed: '4294967296' is not allowed"},
        {{"--flow", "nan"}, "--flow: 'nan' is not allowed: a number from 0 to 3600 vehicles per hour per lane"},
        {{"--flow2", " "}, "--flow2: ' ' is not allowed"},
        {{"--lanes1", "2147483648"}, "--lanes1: '2147483648' is not allowed: a whole number from 0 to 4"},
        {{"--lanes2", "0x1"}, "--lanes2: '0x1' is not allowed"},
    };
    for (const auto& [options, expected] : cases)
    {
        const auto result = generate(folder, "x.txt", options);
        EXPECT_EQ(result.status, CliFailure::usage) << expected;
        EXPECT_NE(result.err.find(expected), std::string::npos) << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("x.txt")));

    // The units that exist, a blank before them and the largest seed all still work.
    GenerateCommand::Options options;
    for (const auto& [text, seconds] : std::vector<std::pair<std::string, double>>{
             {"90s", 90.0}, {"30", 1800.0}, {"30m", 1800.0}, {"30min", 1800.0}, {"2 h", 7200.0}, {"1d", 86400.0}})
    {
        options.duration = text;
        EXPECT_EQ(GenerateCommand::settingsFrom(options).durationS, seconds) << text;
    }
    options.duration = "1m";
    options.mix = "car=1e9,crane=1e9";
    EXPECT_EQ(GenerateCommand::settingsFrom(options).classShares[3], 1e9);
    const auto largest = generate(folder, "y.txt", {"--duration", "1m", "--seed", "4294967295", "--flow", "0"});
    EXPECT_EQ(largest.status, 0) << largest.err;
    EXPECT_NE(largest.out.find("(seed 4294967295)"), std::string::npos) << largest.out;
}
