// The options file beside a study: read past a byte-order mark, comments and spacing; every bad
// line refused with the file, the line and what is allowed; written whole and never over the
// study.

#include "document/StudyOptions.h"
#include "document/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
bool anyNames(const std::vector<std::string>& problems, const std::string& part)
{
    for (const std::string& problem : problems)
        if (problem.find(part) != std::string::npos)
            return true;
    return false;
}
}

TEST(StudyOptionsFile, ReadsTheReleaseOrderPastAMarkCommentsAndSpacing)
{
    EXPECT_EQ(StudyOptionsFile::besideStudy("/data/a.b/study.rfx"), "/data/a.b/study.options");
    TemporaryFolder folder;
    const std::string path =
        folder.write("s.options", "\xEF\xBB\xBF# written by hand\r\n\r\n  release-order=per-lane  \r\n");
    const StudyOptionsFileResult read = StudyOptionsFile::read(path);
    EXPECT_TRUE(read.ok()) << read.problems.front();
    EXPECT_EQ(read.options.releaseOrder, ReleaseOrder::perLane);

    // What the program writes, it reads back.
    for (const ReleaseOrder order : {ReleaseOrder::file, ReleaseOrder::perLane})
    {
        StudyOptions options;
        options.releaseOrder = order;
        ASSERT_EQ(StudyOptionsFile::write(path, options), std::nullopt);
        EXPECT_EQ(StudyOptionsFile::read(path).options.releaseOrder, order);
        EXPECT_TRUE(StudyOptionsFile::read(path).ok());
    }
}

TEST(StudyOptionsFile, RefusesEachBadLineByFileLineAndAllowedValues)
{
    TemporaryFolder folder;
    const std::string path = folder.write("s.options", "speed = 3\n"
                                                       "per-lane\n"
                                                       "release-order = fast\n"
                                                       "release-order = per-lane\n");
    const StudyOptionsFileResult read = StudyOptionsFile::read(path);
    ASSERT_EQ(read.problems.size(), 4u);
    EXPECT_TRUE(anyNames({read.problems[0]}, path + ": line 1: \"speed\""));
    EXPECT_TRUE(anyNames({read.problems[0]}, "release-order = file or per-lane"));
    EXPECT_TRUE(anyNames({read.problems[1]}, path + ": line 2: not a line of the form key = value"));
    EXPECT_EQ(read.problems[2],
              path + ": line 3: release-order: \"fast\" is not a release order; it is file or per-lane");
    EXPECT_EQ(read.problems[3], path + ": line 4: release-order is given again (first on line 3)");
    EXPECT_EQ(read.options.releaseOrder, ReleaseOrder::file);
}

TEST(StudyOptionsFile, AnUnreadableFileIsAProblemNamingIt)
{
    TemporaryFolder folder;
    std::filesystem::create_directory(folder.file("s.options"));
    const StudyOptionsFileResult read = StudyOptionsFile::read(folder.file("s.options"));
    ASSERT_EQ(read.problems.size(), 1u);
    EXPECT_TRUE(anyNames(read.problems, folder.file("s.options") + ": the options file cannot be read"));

    const std::string utf16 = folder.write("u.options", std::string("\xFF\xFEr\0", 4));
    EXPECT_FALSE(StudyOptionsFile::read(utf16).ok());
}

TEST(StudyOptionsFile, NeverWritesOverAFileItMustNotBe)
{
    TemporaryFolder folder;
    const std::string study = folder.write("study.rfx", "study");
    FileClaims mustNotBe;
    mustNotBe.addInput(study, "the study file");
    StudyOptions options;
    options.releaseOrder = ReleaseOrder::perLane;
    const std::optional<std::string> refused = StudyOptionsFile::write(study, options, mustNotBe);
    ASSERT_TRUE(refused.has_value());
    EXPECT_NE(refused->find("the study file"), std::string::npos) << *refused;
    EXPECT_EQ(TemporaryFolder::read(study), "study");
}
