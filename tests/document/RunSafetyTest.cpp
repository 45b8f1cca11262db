// A run claims its files before it touches any: a refused run leaves every earlier result as it
// was, no output may overwrite an input or another output, two runs never write one file at
// once, and the input is read once beforehand for what would reshape the run without a word.

#include "config/CConfigData.h"
#include "config/CStatDetector.h"
#include "document/RecordingMessages.h"
#include "document/StudyDocument.h"
#include "document/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <vector>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {
// A two-axle TALVOR car at the given time of day, direction and lane.
std::string carRecord(int hour, int minute, int second, int direction, int lane, int year = 0)
{
    char record[96];
    std::snprintf(record, sizeof record, "1001 1 1%2d%2d%2d%2d 0250  15 452%d%d  0  827  7 0", year, hour, minute,
                  second, direction, lane);
    std::string line(record);
    for (int slot = 2; slot < 8; ++slot)
        line += "  0 0";
    return line + "  0\n";
}

bool startsWith(const std::string& text, const std::string& start)
{
    return text.rfind(start, 0) == 0;
}

class RunSafety : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder.write("traffic.txt", carRecord(8, 0, 0, 1, 1) + carRecord(8, 0, 1, 2, 3) + carRecord(8, 0, 2, 1, 2));
        document.setInputFileName("traffic.txt");
        document.setOutputFileName("output.txt");
        // One flow-and-density detector at 1000 m: FD_All_Pos_1000.csv in the study's folder.
        ASSERT_EQ(document.saveFile(folder.file("study.rfx")), StudyFileResult::ok);
    }

    void TearDown() override { document.getSim().reset(); }

    // Earlier results, and a snapshot of the whole folder to compare after a refused run.
    void writeEarlierResults()
    {
        folder.write("output.txt", "last week's output\n");
        folder.write("FD_All_Pos_1000.csv", "last week's flows\n");
    }
    std::map<std::string, std::string> snapshot() const
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(folder.path))
            files[entry.path().filename().string()] =
                entry.is_regular_file() ? TemporaryFolder::read(entry.path().string()) : "(not a file)";
        return files;
    }
    void expectRefused(const std::string& messageStart)
    {
        const auto before = snapshot();
        messages.warnings.clear();
        EXPECT_FALSE(document.setupSimulation(messages));
        ASSERT_FALSE(messages.warnings.empty());
        EXPECT_TRUE(startsWith(messages.warnings.back(), messageStart)) << messages.warnings.back();
        EXPECT_EQ(snapshot(), before) << messageStart;
        EXPECT_EQ(document.getSim().getRoad().getLaneCount(), 0);
    }

    TemporaryFolder folder;
    StudyDocument document;
    RecordingMessages messages;
};

TEST_F(RunSafety, ARefusedRunLeavesEveryEarlierResultAsItWas)
{
    writeEarlierResults();
    folder.write("nothing.txt", "");
    document.setInputFileName("nothing.txt");
    expectRefused("The input traffic file has no vehicle that can drive on this road");
    // Vehicles only in lanes this road does not have.
    folder.write("elsewhere.txt", carRecord(8, 0, 0, 1, 7) + carRecord(8, 0, 1, 1, 8));
    document.setInputFileName("elsewhere.txt");
    expectRefused("The input traffic file has no vehicle that can drive on this road");
    document.setInputFileName("traffic.txt");

    document.setFileFormat(7);
    expectRefused("The study's traffic file format (code 7) is unknown");
    document.setFileFormat(101);

    StudyDocument::StatDetectorList detectors;
    detectors.push_back(std::make_unique<CStatDetector>());
    detectors.push_back(std::make_unique<CStatDetector>());
    document.setStatDetectors(detectors);
    expectRefused("Detectors 1 and 2 would both write FD_All_Pos_1000.csv");
}

TEST_F(RunSafety, NoOutputMayBeAnInputOrAnotherOutput)
{
    writeEarlierResults();
    const std::string config = folder.write(
        "Roadflux.ini", TemporaryFolder::read(std::string(ROADFLUX_SOURCE_DIR) + "/examples/Roadflux.ini"));
    ASSERT_TRUE(theConfigData.readConfigFile(config));

    document.setOutputFileName("study.rfx");
    expectRefused("The output traffic file must not be the study file");
    document.setOutputFileName("./Roadflux.ini");
    expectRefused("The output traffic file must not be the configuration file");
    document.setOutputFileName("FD_All_Pos_1000.csv");
    expectRefused("The measurement file " + folder.file("FD_All_Pos_1000.csv") +
                  " must not be the output traffic file");
    // A hard link is the same file under another name.
    fs::create_hard_link(folder.file("traffic.txt"), folder.file("alias.txt"));
    document.setOutputFileName("alias.txt");
    expectRefused("The output traffic file must not be the input traffic file");

    // A measurement file that would replace the study.
    document.setOutputFileName("output.txt");
    ASSERT_EQ(document.saveFile(folder.file("FD_All_Pos_1000.csv")), StudyFileResult::ok);
    expectRefused("The measurement file " + folder.file("FD_All_Pos_1000.csv") + " must not be the study file");
}

TEST_F(RunSafety, PipesFoldersAndUnwritableFilesAreRefusedBeforeAnythingIsTouched)
{
    writeEarlierResults();
    ASSERT_EQ(::mkfifo(folder.file("pipe.txt").c_str(), 0600), 0);
    document.setOutputFileName("pipe.txt");
    expectRefused("The output traffic file cannot be written (" + folder.file("pipe.txt") +
                  ": a named pipe (FIFO), not a regular file)");
    document.setInputFileName("pipe.txt");
    document.setOutputFileName("output.txt");
    expectRefused("The input traffic file is not a regular file (a named pipe (FIFO))");
    document.setInputFileName("traffic.txt");

    // A stale file that cannot be replaced: a read-only attribute of the kernel refuses writers,
    // root included.
    const char* const readOnly = "/sys/devices/system/cpu/online";
    if (!fs::is_regular_file(readOnly))
        GTEST_SKIP() << readOnly << " is not there";
    fs::remove(folder.file("FD_All_Pos_1000.csv"));
    fs::create_symlink(readOnly, folder.file("FD_All_Pos_1000.csv"));
    expectRefused("The measurement file " + folder.file("FD_All_Pos_1000.csv") + " cannot be written (");
    ASSERT_FALSE(messages.warnings.empty());
    EXPECT_NE(messages.warnings.back().find("it still holds an earlier run's content"), std::string::npos);
}

TEST_F(RunSafety, ASecondRunOfTheSameFilesIsRefusedUntilTheFirstEnds)
{
    ASSERT_TRUE(document.setupSimulation(messages));
    StudyDocument second;
    ASSERT_EQ(second.openFile(folder.file("study.rfx")), StudyFileResult::ok);
    RecordingMessages refused;
    EXPECT_FALSE(second.setupSimulation(refused));
    ASSERT_FALSE(refused.warnings.empty());
    EXPECT_EQ(refused.warnings.back(),
              "The output traffic file is being written by another run (" + folder.file("output.txt") + ")");

    // Another output, the same measurement file: refused too, and the other output not created.
    second.setOutputFileName("other.txt");
    refused.warnings.clear();
    EXPECT_FALSE(second.setupSimulation(refused));
    EXPECT_EQ(refused.warnings.back(), "The measurement file " + folder.file("FD_All_Pos_1000.csv") +
                                           " is being written by another run (" + folder.file("FD_All_Pos_1000.csv") +
                                           ")");
    EXPECT_FALSE(fs::exists(folder.file("other.txt")));

    document.getSim().reset();
    EXPECT_TRUE(second.setupSimulation(refused));
    second.getSim().reset();
}

TEST_F(RunSafety, WhatWouldReshapeTheRunIsToldBeforeItStarts)
{
    std::string traffic = carRecord(8, 0, 0, 1, 1) + carRecord(7, 0, 0, 1, 1) + carRecord(99, 0, 0, 1, 1) +
                          carRecord(8, 0, 5, 1, 9) + carRecord(8, 0, 6, 1, 1, 5) + "1001 1 1\n" + "\n" +
                          carRecord(9, 0, 0, 1, 1) + carRecord(9, 0, 1, 1, 1);
    folder.write("odd.txt", traffic);
    document.setInputFileName("odd.txt");
    ASSERT_TRUE(document.setupSimulation(messages));
    ASSERT_EQ(messages.warnings.size(), 1u);
    const std::string& report = messages.warnings[0];
    for (const std::string& expected : std::vector<std::string>{
             "The input traffic file " + folder.file("odd.txt") + ":\n",
             "  line 2: time stamp year 0, month 1, day 1, 07:00:00.00 is earlier than the one before it",
             "  line 3: time stamp year 0, month 1, day 1, 99:00:00.00 is outside the calendar",
             "  line 4: time stamp year 0, month 1, day 1, 08:00:05.00 is earlier than the one before it",
             "  line 4: direction 1, lane 9: no such lane on this road; the vehicle is skipped",
             "  line 5: time stamp year 5, month 1, day 1, 08:00:06.00 is 5 years after the one before it",
             "  line 6: the record has 8 characters, fewer than the 34 of its fixed fields",
             "  line 7 is empty: the input ends there; the 2 lines (156 bytes) after it are not read",
         })
        EXPECT_NE(report.find(expected), std::string::npos) << expected << "\nin\n" << report;
}

TEST_F(RunSafety, BeyondTenFindingsOnlyCountsByReasonAreTold)
{
    std::string traffic;
    for (int n = 0; n < 25; ++n)
        traffic += carRecord(8, 0, n, 1, 1) + carRecord(8, 0, n, 1, 6);
    folder.write("many.txt", traffic);
    document.setInputFileName("many.txt");
    ASSERT_TRUE(document.setupSimulation(messages));
    ASSERT_EQ(messages.warnings.size(), 1u);
    const std::string& report = messages.warnings[0];
    EXPECT_NE(report.find("  line 20: direction 1, lane 6"), std::string::npos) << report;
    EXPECT_EQ(report.find("  line 22:"), std::string::npos) << report;
    EXPECT_NE(report.find("  in all: 25 vehicles skipped: their lane is not on this road"), std::string::npos)
        << report;
}
}
