// The strict reading of the numbers typed on the command line, and the commands that take them:
// what only looks like a number is refused by the option's name, with what is allowed.

#include "cli/NumberOptions.h"
#include "cli/CliFailure.h"
#include "cli/CliHarness.h"
#include "document/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(NumberOptions, OnlyPlainDecimalTextIsANumber)
{
    EXPECT_EQ(NumberOptions::readWhole("42"), 42);
    EXPECT_EQ(NumberOptions::readWhole("-7"), -7);
    EXPECT_EQ(NumberOptions::readWhole("9223372036854775807"), 9223372036854775807LL);
    for (const char* text : {"", " ", "-", "+1", " 1", "1 ", "0x10", "1e3", "1.0", "9223372036854775808", "1,5"})
        EXPECT_FALSE(NumberOptions::readWhole(text)) << "'" << text << "'";

    EXPECT_EQ(NumberOptions::readReal("2.5"), 2.5);
    EXPECT_EQ(NumberOptions::readReal(".5"), 0.5);
    EXPECT_EQ(NumberOptions::readReal("1e3"), 1000.0);
    EXPECT_FALSE(std::signbit(*NumberOptions::readReal("-0")));
    for (const char* text :
         {"", " ", "-", ".", "nan", "inf", "-inf", "infinity", "1e309", "-1e309", "0x10", "5 x", "1,5", "+1", " 1"})
        EXPECT_FALSE(NumberOptions::readReal(text)) << "'" << text << "'";
}

TEST(NumberOptions, NewAndCompareRefuseNumbersOutOfTheirRangeByName)
{
    TemporaryFolder folder;
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"new", folder.file("s.rfx"), "--road-length", "0x10"},
         "--road-length: '0x10' is not allowed: a whole "
         "number from 500 to 100000 m"},
        {{"new", folder.file("s.rfx"), "--time-step-ms", ""}, "--time-step-ms: '' is not allowed"},
        {{"new", folder.file("s.rfx"), "--file-lanes2", "nan"}, "--file-lanes2: 'nan' is not allowed"},
        {{"new", folder.file("s.rfx"), "--output-detector1", "1e3"}, "--output-detector1: '1e3' is not allowed"},
        {{"compare", folder.path.string(), "--precision", "nan"},
         "--precision: 'nan' is not allowed: a number "
         "from 0.01 to 99 %"},
    };
    for (const auto& [args, expected] : cases)
    {
        const auto result = runConfigured(args);
        EXPECT_EQ(result.status, CliFailure::usage) << expected;
        EXPECT_NE(result.err.find(expected), std::string::npos) << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("s.rfx")));
}
