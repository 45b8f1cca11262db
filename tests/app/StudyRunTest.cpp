// Runs of the example study through the window's document and the real engine: a visible run
// paced tick by tick shows vehicles in their lanes, and an invisible run reaches the end and
// writes its output traffic file.

#include "ExampleStudyCopy.h"
#include "FakeStudy.h"
#include "RecordingDialogs.h"
#include "app/CMainFrame.h"
#include "app/CProgressBar.h"
#include "app/CRecentFileList.h"
#include "app/CRoadfluxDoc.h"
#include "app/CRoadfluxView.h"
#include "app/CStatusBar.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
class StudyRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(copyExampleStudy(folder));
        ASSERT_TRUE(document.onOpenDocument(folder.filePath("study.rfx")));
        view = std::make_unique<CRoadfluxView>(document, clock);
        view->resize(800, 300);
        view->show();
        view->initialUpdate();
    }

    RecordingDialogs dialogs;
    QTemporaryDir folder;
    CRoadfluxDoc document;
    ManualClock clock;
    std::unique_ptr<CRoadfluxView> view;
};
}

TEST_F(StudyRun, VisibleRunReleasesVehiclesIntoTheRoadsLanes)
{
    view->runVisible();
    ASSERT_TRUE(view->isRunning()) << (dialogs.warnings.empty() ? "" : dialogs.warnings[0]);
    const std::uint32_t start = clock.time;
    for (std::uint32_t t = 1; t <= 600; ++t)
        view->onTick(start + 100 * t + 1);
    const VehicleLists& lists = view->getRunControl().getVehicleLists();
    ASSERT_EQ(lists.size(), 4u);
    std::size_t vehicles = 0;
    for (std::size_t lane = 0; lane < lists.size(); ++lane)
        for (const Vehicle* vehicle : lists[lane])
        {
            EXPECT_EQ(vehicle->getLane(), static_cast<int>(lane) + 1);
            ++vehicles;
        }
    EXPECT_GT(vehicles, 0u);
    EXPECT_GT(view->getRunControl().getLastProgressPercent(), 0);
    view->stop();
    EXPECT_TRUE(view->getRunControl().getVehicleLists().empty());
    EXPECT_TRUE(dialogs.notices.empty());
}

TEST_F(StudyRun, InvisibleRunReachesTheEndAndWritesItsOutput)
{
    view->runInvisible();
    EXPECT_FALSE(view->isRunning());
    ASSERT_FALSE(dialogs.notices.empty());
    const QStringList message = QString::fromStdString(dialogs.notices.back()).split('\n');
    ASSERT_EQ(message.size(), 4) << dialogs.notices.back();
    EXPECT_EQ(message[0], "The simulation has finished.");
    EXPECT_EQ(message[1], "Release order: file");
    EXPECT_TRUE(message[2].startsWith("Release delay (s): mean ")) << message[2].toStdString();
    EXPECT_TRUE(message[3].startsWith("Minimum gap (m): ")) << message[3].toStdString();
    EXPECT_GT(QFileInfo(folder.filePath("output.txt")).size(), 0);
    EXPECT_FALSE(QDir(folder.filePath("metrics")).isEmpty());
    // A second run of the same document starts afresh.
    view->runInvisible();
    EXPECT_EQ(dialogs.notices.size(), 2u);
}

TEST_F(StudyRun, MissingTrafficFileRefusesTheRun)
{
    QFile::remove(folder.filePath("traffic.txt"));
    view->runVisible();
    EXPECT_FALSE(view->isRunning());
    ASSERT_FALSE(dialogs.warnings.empty());
    EXPECT_EQ(dialogs.warnings[0],
              "The input traffic file does not exist: " + folder.filePath("traffic.txt").toStdString());
}

TEST_F(StudyRun, InvisibleRunFromTheMenuEndsWithReadyInTheMessagePane)
{
    view.reset();
    CRecentFileList recent;
    CMainFrame frame(document, recent, clock);
    frame.show();
    frame.executeCommand(32787);
    ASSERT_FALSE(dialogs.notices.empty());
    EXPECT_EQ(dialogs.notices.back().rfind("The simulation has finished.\n", 0), 0u) << dialogs.notices.back();
    EXPECT_EQ(frame.getStatusBar()->paneText(0), "Ready");
    EXPECT_EQ(frame.activeView()->getProgressBar(), nullptr);
    EXPECT_FALSE(frame.action(32794)->isEnabled());
}

TEST_F(StudyRun, ClosingTheWindowDuringAVisibleRunEndsTheRunWhole)
{
    view.reset();
    {
        CRecentFileList recent;
        CMainFrame frame(document, recent, clock);
        frame.show();
        frame.executeCommand(32786);
        ASSERT_TRUE(frame.activeView()->isRunning());
        ASSERT_NE(frame.activeView()->getProgressBar(), nullptr);
        EXPECT_TRUE(frame.action(32794)->isEnabled());
        frame.executeCommand(32777);
        EXPECT_EQ(frame.action(32777)->text(), "&Resume");
    }
    EXPECT_EQ(CRoadfluxView::viewRunning(), nullptr);
    EXPECT_TRUE(dialogs.notices.empty());
}

TEST_F(StudyRun, TheStatusBarShowsTheWarpAVisibleRunAchieves)
{
    view.reset();
    CRecentFileList recent;
    CMainFrame frame(document, recent, clock);
    frame.show();
    frame.executeCommand(32786);
    CStatusBar* statusBar = frame.getStatusBar();
    EXPECT_EQ(statusBar->achievedWarpText(), "");  // not measured yet
    const std::uint32_t start = clock.time;
    for (std::uint32_t t = 1; t <= 1500; ++t)
        frame.activeView()->onTick(start + t);
    EXPECT_EQ(statusBar->achievedWarpText(), "Time warp 1.0 of 1.0");
    // The progress bar makes room for the pane.
    QCoreApplication::processEvents();
    const QLabel* pane = statusBar->findChild<QLabel*>("achievedWarp");
    EXPECT_LT(frame.activeView()->getProgressBar()->geometry().right(), pane->geometry().left());
    // Paused, the run says so where its warp stood; resumed, a new warp is measured first.
    frame.executeCommand(32777);
    EXPECT_EQ(statusBar->achievedWarpText(), "Paused");
    frame.executeCommand(32777);
    EXPECT_EQ(statusBar->achievedWarpText(), "");
    for (std::uint32_t t = 1501; t <= 3000; ++t)
        frame.activeView()->onTick(start + t);
    EXPECT_EQ(statusBar->achievedWarpText(), "Time warp 1.0 of 1.0");
    frame.executeCommand(32794);
    EXPECT_EQ(statusBar->achievedWarpText(), "");
}
