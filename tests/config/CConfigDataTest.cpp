#include "config/CConfigData.h"
#include "config/LeadingNumber.h"

#include "TempFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {
// Every one of the 40 values, so that two records can be compared whole.
void expectSameValues(const CConfigData& actual, const CConfigData& expected)
{
    EXPECT_EQ(actual.laneChangeMinGap, expected.laneChangeMinGap);
    EXPECT_EQ(actual.entryGap, expected.entryGap);
    EXPECT_EQ(actual.safeDeceleration, expected.safeDeceleration);
    EXPECT_EQ(actual.laneChangeInterval, expected.laneChangeInterval);
    EXPECT_EQ(actual.virtualObstacleDistance, expected.virtualObstacleDistance);
    EXPECT_EQ(actual.minSpeedLimit, expected.minSpeedLimit);
    EXPECT_EQ(actual.maxSpeedLimit, expected.maxSpeedLimit);
    EXPECT_EQ(actual.maxGradient, expected.maxGradient);
    EXPECT_EQ(actual.gradientAltersAccel, expected.gradientAltersAccel);
    EXPECT_EQ(actual.gradientMinAccel, expected.gradientMinAccel);
    EXPECT_EQ(actual.gradientAltersDecel, expected.gradientAltersDecel);
    EXPECT_EQ(actual.gradientHeadwayStep, expected.gradientHeadwayStep);
    EXPECT_EQ(actual.gradientMinSpeed, expected.gradientMinSpeed);
    EXPECT_EQ(actual.gradientSpeedStep, expected.gradientSpeedStep);
    EXPECT_EQ(actual.daysPerMonth, expected.daysPerMonth);
    EXPECT_EQ(actual.monthsPerYear, expected.monthsPerYear);
    EXPECT_EQ(actual.craneMeanSpacing, expected.craneMeanSpacing);
    EXPECT_EQ(actual.craneMaxSpacing, expected.craneMaxSpacing);
    EXPECT_EQ(actual.lowLoaderSpacing, expected.lowLoaderSpacing);
    EXPECT_EQ(actual.smallTruckMaxAxles, expected.smallTruckMaxAxles);
    EXPECT_EQ(actual.carMaxGVW, expected.carMaxGVW);
    EXPECT_EQ(actual.minViewScale, expected.minViewScale);
    EXPECT_EQ(actual.vehicleTipTime, expected.vehicleTipTime);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(actual.classColour[i], expected.classColour[i]) << "class " << i;
    EXPECT_EQ(actual.backgroundColour, expected.backgroundColour);
    EXPECT_EQ(actual.roadColour, expected.roadColour);
    EXPECT_EQ(actual.roadLineColour, expected.roadLineColour);
    EXPECT_EQ(actual.tickColour, expected.tickColour);
    EXPECT_EQ(actual.tickTextColour, expected.tickTextColour);
    EXPECT_EQ(actual.textColour, expected.textColour);
    EXPECT_EQ(actual.outputDetectorColour, expected.outputDetectorColour);
    EXPECT_EQ(actual.flowDensityDetectorColour, expected.flowDensityDetectorColour);
    EXPECT_EQ(actual.headwayDetectorColour, expected.headwayDetectorColour);
    EXPECT_EQ(actual.compositionDetectorColour, expected.compositionDetectorColour);
    EXPECT_EQ(actual.speedLimitColour, expected.speedLimitColour);
    EXPECT_EQ(actual.gradientColour, expected.gradientColour);
}

// The 40 value lines of the defaults, to be edited line by line.
std::vector<std::string> defaultValueLines()
{
    return {"2.0",     "27.0",    "-12.0",     "1.6",         "1000",        "10",          "200",     "15",
            "1",       "0.1",     "1",         "10.0",        "0.1",         "0.2",         "25",      "10",
            "2.5",     "4",       "7.5",       "3",           "35",          "0.1",         "20.0",    "0,0,0",
            "0,0,255", "255,0,0", "0,255,0",   "100,100,100", "255,255,255", "200,200,200", "0,0,0",   "0,0,0",
            "0,0,0",   "0,0,0",   "255,255,0", "0,255,0",     "0,0,255",     "0,0,0",       "255,0,0", "0,255,0"};
}

std::string joinLines(const std::vector<std::string>& lines, const std::string& ending = "\n")
{
    std::string text;
    for (const std::string& line : lines)
        text += line + ending;
    return text;
}

std::unique_ptr<CConfigData> loaded(const std::string& content)
{
    TempFile file(content);
    auto config = std::make_unique<CConfigData>();
    EXPECT_TRUE(config->readConfigFile(file.name()));
    return config;
}

// Indices into the value lines.
constexpr int entryGapLine = 1;
constexpr int virtualObstacleLine = 4;
constexpr int gradientAltersAccelLine = 8;
constexpr int daysPerMonthLine = 14;
constexpr int craneMaxSpacingLine = 17;
constexpr int carColourLine = 23;
constexpr int smallTruckColourLine = 24;
}

TEST(CConfigDataTest, ShippedExampleHoldsExactlyTheDefaults)
{
    CConfigData config;
    ASSERT_TRUE(config.readConfigFile(ROADFLUX_SOURCE_DIR "/examples/Roadflux.ini"));
    expectSameValues(config, CConfigData());
    EXPECT_THAT(config.questionableValues(), testing::IsEmpty());
}

// A run refused for its entry gap names the line that gave it, comments counted.
TEST(CConfigDataTest, TheLineOfTheEntryGapIsKept)
{
    CConfigData config;
    EXPECT_EQ(config.getEntryGapLine(), 0);
    ASSERT_TRUE(config.readConfigFile(ROADFLUX_SOURCE_DIR "/examples/Roadflux.ini"));
    EXPECT_EQ(config.getEntryGapLine(), 5);
    TempFile file("2.0\n// a comment\n// another\n\n// one more\n27\n");
    ASSERT_TRUE(config.readConfigFile(file.name()));
    EXPECT_EQ(config.getEntryGapLine(), 4);  // an empty line is a value line
}

TEST(CConfigDataTest, DefaultsWritten40LinesLoadBackUnderEveryLineEnding)
{
    for (const char* ending : {"\n", "\r\n", "\r"})
    {
        SCOPED_TRACE(testing::PrintToString(std::string(ending)));
        expectSameValues(*loaded(joinLines(defaultValueLines(), ending)), CConfigData());
    }
}

TEST(CConfigDataTest, MissingFileIsReportedAndKeepsTheDefaults)
{
    CConfigData config;
    config.entryGap = 99.0;
    EXPECT_FALSE(config.readConfigFile("/nonexistent/folder/Roadflux.ini"));
    EXPECT_EQ(config.entryGap, 99.0);
    config.entryGap = 27.0;
    expectSameValues(config, CConfigData());
}

// A folder would load as 40 zeros, /dev/zero would grow one line without end, a FIFO would
// block: each is a file that cannot be read, and the defaults stay.
TEST(CConfigDataTest, FoldersDevicesAndPipesAreFilesThatCannotBeRead)
{
    const std::filesystem::path fifo =
        std::filesystem::temp_directory_path() / ("roadflux_config_fifo_" + std::to_string(::getpid()));
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& name : {std::filesystem::temp_directory_path().string(), std::string("/dev/zero"),
                                    std::string("/dev/null"), fifo.string()})
    {
        CConfigData config;
        EXPECT_FALSE(config.readConfigFile(name)) << name;
        expectSameValues(config, CConfigData());
    }
    std::filesystem::remove(fifo);
}

TEST(CConfigDataTest, AnEndlessLineIsCutAndTheFileStillLoads)
{
    TempFile file(std::string(3 * CCSVParse::maxLineLength, '7') + "\n27\n");
    CConfigData config;
    EXPECT_TRUE(config.readConfigFile(file.name()));
    EXPECT_EQ(config.entryGap, 27.0);
}

TEST(CConfigDataTest, FileOfCommentsOnlyZeroesEverything)
{
    const auto config = loaded("// nothing here\n// nor here\n");
    EXPECT_EQ(config->laneChangeMinGap, 0.0);
    EXPECT_EQ(config->safeDeceleration, 0.0);
    EXPECT_EQ(config->virtualObstacleDistance, 0);
    EXPECT_FALSE(config->gradientAltersAccel);
    EXPECT_FALSE(config->gradientAltersDecel);
    EXPECT_EQ(config->daysPerMonth, 0);
    EXPECT_EQ(config->craneMaxSpacing, 0);
    EXPECT_EQ(config->classColour[4], 0u);
    EXPECT_EQ(config->backgroundColour, 0u);
    EXPECT_EQ(config->gradientColour, 0u);
    EXPECT_THAT(config->questionableValues(),
                testing::ElementsAre("daysPerMonth 0", "monthsPerYear 0", "minViewScale 0",
                                     "virtualObstacleDistance (the default 1000 is used) 0", "gradientHeadwayStep 0",
                                     "gradientSpeedStep 0"));
}

TEST(CConfigDataTest, EarlyEndReadsTheRestFromEmptyLines)
{
    std::vector<std::string> lines = defaultValueLines();
    lines.resize(5);
    const auto config = loaded(joinLines(lines));
    EXPECT_EQ(config->virtualObstacleDistance, 1000);
    EXPECT_EQ(config->minSpeedLimit, 0);
    EXPECT_FALSE(config->gradientAltersAccel);
    EXPECT_EQ(config->roadColour, 0u);
}

TEST(CConfigDataTest, ValueLinesTakeTheLeadingNumberOfTheirFirst14Characters)
{
    std::vector<std::string> lines = defaultValueLines();
    lines[0] = "2.5,metres";
    lines[virtualObstacleLine] = "   7";
    lines[5] = "7.9";
    lines[craneMaxSpacingLine] = "4.9";
    lines[6] = "               5";  // 15 blanks: the number lies beyond the prefix
    lines[7] = "12 % (uphill)";
    lines[entryGapLine] = "3e1";
    const auto config = loaded(joinLines(lines));
    EXPECT_EQ(config->laneChangeMinGap, 2.5);
    EXPECT_EQ(config->virtualObstacleDistance, 7);
    EXPECT_EQ(config->minSpeedLimit, 7);
    EXPECT_EQ(config->craneMaxSpacing, 4);
    EXPECT_EQ(config->maxSpeedLimit, 0);
    EXPECT_EQ(config->maxGradient, 12);
    EXPECT_EQ(config->entryGap, 30.0);
}

TEST(CConfigDataTest, SwitchesAreOnOnlyForOne)
{
    const std::vector<std::pair<std::string, bool>> cases = {{"1", true},  {"1.7", true}, {" 1 on", true},
                                                             {"0", false}, {"2", false},  {"on", false},
                                                             {"", false},  {"-1", false}};
    for (const auto& [text, expected] : cases)
    {
        std::vector<std::string> lines = defaultValueLines();
        lines[gradientAltersAccelLine] = text;
        EXPECT_EQ(loaded(joinLines(lines))->gradientAltersAccel, expected) << '"' << text << '"';
    }
}

TEST(CConfigDataTest, ColourComponentsWrapModulo256AndMissingOnesAreZero)
{
    std::vector<std::string> lines = defaultValueLines();
    lines[carColourLine] = "256, 0, 0";
    lines[smallTruckColourLine] = "10,20";
    lines[25] = "1,2,3,4";
    lines[26] = "  300 ,  -1,  257";
    lines[27] = "\"5\",6,7";
    const auto config = loaded(joinLines(lines));
    EXPECT_EQ(config->classColour[0], 0u);
    EXPECT_EQ(config->classColour[1], makeColour(10, 20, 0));
    EXPECT_EQ(config->classColour[2], makeColour(1, 2, 3));
    EXPECT_EQ(config->classColour[3], makeColour(44, 255, 1));
    EXPECT_EQ(config->classColour[4], makeColour(5, 6, 7));
}

TEST(CConfigDataTest, OnlyLinesStartingWithTheMarkerAreComments)
{
    std::vector<std::string> lines = defaultValueLines();
    lines.insert(lines.begin() + entryGapLine, "// entryGap (m)");
    lines.insert(lines.begin() + entryGapLine, "//");
    lines.insert(lines.begin(), "  // indented: a value line");
    const auto config = loaded(joinLines(lines));
    EXPECT_EQ(config->laneChangeMinGap, 0.0);
    // Everything after the indented line moves down by one value.
    EXPECT_EQ(config->entryGap, 2.0);
    EXPECT_EQ(config->safeDeceleration, 27.0);
}

TEST(CConfigDataTest, LinesAfterTheFortiethValueAreIgnored)
{
    std::vector<std::string> lines = defaultValueLines();
    lines.push_back("1,2,3");
    lines.push_back("garbage");
    expectSameValues(*loaded(joinLines(lines)), CConfigData());
}

TEST(CConfigDataTest, NonsenseValuesLoadAsGivenAndAreListed)
{
    std::vector<std::string> lines = defaultValueLines();
    lines[2] = "12";
    lines[daysPerMonthLine] = "0";
    lines[21] = "-0.5";
    const auto config = loaded(joinLines(lines));
    EXPECT_EQ(config->safeDeceleration, 12.0);
    EXPECT_EQ(config->daysPerMonth, 0);
    EXPECT_EQ(config->minViewScale, -0.5);
    EXPECT_THAT(config->questionableValues(),
                testing::ElementsAre("daysPerMonth 0", "minViewScale -0.5", "safeDeceleration 12"));
}

TEST(CConfigDataTest, OverflowingNumbersStayFiniteAndInRange)
{
    std::vector<std::string> lines = defaultValueLines();
    lines[0] = "1e99999";
    lines[entryGapLine] = "-1e400";
    lines[3] = "1e-400";
    lines[virtualObstacleLine] = "99999999999999";
    lines[5] = "-99999999999999";
    lines[craneMaxSpacingLine] = "1e300";
    const auto config = loaded(joinLines(lines));
    EXPECT_EQ(config->laneChangeMinGap, std::numeric_limits<double>::max());
    EXPECT_EQ(config->entryGap, -std::numeric_limits<double>::max());
    EXPECT_EQ(config->laneChangeInterval, 0.0);
    EXPECT_EQ(config->virtualObstacleDistance, std::numeric_limits<int>::max());
    EXPECT_EQ(config->minSpeedLimit, std::numeric_limits<int>::min());
    EXPECT_EQ(config->craneMaxSpacing, std::numeric_limits<int>::max());
}

TEST(LeadingNumberTest, ReadsLikeTheCLibraryButOnlyDecimalNumbers)
{
    EXPECT_EQ(leadingReal(" \t+2.5e1x"), 25.0);
    EXPECT_EQ(leadingReal("-.5"), -0.5);
    EXPECT_EQ(leadingReal("5."), 5.0);
    EXPECT_EQ(leadingReal("2e"), 2.0);
    EXPECT_EQ(leadingReal("2e+"), 2.0);
    EXPECT_EQ(leadingReal("."), 0.0);
    EXPECT_EQ(leadingReal("-"), 0.0);
    EXPECT_EQ(leadingReal("inf"), 0.0);
    EXPECT_EQ(leadingReal("nan"), 0.0);
    EXPECT_EQ(leadingReal("0x10"), 0.0);
    EXPECT_EQ(leadingReal("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_EQ(leadingReal("1" + std::string(400, '0')), std::numeric_limits<double>::max());
    EXPECT_EQ(leadingInteger("  -42abc"), -42);
    EXPECT_EQ(leadingInteger("+7"), 7);
    EXPECT_EQ(leadingInteger("3.9"), 3);
    EXPECT_EQ(leadingInteger("- 3"), 0);
    EXPECT_EQ(leadingInteger("2147483648"), std::numeric_limits<int>::max());
    EXPECT_EQ(leadingInteger("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(prefixInteger("             12"), 1);
}
