// Devices, pipes, folders and links where the runner expects files: never replaced, never
// blocked on, never read as data.

#include "cli/CliFailure.h"
#include "cli/CliHarness.h"
#include "document/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {
bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::string makeFifo(const TemporaryFolder& folder, const std::string& name)
{
    const std::string path = folder.file(name);
    if (::mkfifo(path.c_str(), 0600) != 0)
        ADD_FAILURE() << "mkfifo " << path;
    return path;
}

TEST(NonRegularFiles, ForceReplacesOnlyRegularFiles)
{
    TemporaryFolder folder;
    const std::string fifo = makeFifo(folder, "fifo");
    fs::create_directory(folder.file("dir"));
    for (const std::string& target : {fifo, folder.file("dir"), std::string("/dev/null")})
    {
        auto result = runConfigured({"generate", target, "--duration", "1m", "--force"});
        EXPECT_EQ(result.status, CliFailure::failed) << target;
        EXPECT_TRUE(contains(result.err, target + ": not a regular file")) << result.err;
        result = runConfigured({"new", target, "--input", "a.txt", "--output", "b.txt", "--force"});
        EXPECT_EQ(result.status, CliFailure::failed) << target;
        EXPECT_TRUE(contains(result.err, target + ": not a regular file")) << result.err;
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_directory(folder.file("dir")));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST(NonRegularFiles, ForceThroughALinkReplacesTheLinkedFileAndKeepsTheLink)
{
    TemporaryFolder folder;
    const std::string real = folder.write("real.txt", "old\n");
    fs::create_symlink(real, folder.file("link.txt"));
    const auto result = runConfigured({"generate", folder.file("link.txt"), "--duration", "1m", "--force"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::is_symlink(folder.file("link.txt")));
    EXPECT_NE(TemporaryFolder::read(real), "old\n");
}

TEST(NonRegularFiles, AStudyThatIsAPipeOrADeviceIsNotOpened)
{
    TemporaryFolder folder;
    const std::string fifo = makeFifo(folder, "study.rfx");
    for (const std::string& study : {fifo, std::string("/dev/zero")})
    {
        for (const char* command : {"show", "run"})
        {
            const auto result = runConfigured({command, study});
            EXPECT_EQ(result.status, CliFailure::failed) << command << ' ' << study;
            EXPECT_TRUE(contains(result.err, study + ": Failed to open document.")) << result.err;
        }
    }
}

TEST(NonRegularFiles, AConfigurationThatIsAFolderOrADeviceCannotBeRead)
{
    TemporaryFolder folder;
    const std::string fifo = makeFifo(folder, "Roadflux.ini");
    for (const std::string& config : {folder.path.string(), std::string("/dev/zero"), fifo})
    {
        const auto result =
            runCli({"--config", config, "generate", folder.file("t.txt"), "--duration", "1m", "--force"});
        EXPECT_EQ(result.status, CliFailure::failed) << config;
        EXPECT_TRUE(contains(result.err, config + ": Configuration file cannot be read")) << result.err;
    }
}
}
