// The main window against the command table: every menu item with its shortcut, prompt and tool
// tip in order with the separators, the toolbar, the enabled states of the run commands, the
// progress bar in the message pane, and the split panes.

#include "RecordingDialogs.h"
#include "app/CAboutDlg.h"
#include "app/CLiveChartsDock.h"
#include "app/CMainFrame.h"
#include "app/CProgressBar.h"
#include "app/CRecentFileList.h"
#include "app/CRoadfluxDoc.h"
#include "app/CRoadfluxView.h"
#include "app/CSplitterWnd.h"
#include "app/CStatusBar.h"
#include "app/CSteadyClock.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {
struct Row
{
    const char* menu;
    const char* text;  // "-" for a separator
    const char* shortcut;
    int id;
    const char* prompt;
};

// The command table as the user sees it, menu by menu.
const Row expectedMenus[] = {
    {"&File", "&New", "Ctrl+N", 57600, "Create a new document\nNew"},
    {"&File", "&Open...", "Ctrl+O", 57601, "Open an existing document\nOpen"},
    {"&File", "&Save", "Ctrl+S", 57603, "Save the active document\nSave"},
    {"&File", "Save &As...", "", 57604, "Save the active document with a new name\nSave As"},
    {"&File", "-", "", 0, ""},
    {"&File", "Save Image", "Ctrl+I", 32809, "Save current image to file\nSave Image"},
    {"&File", "-", "", 0, ""},
    {"&File", "&Print...", "Ctrl+P", 57607, "Print the active document\nPrint"},
    {"&File", "Print Pre&view", "", 57609, "Display full pages\nPrint Preview"},
    {"&File", "P&rint Setup...", "", 57606, "Change the printer and printing options\nPrint Setup"},
    {"&File", "-", "", 0, ""},
    {"&File", "Recent File", "", 57616, "Open this document"},
    {"&File", "-", "", 0, ""},
    {"&File", "E&xit", "", 57665, "Quit the application; prompts to save documents\nExit"},
    {"&Configuration", "&Simulation", "Alt+S", 32772, "Configure the simulation parameters\nConfigure Simulation"},
    {"&Configuration", "&Traffic Model", "Alt+T", 32771, "Configure the traffic model\nConfigure Traffic Model"},
    {"&Configuration", "&Road Features", "Alt+R", 32788,
     "Configure the road features (speed limits & gradients)\nConfigure Road Features"},
    {"&Configuration", "Traffic Flow &Metrics", "Alt+M", 32789,
     "Configure the detectors for flow properties\nConfigure Road Metrics"},
    {"&Configuration", "&Bridges", "Alt+B", 32795,
     "Configure the bridges whose load effects the runs compute\nConfigure Bridges"},
    {"R&un", "As &Visible", "F5", 32786, "Run the simulation showing the animation on screen\nRun Visible"},
    {"R&un", "As &Invisible", "Shift+F5", 32787,
     "Run the simulation in the background (program will be unresponsive)\nRun Invisible"},
    {"T&ools", "Zoom &In", "F10", 32778, "Zoom into a region of the road\nZoom In"},
    {"T&ools", "Zoom &Out", "F11", 32779, "Zoom out to view more of the road\nZoom Out"},
    {"T&ools", "-", "", 0, ""},
    {"T&ools", "Speed &Up", "F6", 32780, "Speed up the simulation process\nSpeed Up"},
    {"T&ools", "Slow &Down", "F7", 32781, "Slow down the simulation process\nSlow Down"},
    {"T&ools", "-", "", 0, ""},
    {"T&ools", "&Pause", "F9", 32777, "Pause the simulation\nPause Simulation"},
    {"T&ools", "&Stop", "F12", 32794, "Stop the current simulation\nStop Simulation"},
    {"T&ools", "-", "", 0, ""},
    {"T&ools", "&Preferences", "Alt+P", 32776, "Display preferences dialog box\nPreferences"},
    {"&View", "&Toolbar", "", 59392, "Show or hide the toolbar\nToggle ToolBar"},
    {"&View", "&Status Bar", "", 59393, "Show or hide the status bar\nToggle StatusBar"},
    {"&View", "&Live Charts", "", 32811,
     "Show or hide the flow, density and speed at the detectors while a run goes\nToggle Live Charts"},
    {"&View", "-", "", 0, ""},
    {"&View", "&Results...", "", 32810, "Show the charts of the measurement files\nResults"},
    {"&Help", "&About Roadflux...", "", 57664, "Display program information, version number and copyright\nAbout"},
};

const int expectedToolbar[] = {57600, 57601, 57603, 0, 57607, 0,     32772, 32771, 32788, 32789, 0, 32786, 32777,
                               32794, 0,     32787, 0, 32778, 32779, 32780, 32781, 0,     32776, 0, 57664};

class MainFrame : public ::testing::Test
{
protected:
    MainFrame() : frame(document, recent, CSteadyClock::instance()) { frame.show(); }

    // An empty recent-file list, whatever earlier tests left in the settings.
    struct NoRecentFiles
    {
        NoRecentFiles() { QSettings(CRecentFileList::organisation(), CRecentFileList::application()).clear(); }
    };

    RecordingDialogs dialogs;
    NoRecentFiles noRecentFiles;
    CRoadfluxDoc document;
    CRecentFileList recent;
    CMainFrame frame;
};

// The visible items of a menu, recent-file entries that are hidden left out.
QList<QAction*> visibleItems(QMenu* menu)
{
    QList<QAction*> items;
    for (QAction* item : menu->actions())
        if (item->isVisible())
            items.append(item);
    return items;
}
}

TEST_F(MainFrame, MenusHoldTheCommandTableInOrder)
{
    QStringList titles;
    for (QAction* menu : frame.menuBar()->actions())
        titles.append(menu->text());
    EXPECT_EQ(titles, QStringList({"&File", "&Configuration", "R&un", "T&ools", "&View", "&Help"}));

    QMap<QString, int> position;
    for (const Row& row : expectedMenus)
    {
        SCOPED_TRACE(row.text);
        QMenu* menu = frame.menu(QString::fromLatin1(row.menu));
        ASSERT_NE(menu, nullptr);
        const QList<QAction*> items = visibleItems(menu);
        const int index = position[row.menu]++;
        ASSERT_LT(index, items.size());
        QAction* item = items[index];
        if (row.id == 0)
        {
            EXPECT_TRUE(item->isSeparator());
            continue;
        }
        EXPECT_EQ(item->text(), QString::fromLatin1(row.text));
        if (row.id == 57616)
            continue;  // the empty recent-file list's placeholder
        EXPECT_EQ(item, frame.action(row.id));
        EXPECT_EQ(item->shortcut(), QKeySequence(QString::fromLatin1(row.shortcut)));
        const QString prompt = QString::fromLatin1(row.prompt);
        EXPECT_EQ(item->statusTip(), prompt.section('\n', 0, 0));
        EXPECT_EQ(item->toolTip(), prompt.section('\n', 1));
    }
    for (auto it = position.begin(); it != position.end(); ++it)
        EXPECT_EQ(visibleItems(frame.menu(it.key())).size(), it.value()) << it.key().toStdString();
}

TEST_F(MainFrame, ToolbarButtonsAndSeparatorsInOrder)
{
    const QList<QAction*> buttons = frame.getToolBar()->actions();
    ASSERT_EQ(buttons.size(), static_cast<qsizetype>(std::size(expectedToolbar)));
    for (int i = 0; i < buttons.size(); ++i)
    {
        SCOPED_TRACE(i);
        if (expectedToolbar[i] == 0)
            EXPECT_TRUE(buttons[i]->isSeparator());
        else
        {
            EXPECT_EQ(buttons[i], frame.action(expectedToolbar[i]));
            EXPECT_FALSE(buttons[i]->icon().isNull());
        }
    }
    EXPECT_EQ(frame.getToolBar()->iconSize(), QSize(16, 15));
}

TEST_F(MainFrame, PromptsShowInTheMessagePaneAndReadyReturns)
{
    CStatusBar* bar = frame.getStatusBar();
    EXPECT_EQ(bar->paneText(0), "Ready");
    QStatusTipEvent hover(frame.action(32786)->statusTip());
    QApplication::sendEvent(&frame, &hover);
    EXPECT_EQ(bar->paneText(0), "Run the simulation showing the animation on screen");
    QStatusTipEvent leave(QString{});
    QApplication::sendEvent(&frame, &leave);
    EXPECT_EQ(bar->paneText(0), "Ready");
    EXPECT_EQ(bar->objectName(), "statusBar");
    EXPECT_TRUE(bar->findChild<QLabel*>("CAP"));
    EXPECT_TRUE(bar->findChild<QLabel*>("NUM"));
    EXPECT_TRUE(bar->findChild<QLabel*>("SCRL"));
}

TEST_F(MainFrame, RunCommandsAreEnabledOnlyDuringARunAndPauseReadsResume)
{
    for (int id : {32777, 32794, 32780, 32781})
        EXPECT_FALSE(frame.action(id)->isEnabled()) << id;
    for (int id : {32786, 32787, 32778, 32779, 32776, 57600, 57601})
        EXPECT_TRUE(frame.action(id)->isEnabled()) << id;
    EXPECT_EQ(frame.action(32777)->text(), "&Pause");
}

TEST_F(MainFrame, ShortcutsReachTheActiveView)
{
    CRoadfluxView* view = frame.activeView();
    ASSERT_NE(view, nullptr);
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(&frame, Qt::Key_F10);
    EXPECT_NEAR(view->displaySettings().viewScale, 1.2, 1e-9);
    QTest::keyClick(&frame, Qt::Key_F11);
    EXPECT_NEAR(view->displaySettings().viewScale, 1.0, 1e-9);
}

TEST_F(MainFrame, ViewCommandsHideAndShowTheBars)
{
    frame.executeCommand(59392);
    EXPECT_TRUE(frame.getToolBar()->isHidden());
    EXPECT_FALSE(frame.action(59392)->isChecked());
    frame.executeCommand(59392);
    EXPECT_FALSE(frame.getToolBar()->isHidden());
    frame.executeCommand(59393);
    EXPECT_TRUE(frame.getStatusBar()->isHidden());
    EXPECT_FALSE(frame.action(59393)->isChecked());
    // The live charts start hidden: a run pays for them only when asked.
    EXPECT_TRUE(frame.getLiveCharts()->isHidden());
    frame.executeCommand(32811);
    EXPECT_FALSE(frame.getLiveCharts()->isHidden());
    EXPECT_TRUE(frame.action(32811)->isChecked());
    frame.executeCommand(32811);
    EXPECT_TRUE(frame.getLiveCharts()->isHidden());
    EXPECT_FALSE(frame.action(32811)->isChecked());
}

TEST_F(MainFrame, TitleNamesTheDocument)
{
    EXPECT_EQ(frame.windowTitle(), "Untitled - Roadflux");
}

TEST_F(MainFrame, AboutBoxShowsTheVersion)
{
    CAboutDlg about(&frame);
    EXPECT_EQ(about.windowTitle(), "About Roadflux");
    QLabel* version = about.findChild<QLabel*>("version");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), "Roadflux Version 1.0.6");
}

TEST_F(MainFrame, SplitterMakesUpToTwoByTwoViewsWithTheirOwnSettings)
{
    CSplitterWnd* splitter = frame.getSplitter();
    EXPECT_EQ(splitter->views().size(), 1);
    EXPECT_TRUE(splitter->splitRow());
    EXPECT_TRUE(splitter->splitColumn());
    EXPECT_FALSE(splitter->splitRow());
    EXPECT_FALSE(splitter->splitColumn());
    const QList<CRoadfluxView*> views = splitter->views();
    ASSERT_EQ(views.size(), 4);
    views[1]->zoomIn();
    EXPECT_NEAR(views[0]->displaySettings().viewScale, 1.0, 1e-9);
    EXPECT_NEAR(views[1]->displaySettings().viewScale, 1.2, 1e-9);
    EXPECT_TRUE(splitter->deleteColumn(1));
    EXPECT_TRUE(splitter->deleteRow(0));
    EXPECT_EQ(splitter->views().size(), 1);
    EXPECT_FALSE(splitter->deleteRow(0));
}

TEST_F(MainFrame, ProgressBarStepsOncePerRiseAndGivesBackReady)
{
    CStatusBar* bar = frame.getStatusBar();
    CProgressBar progress;
    ASSERT_TRUE(progress.create(bar, "Percent Complete 0%", 100, 100, false, 0));
    EXPECT_EQ(bar->paneText(0), "Percent Complete 0%");
    EXPECT_EQ(progress.value(), 0);

    // Right of the text and two double spaces, over the pane's height less a tenth at each side.
    const QFontMetrics metrics(bar->font());
    const QRect pane = bar->paneRect(0);
    const int left =
        pane.left() + metrics.horizontalAdvance("Percent Complete 0%") + 4 * metrics.horizontalAdvance(' ');
    const int inset = pane.height() / 10;
    EXPECT_EQ(progress.geometry(),
              QRect(left, pane.top() + inset, pane.left() + pane.width() - left, pane.height() - 2 * inset));

    progress.setText("40% complete");
    progress.stepIt();
    progress.setText("100% complete");
    progress.stepIt();
    EXPECT_EQ(progress.value(), 2);
    EXPECT_EQ(bar->paneText(0), "100% complete");
    progress.setSize(50);
    const QRect half = progress.geometry();
    EXPECT_NEAR(half.width(),
                (pane.left() + pane.width() -
                 (pane.left() + metrics.horizontalAdvance("100% complete") + 4 * metrics.horizontalAdvance(' '))) /
                    2,
                1);
    progress.clear();
    EXPECT_EQ(bar->paneText(0), "Ready");
}

TEST_F(MainFrame, ProgressBarWithoutAStatusBarDoesNothing)
{
    CProgressBar progress;
    EXPECT_FALSE(progress.create(nullptr, "Percent Complete 0%", 100, 100, false, 0));
    progress.stepIt();
    progress.setText("50% complete");
    EXPECT_EQ(progress.value(), -1);
}

TEST_F(MainFrame, SplitBoxesAddPanesAndAPaneDraggedSmallGoes)
{
    CSplitterWnd* splitter = frame.getSplitter();
    CRoadfluxView* first = splitter->pane(0, 0);
    first->findChild<QToolButton*>("splitColumn")->click();
    EXPECT_EQ(splitter->columnCount(), 2);
    first->findChild<QToolButton*>("splitRow")->click();
    EXPECT_EQ(splitter->rowCount(), 2);

    QSplitter* columns = splitter->findChildren<QSplitter*>().value(1);
    ASSERT_NE(columns, nullptr);
    ASSERT_EQ(columns->orientation(), Qt::Horizontal);
    columns->setSizes({columns->width(), 0});
    emit columns->splitterMoved(columns->width(), 1);
    EXPECT_TRUE(QTest::qWaitFor([splitter] { return splitter->columnCount() == 1; }, 1000));
    EXPECT_EQ(splitter->rowCount(), 2);
    EXPECT_EQ(splitter->views().size(), 2);
}
