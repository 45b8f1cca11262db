// Copying the example into a folder of the user's: complete, runnable where it lands, and never
// over a file that is already there.

#include "cli/ExampleCommand.h"
#include "cli/CliFailure.h"
#include "cli/CliHarness.h"
#include "document/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {
const std::string examples = std::string(ROADFLUX_SOURCE_DIR) + "/examples";

// Runs the command line with a current directory that has no Roadflux.ini.
CliResult runIn(const TemporaryFolder& folder, const std::vector<std::string>& args)
{
    const fs::path before = fs::current_path();
    fs::current_path(folder.path);
    CliResult result = runCli(args);
    fs::current_path(before);
    return result;
}
}

TEST(ExampleCommand, CopiesTheExampleWhichThenRunsWhereItLanded)
{
    TemporaryFolder folder;
    const auto copied = runIn(folder, {"example", "new/example"});
    ASSERT_EQ(copied.status, 0) << copied.err;
    // The example needs no configuration file: none is looked for, so nothing is said about one.
    EXPECT_EQ(copied.err, "");
    EXPECT_NE(copied.out.find("roadflux-cli run study.rfx"), std::string::npos) << copied.out;

    const fs::path copy = folder.path / "new/example";
    for (const std::string& name : ExampleCommand::exampleFiles())
        EXPECT_EQ(TemporaryFolder::read((copy / name).string()), TemporaryFolder::read(examples + "/" + name)) << name;
    EXPECT_TRUE(fs::is_directory(copy / "metrics"));

    const auto ran = runCli({"run", (copy / "study.rfx").string(), "--config", (copy / "Roadflux.ini").string()});
    ASSERT_EQ(ran.status, 0) << ran.err;
    EXPECT_GT(fs::file_size(copy / "output.txt"), 0u);
    EXPECT_FALSE(fs::is_empty(copy / "metrics"));
}

TEST(ExampleCommand, NeverReplacesAFileAndThenCopiesNothing)
{
    TemporaryFolder folder;
    folder.write("traffic.txt", "the user's own traffic\n");
    const auto result = runIn(folder, {"example", "."});
    EXPECT_EQ(result.status, CliFailure::failed);
    EXPECT_NE(result.err.find("traffic.txt: the file exists already"), std::string::npos) << result.err;
    EXPECT_EQ(TemporaryFolder::read(folder.file("traffic.txt")), "the user's own traffic\n");
    EXPECT_FALSE(fs::exists(folder.path / "study.rfx"));
    EXPECT_FALSE(fs::exists(folder.path / "Roadflux.ini"));

    fs::create_symlink(folder.path / "nowhere", folder.path / "study.rfx");
    const auto dangling = runIn(folder, {"example", "."});
    EXPECT_EQ(dangling.status, CliFailure::failed);
    EXPECT_NE(dangling.err.find("study.rfx, ./traffic.txt: the files exist already"), std::string::npos)
        << dangling.err;
}

TEST(ExampleCommand, TakesTheFirstCompleteSourceAndNamesEveryPlaceLookedIn)
{
    TemporaryFolder folder;
    fs::create_directories(folder.path / "partial");
    folder.write("partial/study.rfx", "not the whole example");
    std::ostringstream out;
    const ExampleCommand command(out, {folder.path / "partial", examples});
    ASSERT_EQ(command.execute({folder.file("copy")}), 0);
    EXPECT_EQ(TemporaryFolder::read(folder.file("copy/study.rfx")), TemporaryFolder::read(examples + "/study.rfx"));

    const ExampleCommand nowhere(out, {folder.path / "partial", folder.path / "absent"});
    try
    {
        nowhere.execute({folder.file("other")});
        FAIL() << "an example that is nowhere was copied";
    }
    catch (const CliFailure& failure)
    {
        const std::string message = failure.what();
        EXPECT_NE(message.find(folder.file("partial")), std::string::npos) << message;
        EXPECT_NE(message.find(folder.file("absent")), std::string::npos) << message;
    }
    EXPECT_FALSE(fs::exists(folder.path / "other"));
}

TEST(ExampleCommand, AFolderThatCannotBeMadeIsNamed)
{
    TemporaryFolder folder;
    folder.write("plain-file", "");
    const auto result = runIn(folder, {"example", "plain-file/example"});
    EXPECT_EQ(result.status, CliFailure::failed);
    EXPECT_NE(result.err.find("plain-file/example: the folder cannot be made"), std::string::npos) << result.err;
}
