#include "detectors/MeasurementFile.h"

#include "TempFolder.h"

#include "files/FullDisk.h"

#include <gtest/gtest.h>

#include <limits>

TEST(MeasurementFilePath, JoinsTheFolderWithOrWithoutATrailingSeparator)
{
    EXPECT_EQ(MeasurementFile::pathInFolder("/data/metrics/", "FD.csv"), "/data/metrics/FD.csv");
    EXPECT_EQ(MeasurementFile::pathInFolder("/data/metrics", "FD.csv"), "/data/metrics/FD.csv");
    EXPECT_EQ(MeasurementFile::pathInFolder("/data/metrics\\", "FD.csv"), "/data/metrics/FD.csv");
    EXPECT_EQ(MeasurementFile::pathInFolder("/data/metrics//", "FD.csv"), "/data/metrics/FD.csv");
    EXPECT_EQ(MeasurementFile::pathInFolder("/", "FD.csv"), "/FD.csv");
    EXPECT_EQ(MeasurementFile::pathInFolder("", "FD.csv"), "FD.csv");
    // A Windows folder names no folder here; it must not glue the backslash onto the file name.
    EXPECT_EQ(MeasurementFile::pathInFolder("C:\\Roadflux\\Metrics\\", "FD.csv"), "C:\\Roadflux\\Metrics/FD.csv");
}

TEST(MeasurementFileFormat, WritesIntegersAndSixSignificantDigits)
{
    TempFolder folder;
    {
        MeasurementFile file;
        file.open(folder.file("numbers.csv").string());
        ASSERT_TRUE(file.isOpen());
        file.integer(-3).text(",").integer(120).text(",").real(86.4).text(",").real(120.0 / 86.4).endLine();
        file.real(0.1 + 0.2).text(",").real(1.0e6).text(",").real(1234567.0).text(",").real(0.0001234567).endLine();
        file.real(-2.5).text(",").real(0.0).text(",").real(1.0e-5).endLine();
    }
    EXPECT_EQ(folder.read("numbers.csv"), "-3,120,86.4,1.38889\n"
                                          "0.3,1e+06,1.23457e+06,0.000123457\n"
                                          "-2.5,0,1e-05\n");
}

TEST(MeasurementFileFormat, ClockTimesKeepTheirHundredths)
{
    TempFolder folder;
    {
        MeasurementFile file;
        file.open(folder.file("times.csv").string());
        file.seconds(12.3).text(",").seconds(60.0).text(",").seconds(9999.99).text(",").seconds(12345.678).endLine();
        // A time stamp in year 5 of the traffic files' calendar, and a run of 11.6 days.
        file.seconds(108000012.3).text(",").seconds(1000020.0).text(",").real(1000020.0).endLine();
    }
    EXPECT_EQ(folder.read("times.csv"), "12.3,60,9999.99,12345.68\n"
                                        "108000012.3,1000020,1.00002e+06\n");
}

TEST(MeasurementFileFormat, NumbersThatAreNotFiniteAreEmptyCells)
{
    TempFolder folder;
    {
        MeasurementFile file;
        file.open(folder.file("nan.csv").string());
        double nan = std::numeric_limits<double>::quiet_NaN();
        double inf = std::numeric_limits<double>::infinity();
        file.integer(1).text(",").real(nan).text(",").real(-nan).text(",").real(inf).text(",").real(-inf).endLine();
    }
    EXPECT_EQ(folder.read("nan.csv"), "1,,,,\n");
}

TEST(MeasurementFileLifetime, DestructionLeavesWholeLinesOnly)
{
    TempFolder folder;
    {
        MeasurementFile file;
        file.open(folder.file("lines.csv").string());
        file.text("a,b").endLine();
        file.text("half a li");
    }
    EXPECT_EQ(folder.read("lines.csv"), "a,b\n");
}

TEST(MeasurementFileLifetime, AMissingFolderLeavesTheFileUnwritten)
{
    TempFolder folder;
    MeasurementFile file;
    file.open(folder.file("absent/lines.csv").string());
    EXPECT_FALSE(file.isOpen());
    file.text("a").real(1.5).integer(2).endLine();
    file.flush();
    file.close();
    EXPECT_FALSE(folder.exists("absent"));
    // ... and counts as lost, for the run to report.
    EXPECT_TRUE(file.hasLostLines());
    EXPECT_EQ(file.getPath(), folder.file("absent/lines.csv").string());
}

TEST(MeasurementFileLifetime, ASecondWriterOfTheSamePathIsRefused)
{
    TempFolder folder;
    std::string path = folder.file("shared.csv").string();
    MeasurementFile first;
    first.open(path);
    first.text("first").endLine();
    {
        MeasurementFile second;
        second.open(folder.withSlash() + "./shared.csv");
        EXPECT_FALSE(second.isOpen());
        EXPECT_TRUE(second.hasLostLines());
        second.text("second").endLine();
    }
    first.close();
    EXPECT_EQ(folder.read("shared.csv"), "first\n");

    EXPECT_FALSE(first.hasLostLines());

    MeasurementFile again;
    again.open(path);
    EXPECT_TRUE(again.isOpen());
}

TEST(MeasurementFileLifetime, AFullDiskIsALossNotASuccess)
{
    TempFolder folder;
    MeasurementFile file;
    file.open(folder.file("full.csv").string());
    ASSERT_TRUE(file.isOpen());
    file.text("a,b").endLine();
    EXPECT_FALSE(file.hasLostLines());
    const FullDisk full(0);
    file.flush();
    EXPECT_TRUE(file.hasLostLines());
    file.close();
    EXPECT_TRUE(file.hasLostLines());
}
