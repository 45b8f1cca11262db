// The desktop program's runs record a space-time diagram at the interval the user set, and the
// Results window shows the last run's.

#include "FakeStudy.h"
#include "RecordingDialogs.h"
#include "app/CResultsLink.h"
#include "app/CRoadfluxDoc.h"
#include "app/CRoadfluxView.h"
#include "app/CRunControl.h"
#include "recorders/SpaceTimeDiagram.h"
#include "resultswindow/ResultsWindow.h"

#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <cmath>

#include <gtest/gtest.h>

namespace {
const QString examples = QStringLiteral(ROADFLUX_SOURCE_DIR "/examples");

// The example study with only the first vehicles of its traffic file: a run of a few minutes.
class SpaceTimeRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFile::copy(examples + "/study.rfx", folder.filePath("study.rfx")));
        QFile full(examples + "/traffic.txt");
        QFile small(folder.filePath("traffic.txt"));
        ASSERT_TRUE(full.open(QIODevice::ReadOnly) && small.open(QIODevice::WriteOnly));
        for (int line = 0; line < 60 && !full.atEnd(); ++line)
            small.write(full.readLine());
        small.close();
        QDir(folder.path()).mkdir("metrics");
        ASSERT_TRUE(document.onOpenDocument(folder.filePath("study.rfx")));
        view = std::make_unique<CRoadfluxView>(document, clock);
        view->resize(800, 300);
        view->show();
        view->initialUpdate();
    }

    std::shared_ptr<const SpaceTimeDiagram> diagram() const { return document.spaceTimeRecording().getDiagram(); }

    // Cells of the diagram's used columns that some vehicle passed through.
    static int filledCells(const SpaceTimeDiagram& recorded, const std::vector<int>& lanes)
    {
        const std::vector<float> speeds = recorded.speedImage(lanes);
        int filled = 0;
        for (int row = 0; row < recorded.getRows(); ++row)
            for (int column = 0; column < recorded.getUsedColumns(); ++column)
                filled += std::isfinite(speeds[static_cast<std::size_t>(row * recorded.getColumns() + column)]);
        return filled;
    }

    RecordingDialogs dialogs;
    QTemporaryDir folder;
    CRoadfluxDoc document;
    ManualClock clock;
    std::unique_ptr<CRoadfluxView> view;
};
}

TEST_F(SpaceTimeRun, AnInvisibleRunLeavesADiagramThatTheResultsWindowShows)
{
    EXPECT_EQ(diagram(), nullptr);
    view->getRunControl().setSpaceTimeInterval(2.0);
    view->runInvisible();
    ASSERT_EQ(dialogs.notices.size(), 1u);
    const std::shared_ptr<const SpaceTimeDiagram> recorded = diagram();
    ASSERT_NE(recorded, nullptr);
    EXPECT_EQ(recorded->getLaneCount(), 4);
    EXPECT_DOUBLE_EQ(recorded->getRoadLength(), document.study().getRoadLength());
    // Sampled every 2 s of a run short enough that no columns were merged.
    EXPECT_DOUBLE_EQ(recorded->getSecondsPerColumn(), 2.0);
    EXPECT_GT(recorded->getUsedColumns(), 10);
    EXPECT_NEAR(recorded->getEndTime() - recorded->getStartTime(), 2.0 * recorded->getUsedColumns(), 2.0);
    EXPECT_GT(recorded->getMaximumSpeed(), 10.0f);
    EXPECT_GT(filledCells(*recorded, {1, 2}), 100);
    EXPECT_GT(filledCells(*recorded, {3, 4}), 100);

    QWidget owner;
    CResultsLink results(document, owner);
    results.offerAfterRun();
    ResultsWindow* window = results.window();
    ASSERT_NE(window, nullptr);
    QTabWidget& tabs = window->tabs();
    ASSERT_GT(tabs.count(), 0);
    EXPECT_EQ(tabs.tabText(tabs.count() - 1), QStringLiteral("Space-time diagram"));

    // Showing the window again keeps the page (and its lane choice); the next run replaces it.
    QWidget* page = tabs.widget(tabs.count() - 1);
    results.show();
    EXPECT_EQ(tabs.widget(tabs.count() - 1), page);
    view->runInvisible();
    EXPECT_NE(diagram(), recorded);
    results.offerAfterRun();
    EXPECT_EQ(tabs.count(), 8);  // seven measurement files and one space-time page
    EXPECT_NE(tabs.widget(tabs.count() - 1), page);
}

TEST_F(SpaceTimeRun, AStoppedVisibleRunKeepsWhatItRecorded)
{
    view->runVisible();
    ASSERT_TRUE(view->isRunning());
    const std::uint32_t start = clock.time;
    for (std::uint32_t t = 1; t <= 300; ++t)
        view->onTick(start + 100 * t + 1);
    EXPECT_EQ(diagram(), nullptr);  // not while the run goes on
    view->stop();
    ASSERT_NE(diagram(), nullptr);
    EXPECT_DOUBLE_EQ(diagram()->getSecondsPerColumn(), 1.0);
    EXPECT_GT(filledCells(*diagram(), {1, 2, 3, 4}), 0);

    // Another study has no run yet.
    ASSERT_TRUE(document.onOpenDocument(folder.filePath("study.rfx")));
    EXPECT_EQ(diagram(), nullptr);
}

TEST(SpaceTimeRunControl, EveryRunIsToldTheIntervalBeforeItsSetUp)
{
    RecordingDialogs dialogs;
    ManualClock clock;
    FakeStudy study;
    CRoadfluxView view(study, clock);
    view.initialUpdate();
    EXPECT_DOUBLE_EQ(view.getRunControl().getSpaceTimeInterval(), 1.0);
    view.getRunControl().setSpaceTimeInterval(0.5);
    study.sim.stepsUntilEnd = 3;
    view.runInvisible();
    EXPECT_EQ(study.sim.setups, 1);
    EXPECT_DOUBLE_EQ(study.sim.intervalAtSetup, 0.5);
}
