#include "document/TemporaryFolder.h"
#include "files/AtomicFileWriter.h"
#include "files/FileKind.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {
bool writeWhole(const std::string& path, const std::string& content)
{
    AtomicFileWriter writer(path);
    if (!writer.isOpen())
        return false;
    writer.out() << content;
    return writer.commit();
}

int entriesIn(const fs::path& folder)
{
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder))
        ++entries;
    return entries;
}

TEST(FileKinds, OnlyRegularFilesAreReadAndOnlyRegularOrMissingOnesReplaced)
{
    TemporaryFolder folder;
    const std::string regular = folder.write("regular.txt", "x");
    const std::string fifo = folder.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink(regular, folder.file("link"));

    EXPECT_FALSE(whyNotReadable(regular));
    EXPECT_FALSE(whyNotReadable(folder.file("link")));
    EXPECT_EQ(whyNotReadable(folder.file("missing")), "it does not exist");
    EXPECT_EQ(whyNotReadable(folder.path.string()), "not a regular file (a folder)");
    EXPECT_EQ(whyNotReadable(fifo), "not a regular file (a named pipe (FIFO))");
    EXPECT_EQ(whyNotReadable("/dev/zero"), "not a regular file (a device)");

    EXPECT_FALSE(whyNotReplaceable(regular));
    EXPECT_FALSE(whyNotReplaceable(folder.file("missing")));
    EXPECT_TRUE(whyNotReplaceable("/dev/null"));
    EXPECT_TRUE(whyNotReplaceable(fifo));
    EXPECT_TRUE(whyNotReplaceable(folder.path.string()));
}

TEST(AtomicWrites, ADeviceAPipeOrAFolderIsNeverReplaced)
{
    TemporaryFolder folder;
    const std::string fifo = folder.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(folder.file("dir"));
    for (const std::string& target : {fifo, folder.file("dir"), std::string("/dev/null")})
    {
        AtomicFileWriter writer(target);
        EXPECT_FALSE(writer.isOpen()) << target;
        EXPECT_NE(writer.getError().find("not a regular file"), std::string::npos) << writer.getError();
        EXPECT_FALSE(writer.commit());
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(entriesIn(folder.path), 2);
}

TEST(AtomicWrites, ThroughASymbolicLinkTheLinkedFileIsReplacedAndTheLinkKept)
{
    TemporaryFolder folder;
    fs::create_directory(folder.file("real"));
    const std::string target = folder.write("real/study.rfx", "old");
    const std::string link = folder.file("study.rfx");
    fs::create_symlink(target, link);

    ASSERT_TRUE(writeWhole(link, "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(TemporaryFolder::read(target), "new");
    EXPECT_EQ(entriesIn(folder.file("real")), 1);
}
}
