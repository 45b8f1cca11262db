#pragma once
// The program's single top-level window: the menus, shortcut keys and toolbar of the command
// table, the status bar with its message pane and indicators, and the client area split into
// views of the one document. It routes each command to the document or to a view.

#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QPrinter>

#include <memory>

class CLiveChartsDock;
class CMillisecondClock;
class CResultsLink;
class CRoadfluxDoc;
class CRoadfluxView;
class CRecentFileList;
class CSplitterWnd;
class CStatusBar;
class QAction;
class QMenu;
class QToolBar;

class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    CMainFrame(CRoadfluxDoc& document, CRecentFileList& recentFiles, const CMillisecondClock& clock);
    ~CMainFrame() override;

    QAction* action(int commandId) const { return actions.value(commandId); }
    QMenu* menu(const QString& title) const;
    QToolBar* getToolBar() const { return toolBar; }
    CStatusBar* getStatusBar() const { return statusBar; }
    CResultsLink& getResults() const { return *results; }
    CSplitterWnd* getSplitter() const { return splitter; }
    CLiveChartsDock* getLiveCharts() const { return liveCharts; }
    // The view that last had the focus.
    CRoadfluxView* activeView() const;
    // The view the run commands go to: the one whose run is in progress, else the active view.
    CRoadfluxView* runTargetView() const;

    // Carries out a command of the table as if chosen from the menu.
    void executeCommand(int commandId);
    // Brings the commands' enabled state and texts up to date.
    void updateCommandUI();
    void updateRecentFileMenu();
    void updateTitle();
    void showAboutBox();

signals:
    void fileNewRequested();
    void fileOpenRequested();
    void recentFileRequested(const QString& path);
    void fileDropped(const QString& path);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createClient();
    void createLiveCharts();
    CRoadfluxView* createView();
    QAction* createAction(int commandId);
    void stopRuns();
    void printView();
    void previewView();
    void printSetup();

    CRoadfluxDoc& document;
    CRecentFileList& recentFiles;
    const CMillisecondClock& clock;
    QMap<int, QAction*> actions;
    QList<QAction*> recentFileActions;
    QAction* recentFilePlaceholder = nullptr;
    QMap<QString, QMenu*> menus;
    QToolBar* toolBar = nullptr;
    CStatusBar* statusBar = nullptr;
    CSplitterWnd* splitter = nullptr;
    CLiveChartsDock* liveCharts = nullptr;
    QPointer<CRoadfluxView> lastActiveView;
    QPrinter printer;
    std::unique_ptr<CResultsLink> results;
};
