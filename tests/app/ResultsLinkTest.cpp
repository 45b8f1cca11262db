// The Results window from the main frame: the View menu opens it on the study's metrics folder,
// and a finished run offers it.

#include "ExampleStudyCopy.h"
#include "FakeStudy.h"
#include "RecordingDialogs.h"
#include "app/CCommandTable.h"
#include "app/CMainFrame.h"
#include "app/CRecentFileList.h"
#include "app/CResultsLink.h"
#include "app/CRoadfluxDoc.h"
#include "resultswindow/ChartPanel.h"
#include "resultswindow/ResultsWindow.h"

#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
class ResultsLink : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(copyExampleStudy(folder));
        ASSERT_TRUE(document.onOpenDocument(folder.filePath("study.rfx")));
        frame = std::make_unique<CMainFrame>(document, recent, clock);
    }

    std::size_t countQuestion() const
    {
        return std::count(dialogs.questions.begin(), dialogs.questions.end(),
                          CResultsLink::offerQuestion().toStdString());
    }

    RecordingDialogs dialogs;
    QTemporaryDir folder;
    CRoadfluxDoc document;
    CRecentFileList recent;
    ManualClock clock;
    std::unique_ptr<CMainFrame> frame;
};
}

TEST_F(ResultsLink, TheViewMenuOpensTheStudysMetricsFolder)
{
    QFile file(folder.filePath("metrics/Comp_All_Pos_2500.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("No. Cars,No. Small Trucks,No. Large Trucks,No. Cranes,No. Low-Loaders\n1,2,3,4,5\n");
    file.close();

    frame->executeCommand(CCommandTable::viewResults);
    ResultsWindow* window = frame->getResults().window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(QDir(window->folder()), QDir(folder.filePath("metrics")));
    ASSERT_EQ(window->tabs().count(), 1);
    EXPECT_EQ(window->tabs().tabText(0), QStringLiteral("Composition 2500 m dir 1"));

    // Its file choosers are the program's: a chart saved where the user says, with the suffix.
    dialogs.saveFiles.push_back(folder.filePath("chart.svg"));
    window->panels(0).first()->saveSvg();
    EXPECT_TRUE(QFile::exists(folder.filePath("chart.svg")));
    EXPECT_EQ(dialogs.suffixes.last(), QStringLiteral("svg"));
}

TEST_F(ResultsLink, AFinishedRunOffersTheChartsAndAnOpenWindowFollowsTheRun)
{
    dialogs.answerYes = false;
    frame->executeCommand(CCommandTable::runInvisible);
    EXPECT_EQ(countQuestion(), 0u);  // the invisible-run question was answered No: no run

    dialogs.answerYes = true;
    frame->executeCommand(CCommandTable::runInvisible);
    ASSERT_FALSE(dialogs.notices.empty());
    EXPECT_EQ(dialogs.notices.back().rfind("The simulation has finished.", 0), 0u);
    EXPECT_EQ(countQuestion(), 1u);
    ResultsWindow* window = frame->getResults().window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    // The example study has one detector of each kind: three files and four of lane changes;
    // then the run's space-time diagram.
    EXPECT_EQ(window->tabs().count(), 8);
    EXPECT_EQ(window->tabs().tabText(7), QStringLiteral("Space-time diagram"));

    // With the window open, the next run's files show at once, without a question.
    frame->executeCommand(CCommandTable::runInvisible);
    EXPECT_EQ(countQuestion(), 1u);
    EXPECT_EQ(window->tabs().count(), 8);
}

TEST_F(ResultsLink, AskedToShowAfterRunsItDoesNotAsk)
{
    // roadflux --run --results: the window comes up when the run has ended.
    frame->getResults().showAfterRuns();
    frame->executeCommand(CCommandTable::runInvisible);
    EXPECT_EQ(countQuestion(), 0u);
    ASSERT_NE(frame->getResults().window(), nullptr);
    EXPECT_TRUE(frame->getResults().window()->isVisible());
}
