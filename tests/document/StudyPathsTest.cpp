// Where the names stored in a study lead, for saved and unsaved studies.

#include "document/StudyPaths.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

TEST(StudyPaths, RelativeNamesAreTakenFromTheStudysFolder)
{
    const StudyPaths paths("/data/studies/a.rfx");
    EXPECT_EQ(paths.getBaseFolder(), "/data/studies/");
    EXPECT_EQ(paths.resolveFile("traffic.txt"), "/data/studies/traffic.txt");
    EXPECT_EQ(paths.resolveFile("../in/traffic.txt"), "/data/studies/../in/traffic.txt");
    EXPECT_EQ(paths.resolveFile("/abs/traffic.txt"), "/abs/traffic.txt");
    EXPECT_EQ(paths.resolveFile(""), "");
    EXPECT_EQ(paths.resolveFolder("metrics"), "/data/studies/metrics/");
    EXPECT_EQ(paths.resolveFolder("metrics/"), "/data/studies/metrics/");
    EXPECT_EQ(paths.resolveFolder(""), "/data/studies/");
}

TEST(StudyPaths, AStudyNeverSavedResolvesAgainstTheCurrentDirectory)
{
    const StudyPaths unsaved("");
    EXPECT_EQ(unsaved.resolveFile("traffic.txt"), "traffic.txt");
    EXPECT_EQ(unsaved.resolveFolder(""), "");
    EXPECT_EQ(unsaved.resolveFolder("m"), "m/");
    // A study file named without a folder lies in the current directory.
    EXPECT_EQ(StudyPaths("a.rfx").resolveFile("traffic.txt"), "traffic.txt");
}

TEST(StudyPaths, BackslashesOfStudiesWrittenOnWindowsSeparateFolders)
{
    const StudyPaths paths("/data/a.rfx");
    EXPECT_EQ(paths.resolveFile("in\\traffic.txt"), "/data/in/traffic.txt");
    EXPECT_EQ(paths.resolveFolder("metrics\\"), "/data/metrics/");
}

TEST(StudyPaths, NamesGivenFromTheCurrentDirectoryAreStoredRelativeToTheStudy)
{
    const fs::path cwd = fs::current_path();
    const StudyPaths inSubfolder((cwd / "examples" / "study.rfx").string());
    EXPECT_EQ(inSubfolder.nameToStore("examples/traffic.txt"), "traffic.txt");
    EXPECT_EQ(inSubfolder.nameToStore("data/traffic.txt"), "../data/traffic.txt");
    EXPECT_EQ(inSubfolder.nameToStore("examples/metrics/"), "metrics/");
    EXPECT_EQ(inSubfolder.nameToStore("/abs/traffic.txt"), "/abs/traffic.txt");
    EXPECT_EQ(inSubfolder.nameToStore(""), "");

    const StudyPaths here("study.rfx");
    EXPECT_EQ(here.nameToStore("traffic.txt"), "traffic.txt");
    EXPECT_EQ(here.nameToStore("./sub/../traffic.txt"), "traffic.txt");

    // Stored and resolved again, the name leads back to the file the user meant.
    const StudyPaths relativeStudy("examples/study.rfx");
    const std::string stored = relativeStudy.nameToStore("traffic.txt");
    EXPECT_EQ(stored, "../traffic.txt");
    EXPECT_EQ(fs::path(relativeStudy.resolveFile(stored)).lexically_normal(), fs::path("traffic.txt"));
}

TEST(StudyPaths, ANameRelocatedToAnotherFolderLeadsToTheSameFile)
{
    const StudyPaths from("/data/studies/a.rfx");
    EXPECT_EQ(from.relocate("traffic.txt", StudyPaths("/data/other/b.rfx")), "../studies/traffic.txt");
    EXPECT_EQ(from.relocate("in/traffic.txt", StudyPaths("/data/studies/sub/b.rfx")), "../in/traffic.txt");
    EXPECT_EQ(from.relocate("../traffic.txt", StudyPaths("/data/b.rfx")), "traffic.txt");
    EXPECT_EQ(from.relocate("metrics/", StudyPaths("/data/b.rfx")), "studies/metrics/");
    EXPECT_EQ(from.relocate("metrics\\", StudyPaths("/data/b.rfx")), "studies/metrics/");
    // Kept as they are: absolute names, no name, and a study saved in its own folder.
    EXPECT_EQ(from.relocate("/abs/traffic.txt", StudyPaths("/data/other/b.rfx")), "/abs/traffic.txt");
    EXPECT_EQ(from.relocate("", StudyPaths("/data/other/b.rfx")), "");
    EXPECT_EQ(from.relocate("./traffic.txt", StudyPaths("/data/studies/b.rfx")), "./traffic.txt");
    // A study file named without a folder lies in the current directory.
    const fs::path cwd = fs::current_path();
    EXPECT_EQ(StudyPaths("a.rfx").relocate("t.txt", StudyPaths((cwd / "sub" / "b.rfx").string())), "../t.txt");
    EXPECT_EQ(StudyPaths::fullPath("sub/../t.txt"), (cwd / "t.txt").generic_string());
}
