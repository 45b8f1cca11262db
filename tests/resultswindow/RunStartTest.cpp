// The Results window finds when the run it shows started, says so, and places the files that count
// time from the start at the time of day.

#include "charts/ChartsTestSupport.h"

#include "measurements/RunStart.h"
#include "resultswindow/ChartPanel.h"
#include "resultswindow/ResultsWindow.h"

#include <QCategoryAxis>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList timeLabelsOfFirstTab(const ResultsWindow& window, const QString& chartName)
{
    for (ChartPanel* panel : window.panels(0))
        if (panel->name() == chartName)
            if (auto* time = qobject_cast<QCategoryAxis*>(panel->chart().axes(Qt::Horizontal).first()))
                return time->categoriesLabels();
    return {};
}

SpaceTimeSource recordedFrom(double start)
{
    SpaceTimeSource source;
    source.lanes = {{1, 1}, {2, 1}, {3, 2}, {4, 2}};
    source.runStart = start;
    source.picture = [](const std::vector<int>&) { return SpaceTimePicture{}; };
    return source;
}

}  // namespace

TEST(RunStart, TheWindowReadsItFromTheRunsSummaryAndShowsIt)
{
    QTemporaryDir run;
    const std::filesystem::path folder = run.path().toStdString();
    std::filesystem::create_directory(folder / "metrics");
    writeTextFile(folder / "summary.txt",
                  "Simulated start:     25200.00 s (year 0, month 1, day 1, 07:00:00.00)\nSteps: 10\n");
    writeTextFile(folder / "metrics" / "FD_All_Pos_1500.csv", threeIntervalFlows);
    ResultsWindow window;
    window.showFolder(QString::fromStdString((folder / "metrics").string()));
    EXPECT_EQ(window.run().context.start, 25200.0);
    EXPECT_TRUE(window.header().contains(QStringLiteral("run started at 07:00:00 on day 1")))
        << window.header().toStdString();
    const QStringList labels = timeLabelsOfFirstTab(window, QStringLiteral("flow-time"));
    ASSERT_FALSE(labels.isEmpty());
    EXPECT_EQ(labels.first(), QStringLiteral("07:00"));
}

TEST(RunStart, WithoutASummaryTheRunJustMadeGivesItAndTheLanes)
{
    QTemporaryDir folder;
    writeTextFile(std::filesystem::path(folder.path().toStdString()) / "FD_All_Pos_1500.csv", threeIntervalFlows);
    ResultsWindow window;
    window.showFolder(folder.path());
    EXPECT_FALSE(window.run().context.start);
    EXPECT_TRUE(window.header().contains(QStringLiteral("not known"))) << window.header().toStdString();

    window.showSpaceTime(recordedFrom(25200.0));
    EXPECT_EQ(window.run().context.start, 25200.0);
    EXPECT_EQ(window.run().context.lanes.direction2, 2);
    EXPECT_EQ(timeLabelsOfFirstTab(window, QStringLiteral("flow-time")).value(0), QStringLiteral("07:00"));

    // Another folder is not that run's.
    QTemporaryDir other;
    writeTextFile(std::filesystem::path(other.path().toStdString()) / "FD_All_Pos_1500.csv", threeIntervalFlows);
    window.showFolder(other.path());
    EXPECT_FALSE(window.run().context.start);
}

TEST(RunStart, ASummaryWithoutAReadableStartGivesNone)
{
    EXPECT_EQ(RunStart::ofSummary("Simulated start:     27000.50 s (day 1)\n"), 27000.5);
    EXPECT_FALSE(RunStart::ofSummary("Simulated start: soon\n"));
    EXPECT_FALSE(RunStart::ofSummary("Simulated start:\n"));
    EXPECT_FALSE(RunStart::ofSummary("Steps: 10\n"));
    EXPECT_FALSE(RunStart::ofSummary("Simulated start: -5 s\n"));
}
