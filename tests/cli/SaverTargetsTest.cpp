// The savers the desktop program calls (the study's Save and the Bridges dialog's), against the
// hostile targets of tests/reliability/file_matrix.sh: each refuses and leaves every file as it
// was, or writes through a link and keeps it.
// Rows: src/document/StudyDocument.cpp (the study save), src/loadeffects/BridgesFile.cpp
// (the bridges save), src/document/StudyOptions.cpp (the study's options save).

#include "document/StudyDocument.h"
#include "document/StudyOptions.h"
#include "document/TemporaryFolder.h"
#include "files/ForeignLock.h"
#include "files/SandboxSnapshot.h"
#include "loadeffects/BridgesFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Saver
{
    std::string name;
    // Saves to the target in the sandbox; true when the saver says it saved.
    std::function<bool(const TemporaryFolder&, const std::string& target)> save;
};

const std::vector<Saver>& savers()
{
    static const std::vector<Saver> all{
        {"study save",
         [](const TemporaryFolder& folder, const std::string& target) {
             StudyDocument study;
             study.setInputFileName(folder.file("traffic.txt"));
             study.setOutputFileName(folder.file("output.txt"));
             return study.saveFile(target) == StudyFileResult::ok;
         }},
        {"bridges save",
         [](const TemporaryFolder& folder, const std::string& target) {
             BridgeSet set;
             set.bridges.push_back(Bridge{});
             set.bridges.back().name = "Deck";
             FileClaims mustNotBe;
             mustNotBe.addInput(folder.file("study.rfx"), "the study file");
             return BridgesFile::write(target, set, mustNotBe);
         }},
        {"options save",
         [](const TemporaryFolder& folder, const std::string& target) {
             StudyOptions options;
             options.releaseOrder = ReleaseOrder::perLane;
             FileClaims mustNotBe;
             mustNotBe.addInput(folder.file("study.rfx"), "the study file");
             mustNotBe.addInput(folder.file("traffic.txt"), "the input traffic file");
             return !StudyOptionsFile::write(target, options, mustNotBe);
         }},
    };
    return all;
}

// Puts a hostile target at `target`; false when this machine cannot make it.
bool makeTarget(const TemporaryFolder& folder, const std::string& kind, const std::string& target)
{
    if (kind == "fifo")
        return ::mkfifo(target.c_str(), 0600) == 0;
    if (kind == "device")
        return ::mknod(target.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    if (kind == "folder")
        return fs::create_directory(target);
    if (kind == "unwritable")
        return !folder.write("target", "keep").empty() &&
               std::system(("chattr +i '" + target + "' 2>/dev/null").c_str()) == 0;
    if (kind == "dangling")
        fs::create_symlink(folder.file("nowhere"), target);
    else if (kind == "link to the input")
        fs::create_symlink(folder.file("traffic.txt"), target);
    else if (kind == "link to the study")
        fs::create_symlink(folder.file("study.rfx"), target);
    else if (kind == "link to a fifo")
        return ::mkfifo(folder.file("fifo").c_str(), 0600) == 0 &&
               (fs::create_symlink(folder.file("fifo"), target), true);
    return true;
}
}

TEST(SaverTargets, EachSaverRefusesEveryHostileTargetAndTouchesNothing)
{
    const std::vector<std::string> kinds{"fifo",     "device",         "folder", "unwritable",
                                         "dangling", "link to a fifo", "locked"};
    for (const Saver& saver : savers())
        for (const std::string& kind : kinds)
        {
            TemporaryFolder folder;
            folder.write("traffic.txt", "traffic");
            folder.write("study.rfx", "study");
            const std::string target = folder.file("target");
            std::unique_ptr<ForeignLock> otherProgram;
            if (kind == "locked")
                otherProgram = std::make_unique<ForeignLock>(folder.write("target", "keep"));
            else if (!makeTarget(folder, kind, target))
                continue;
            const auto before = sandboxSnapshot(folder.path);
            EXPECT_FALSE(saver.save(folder, target)) << saver.name << " x " << kind;
            EXPECT_EQ(sandboxSnapshot(folder.path), before) << saver.name << " x " << kind;
            std::system(("chattr -i '" + target + "' 2>/dev/null").c_str());
        }
}

TEST(SaverTargets, NoSaverWritesThroughALinkIntoAFileItsRunReads)
{
    const std::vector<std::pair<std::string, std::string>> refusals{{"study save", "link to the input"},
                                                                    {"bridges save", "link to the study"},
                                                                    {"options save", "link to the study"},
                                                                    {"options save", "link to the input"}};
    for (const Saver& saver : savers())
        for (const auto& [who, kind] : refusals)
        {
            if (who != saver.name)
                continue;
            TemporaryFolder folder;
            folder.write("traffic.txt", "traffic");
            folder.write("study.rfx", "study");
            ASSERT_TRUE(makeTarget(folder, kind, folder.file("target")));
            const auto before = sandboxSnapshot(folder.path);
            EXPECT_FALSE(saver.save(folder, folder.file("target"))) << saver.name << " x " << kind;
            EXPECT_EQ(sandboxSnapshot(folder.path), before) << saver.name << " x " << kind;
        }
}

TEST(SaverTargets, ThroughALinkToAnOrdinaryFileTheFileIsWrittenAndTheLinkKept)
{
    for (const Saver& saver : savers())
    {
        TemporaryFolder folder;
        folder.write("traffic.txt", "traffic");
        folder.write("study.rfx", "study");
        fs::create_directory(folder.file("shared"));
        const std::string shared = folder.write("shared/file", "old");
        fs::create_symlink(shared, folder.file("target"));
        EXPECT_TRUE(saver.save(folder, folder.file("target"))) << saver.name;
        EXPECT_TRUE(fs::is_symlink(folder.file("target"))) << saver.name;
        EXPECT_NE(TemporaryFolder::read(shared), "old") << saver.name;
        EXPECT_EQ(TemporaryFolder::read(folder.file("traffic.txt")), "traffic");
    }
}
