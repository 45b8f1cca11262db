#include "document/TemporaryFolder.h"
#include "files/AtomicFileWriter.h"
#include "files/FileClaims.h"
#include "files/ForeignLock.h"
#include "files/InputFile.h"
#include "files/OutputStream.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
struct Closer
{
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};
using Stream = std::unique_ptr<std::FILE, Closer>;

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

}

TEST(InputFiles, APipeADeviceAndAFolderAreRefusedAtOnceWithTheReason)
{
    TemporaryFolder folder;
    const std::string fifo = folder.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string error;
    // A FIFO without a writer would block an ordinary open for ever.
    EXPECT_FALSE(Stream(openInputStream(fifo, error)));
    EXPECT_EQ(error, "a named pipe (FIFO), not a regular file");
    EXPECT_FALSE(Stream(openInputStream("/dev/zero", error)));
    EXPECT_EQ(error, "a device, not a regular file");
    EXPECT_FALSE(Stream(openInputStream(folder.path.string(), error)));
    EXPECT_EQ(error, "a folder, not a regular file");
    EXPECT_FALSE(Stream(openInputStream(folder.file("missing"), error)));
    EXPECT_EQ(error, "No such file or directory");

    std::string text;
    EXPECT_EQ(readTextFile("/dev/zero", text), "a device, not a regular file");
    EXPECT_EQ(readTextFile(folder.write("big.txt", std::string(2000, 'x')), text, 1000), "larger than 1000 bytes");
}

TEST(InputFiles, AUtf8ByteOrderMarkIsReadPastAndOtherEncodingsAreRefusedByName)
{
    TemporaryFolder folder;
    std::string text;
    EXPECT_FALSE(readTextFile(folder.write("bom.csv", "\xEF\xBB\xBFname,start\n"), text));
    EXPECT_EQ(text, "name,start\n");
    EXPECT_EQ(readTextFile(folder.write("utf16.csv", std::string("\xFF\xFEn\0a\0", 6)), text),
              "UTF-16 text (byte-order mark): save it as UTF-8");
    EXPECT_EQ(readTextFile(folder.write("utf32.csv", std::string("\xFF\xFE\0\0n\0\0\0", 8)), text),
              "UTF-32 text (byte-order mark): save it as UTF-8");
    // Bytes are bytes: a binary study may start with anything.
    std::string bytes;
    EXPECT_FALSE(readFileBytes(folder.write("study.rfx", std::string("\xFF\xFE\x01", 3)), bytes));
    EXPECT_EQ(bytes.size(), 3u);
}

TEST(FileClaims, AnOutputIsJudgedByTheFileItNamesNotByItsName)
{
    TemporaryFolder folder;
    const std::string study = folder.write("study.rfx", "study");
    fs::create_directory(folder.file("sub"));
    fs::create_hard_link(study, folder.file("hard.rfx"));
    fs::create_symlink(study, folder.file("soft.rfx"));
    for (const std::string& other : {folder.file("hard.rfx"), folder.file("soft.rfx"), folder.file("sub/../study.rfx")})
    {
        FileClaims files;
        files.addInput(study, "the study file");
        files.addOutput(other, "the output traffic file");
        const std::optional<std::string> conflict = files.findConflict();
        ASSERT_TRUE(conflict) << other;
        EXPECT_EQ(*conflict, "The output traffic file must not be the study file (" + other + ")");
    }
    FileClaims twice;
    twice.addOutput(folder.file("new.csv"), "the measurement file new.csv");
    twice.addOutput(folder.file("sub/../new.csv"), "the load-effect file");
    EXPECT_TRUE(twice.findConflict());
}

TEST(FileClaims, OnlyAbsentOrRegularFilesAreClaimedAndARefusalLeavesNothingBehind)
{
    TemporaryFolder folder;
    const std::string fifo = folder.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink(folder.file("nowhere"), folder.file("dangling"));
    const std::string locked = folder.write("locked.csv", "earlier");
    const ForeignLock otherRun(locked);
    const std::vector<std::pair<std::string, std::string>> refused{
        {fifo, "a named pipe (FIFO), not a regular file"},
        {"/dev/null", "a device, not a regular file"},
        {folder.path.string(), "a folder, not a regular file"},
        {folder.file("dangling"), "a symbolic link to a file that does not exist"},
        {locked, "is being written by another run"},
    };
    for (const auto& [target, reason] : refused)
    {
        FileClaims files;
        files.addOutput(folder.file("first.csv"), "the first file");
        files.addOutput(target, "the second file");
        FileClaim claim;
        const std::optional<std::string> problem = files.claim(claim);
        ASSERT_TRUE(problem) << target;
        EXPECT_TRUE(contains(*problem, reason)) << *problem;
        EXPECT_TRUE(contains(*problem, target)) << *problem;
        EXPECT_FALSE(fs::exists(folder.file("first.csv"))) << "a refused claim left a file it created";
    }
    EXPECT_EQ(TemporaryFolder::read(locked), "earlier");
    EXPECT_FALSE(fs::exists(folder.file("nowhere")));
}

TEST(FileClaims, AFileReplacedWholeIsNotCreatedInAdvance)
{
    TemporaryFolder folder;
    FileClaims files;
    files.addOutput(folder.file("report.html"), "the report", FileClaims::Writing::replacedWhole);
    files.addOutput(folder.file("no-folder/report.html"), "the page", FileClaims::Writing::replacedWhole);
    FileClaim claim;
    const std::optional<std::string> problem = files.claim(claim);
    ASSERT_TRUE(problem);
    EXPECT_EQ(*problem,
              "The page cannot be created (" + folder.file("no-folder/report.html") + ": No such file or directory)");
    EXPECT_FALSE(fs::exists(folder.file("report.html")));
}

TEST(OutputStreams, AClaimedFileIsTheOneWrittenEvenIfItsNameIsSwappedAfterTheClaim)
{
    TemporaryFolder folder;
    const std::string output = folder.write("output.txt", "earlier run\n");
    const std::string study = folder.write("study.rfx", "study");
    FileClaims files;
    files.addOutput(output, "the output traffic file");
    FileClaim claim;
    ASSERT_FALSE(files.claim(claim));
    EXPECT_EQ(TemporaryFolder::read(output), "earlier run\n") << "claiming must not empty the file";

    // Between the checks and the writing, someone puts a link to the study at the name.
    fs::rename(output, folder.file("moved.txt"));
    fs::create_symlink(study, output);
    std::string error;
    Stream stream(openOutputStream(output, error));
    ASSERT_TRUE(stream) << error;
    std::fputs("record\n", stream.get());
    stream.reset();
    EXPECT_EQ(TemporaryFolder::read(study), "study");
    EXPECT_EQ(TemporaryFolder::read(folder.file("moved.txt")), "record\n");
}

TEST(OutputStreams, AnUnclaimedOutputIsHeldToTheSameRule)
{
    TemporaryFolder folder;
    std::string error;
    EXPECT_FALSE(Stream(openOutputStream("/dev/null", error)));
    EXPECT_EQ(error, "not a regular file (a device)");
    Stream written(openOutputStream(folder.write("out.txt", "old content"), error));
    ASSERT_TRUE(written);
    std::fputs("new", written.get());
    written.reset();
    EXPECT_EQ(TemporaryFolder::read(folder.file("out.txt")), "new");
}

TEST(AtomicWrites, AFileAnotherProgramHoldsOrThatCannotBeWrittenInPlaceIsNotReplaced)
{
    TemporaryFolder folder;
    const std::string locked = folder.write("locked.csv", "earlier");
    {
        const ForeignLock otherProgram(locked);
        EXPECT_EQ(writeFileAtomically(locked, "new"), "it is being written by another program");
    }
    EXPECT_EQ(TemporaryFolder::read(locked), "earlier");
    EXPECT_FALSE(writeFileAtomically(locked, "new"));
    EXPECT_EQ(TemporaryFolder::read(locked), "new");

    const std::string frozen = folder.write("frozen.csv", "keep");
    // Immutable stops even root, who may write any read-only file.
    if (std::system(("chattr +i '" + frozen + "' 2>/dev/null").c_str()) == 0)
    {
        EXPECT_TRUE(writeFileAtomically(frozen, "new"));
        EXPECT_EQ(TemporaryFolder::read(frozen), "keep");
        EXPECT_EQ(std::system(("chattr -i '" + frozen + "'").c_str()), 0);
    }
    fs::create_symlink(folder.file("nowhere"), folder.file("dangling"));
    EXPECT_EQ(writeFileAtomically(folder.file("dangling"), "x"), "a symbolic link to a file that does not exist");
    EXPECT_FALSE(fs::exists(folder.file("nowhere")));
}

TEST(AtomicWrites, ACreatedFileNeverReplacesOneThatIsThere)
{
    TemporaryFolder folder;
    EXPECT_FALSE(createFileAtomically(folder.file("new.txt"), "made"));
    EXPECT_EQ(TemporaryFolder::read(folder.file("new.txt")), "made");
    EXPECT_EQ(createFileAtomically(folder.file("new.txt"), "again"), "the file exists already");
    EXPECT_EQ(TemporaryFolder::read(folder.file("new.txt")), "made");
    fs::create_symlink(folder.file("elsewhere"), folder.file("link"));
    EXPECT_TRUE(createFileAtomically(folder.file("link"), "x"));
    EXPECT_FALSE(fs::exists(folder.file("elsewhere")));
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.path))
        ++entries;
    EXPECT_EQ(entries, 2) << "a temporary file was left behind";
}
