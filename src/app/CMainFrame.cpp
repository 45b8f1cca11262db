#include "app/CMainFrame.h"

#include "app/CAboutDlg.h"
#include "app/CCommandTable.h"
#include "app/CLiveChartsDock.h"
#include "app/CRecentFileList.h"
#include "app/CResultsLink.h"
#include "app/CRoadfluxDoc.h"
#include "app/CRoadfluxView.h"
#include "app/CSplitterWnd.h"
#include "app/CStatusBar.h"
#include "app/CStudyEditing.h"
#include "app/CToolbarIcons.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

CMainFrame::CMainFrame(CRoadfluxDoc& doc, CRecentFileList& recent, const CMillisecondClock& wallClock)
    : document(doc), recentFiles(recent), clock(wallClock), results(std::make_unique<CResultsLink>(doc, *this))
{
    setObjectName(QStringLiteral("mainFrame"));
    setWindowIcon(CToolbarIcons::icon(CCommandTable::configureSimulation));
    createMenus();
    createToolBar();
    createStatusBar();
    createLiveCharts();
    createClient();
    setAcceptDrops(true);
    qApp->installEventFilter(this);
    connect(&document, &CRoadfluxDoc::pathChanged, this, &CMainFrame::updateTitle);
    connect(&document, &CRoadfluxDoc::documentReset, this, [this] {
        for (CRoadfluxView* view : splitter->views())
            view->initialUpdate();
    });
    connect(&document, &CRoadfluxDoc::shapeChanged, this, [this] {
        for (CRoadfluxView* view : splitter->views())
            view->refreshLayout();
    });
    updateTitle();
    updateRecentFileMenu();
    updateCommandUI();
    resize(1000, 600);
}

CMainFrame::~CMainFrame()
{
    qApp->removeEventFilter(this);
    // A run ends whole, its progress bar cleared, while the status bar still exists.
    stopRuns();
}

QAction* CMainFrame::createAction(int commandId)
{
    const CCommand* command = CCommandTable::find(commandId);
    auto* created = new QAction(command->text, this);
    created->setObjectName(QStringLiteral("command%1").arg(commandId));
    created->setData(commandId);
    if (!command->shortcut.isEmpty())
    {
        created->setShortcut(QKeySequence(command->shortcut));
        // The shortcuts work wherever the focus is in the window, as an accelerator table does.
        created->setShortcutContext(Qt::WindowShortcut);
    }
    created->setStatusTip(command->statusPrompt());
    created->setToolTip(command->toolTip());
    created->setIcon(CToolbarIcons::icon(commandId));
    created->setIconVisibleInMenu(false);
    connect(created, &QAction::triggered, this, [this, commandId] { executeCommand(commandId); });
    actions.insert(commandId, created);
    return created;
}

void CMainFrame::createMenus()
{
    for (const QString& title : CCommandTable::menus())
    {
        QMenu* created = menuBar()->addMenu(title);
        created->setObjectName(title);
        connect(created, &QMenu::aboutToShow, this, &CMainFrame::updateCommandUI);
        menus.insert(title, created);
    }
    for (const CCommand& command : CCommandTable::commands())
    {
        QMenu* target = menus.value(command.menu);
        if (command.isSeparator())
            target->addSeparator();
        else if (command.id == CCommandTable::fileMru1)
        {
            recentFilePlaceholder = target->addAction(command.text);
            recentFilePlaceholder->setEnabled(false);
            for (int i = 0; i < CCommandTable::recentFileCount; ++i)
            {
                QAction* entry = target->addAction(QString());
                entry->setData(CCommandTable::fileMru1 + i);
                entry->setStatusTip(CCommandTable::recentFilePrompt());
                connect(entry, &QAction::triggered, this, [this, i] {
                    if (i < recentFiles.entries().size())
                        emit recentFileRequested(recentFiles.entries()[i]);
                });
                recentFileActions.append(entry);
            }
        }
        else
            target->addAction(createAction(command.id));
    }
    actions.value(CCommandTable::viewToolbar)->setCheckable(true);
    actions.value(CCommandTable::viewStatusBar)->setCheckable(true);
    actions.value(CCommandTable::viewLiveCharts)->setCheckable(true);
}

void CMainFrame::createToolBar()
{
    toolBar = new QToolBar(QStringLiteral("Standard"), this);
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setIconSize(CToolbarIcons::size);
    toolBar->setMovable(true);
    toolBar->setFloatable(true);
    toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : CCommandTable::toolbar())
    {
        if (id == 0)
            toolBar->addSeparator();
        else
            toolBar->addAction(actions.value(id));
    }
    addToolBar(Qt::TopToolBarArea, toolBar);
    QAction* toggle = actions.value(CCommandTable::viewToolbar);
    toggle->setChecked(true);
    connect(toolBar, &QToolBar::visibilityChanged, toggle,
            [this, toggle] { toggle->setChecked(!toolBar->isHidden()); });
}

void CMainFrame::createStatusBar()
{
    statusBar = new CStatusBar(this);
    setStatusBar(statusBar);
    actions.value(CCommandTable::viewStatusBar)->setChecked(true);
}

void CMainFrame::createLiveCharts()
{
    liveCharts = new CLiveChartsDock(document.liveFigures(), this);
    // Under the road, which is long and low; hidden until asked for, so that a run pays nothing.
    addDockWidget(Qt::BottomDockWidgetArea, liveCharts);
    liveCharts->hide();
    // Captures no part of the frame: closing the window in its destructor hides the dock.
    QAction* toggle = actions.value(CCommandTable::viewLiveCharts);
    connect(liveCharts, &QDockWidget::visibilityChanged, toggle,
            [toggle, dock = liveCharts] { toggle->setChecked(!dock->isHidden()); });
}

void CMainFrame::createClient()
{
    splitter = new CSplitterWnd([this] { return createView(); }, this);
    setCentralWidget(splitter);
    connect(splitter, &CSplitterWnd::viewsChanged, this, &CMainFrame::updateCommandUI);
    lastActiveView = splitter->pane(0, 0);
}

CRoadfluxView* CMainFrame::createView()
{
    auto* view = new CRoadfluxView(document, clock);
    connect(view, &CRoadfluxView::activated, this, [this](CRoadfluxView* active) {
        lastActiveView = active;
        updateCommandUI();
    });
    connect(view, &CRoadfluxView::runStateChanged, this, &CMainFrame::updateCommandUI);
    connect(view, &CRoadfluxView::runCompleted, this, [this] { results->offerAfterRun(); });
    connect(view, &CRoadfluxView::frameRequested, liveCharts, &CLiveChartsDock::refresh);
    // The split boxes: a click adds a row or a column of panes.
    auto* splitAcross = new QToolButton(view);
    splitAcross->setObjectName(QStringLiteral("splitRow"));
    splitAcross->setToolTip(QStringLiteral("Split"));
    splitAcross->setFixedSize(16, 6);
    connect(splitAcross, &QToolButton::clicked, this, [this] { splitter->splitRow(); });
    view->addScrollBarWidget(splitAcross, Qt::AlignTop);
    auto* splitDown = new QToolButton(view);
    splitDown->setObjectName(QStringLiteral("splitColumn"));
    splitDown->setToolTip(QStringLiteral("Split"));
    splitDown->setFixedSize(6, 16);
    connect(splitDown, &QToolButton::clicked, this, [this] { splitter->splitColumn(); });
    view->addScrollBarWidget(splitDown, Qt::AlignLeft);
    view->initialUpdate();
    return view;
}

QMenu* CMainFrame::menu(const QString& title) const
{
    return menus.value(title);
}

CRoadfluxView* CMainFrame::activeView() const
{
    if (lastActiveView)
        return lastActiveView;
    return splitter ? splitter->pane(0, 0) : nullptr;
}

CRoadfluxView* CMainFrame::runTargetView() const
{
    CRoadfluxView* running = CRoadfluxView::viewRunning();
    if (running && splitter->views().contains(running))
        return running;
    return activeView();
}

void CMainFrame::executeCommand(int commandId)
{
    CRoadfluxView* view = activeView();
    CRoadfluxView* runView = runTargetView();
    switch (commandId)
    {
    case CCommandTable::fileNew: emit fileNewRequested(); break;
    case CCommandTable::fileOpen: emit fileOpenRequested(); break;
    case CCommandTable::fileSave: document.doFileSave(); break;
    case CCommandTable::fileSaveAs: document.doSaveAs(); break;
    case CCommandTable::saveImage: view->saveImage(); break;
    case CCommandTable::filePrint: printView(); break;
    case CCommandTable::filePrintPreview: previewView(); break;
    case CCommandTable::filePrintSetup: printSetup(); break;
    case CCommandTable::appExit: close(); break;
    case CCommandTable::configureSimulation: CStudyEditing::configureSimulation(document, *view); break;
    case CCommandTable::configureTrafficModel: CStudyEditing::configureTrafficModel(document, *view); break;
    case CCommandTable::configureRoadFeatures: CStudyEditing::configureRoadFeatures(document, *view); break;
    case CCommandTable::configureMetrics: CStudyEditing::configureMetrics(document, *view); break;
    case CCommandTable::configureBridges: CStudyEditing::configureBridges(document, *view); break;
    case CCommandTable::runVisible: runView->runVisible(); break;
    case CCommandTable::runInvisible: runView->runInvisible(); break;
    case CCommandTable::zoomIn: view->zoomIn(); break;
    case CCommandTable::zoomOut: view->zoomOut(); break;
    case CCommandTable::speedUp: runView->speedUp(); break;
    case CCommandTable::slowDown: runView->slowDown(); break;
    case CCommandTable::pause: runView->togglePause(); break;
    case CCommandTable::stop: runView->stop(); break;
    case CCommandTable::preferences: CStudyEditing::editPreferences(*view); break;
    case CCommandTable::viewToolbar: toolBar->setVisible(!toolBar->isVisible()); break;
    case CCommandTable::viewStatusBar: statusBar->setVisible(!statusBar->isVisible()); break;
    case CCommandTable::viewLiveCharts: liveCharts->setVisible(liveCharts->isHidden()); break;
    case CCommandTable::viewResults: results->show(); break;
    case CCommandTable::appAbout: showAboutBox(); break;
    default: break;
    }
    updateCommandUI();
}

void CMainFrame::updateCommandUI()
{
    const CRoadfluxView* view = runTargetView();
    const bool running = view && view->isRunning();
    for (int id : {CCommandTable::pause, CCommandTable::stop, CCommandTable::speedUp, CCommandTable::slowDown})
        actions.value(id)->setEnabled(running);
    const bool paused = running && view->isPaused();
    actions.value(CCommandTable::pause)
        ->setText(paused ? CCommandTable::resumeText() : CCommandTable::find(CCommandTable::pause)->text);
    actions.value(CCommandTable::viewToolbar)->setChecked(!toolBar->isHidden());
    actions.value(CCommandTable::viewStatusBar)->setChecked(!statusBar->isHidden());
    actions.value(CCommandTable::viewLiveCharts)->setChecked(!liveCharts->isHidden());
}

void CMainFrame::updateRecentFileMenu()
{
    const QStringList& files = recentFiles.entries();
    recentFilePlaceholder->setVisible(files.isEmpty());
    for (int i = 0; i < recentFileActions.size(); ++i)
    {
        QAction* entry = recentFileActions[i];
        entry->setVisible(i < files.size());
        entry->setText(recentFiles.menuText(i));
    }
}

void CMainFrame::updateTitle()
{
    setWindowTitle(QStringLiteral("%1 - %2").arg(document.displayName(), CRoadfluxDoc::windowTitle()));
}

void CMainFrame::showAboutBox()
{
    CAboutDlg about(this);
    about.exec();
}

bool CMainFrame::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip)
    {
        statusBar->showPrompt(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::stopRuns()
{
    for (CRoadfluxView* view : splitter->views())
        if (view->isRunning())
            view->stop();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!document.saveModified())
    {
        event->ignore();
        return;
    }
    // The run's files are closed whole before the program goes.
    stopRuns();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        for (const QUrl& url : event->mimeData()->urls())
            if (url.isLocalFile())
            {
                event->acceptProposedAction();
                return;
            }
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
        {
            event->acceptProposedAction();
            activateWindow();
            emit fileDropped(url.toLocalFile());
            return;
        }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    // A key arrives at the window first and then travels through the widgets: count it once.
    if (event->type() == QEvent::KeyPress && event->spontaneous() && qobject_cast<QWindow*>(watched))
    {
        switch (static_cast<QKeyEvent*>(event)->key())
        {
        case Qt::Key_CapsLock: statusBar->setIndicator(1, !statusBar->indicatorOn(1)); break;
        case Qt::Key_NumLock: statusBar->setIndicator(2, !statusBar->indicatorOn(2)); break;
        case Qt::Key_ScrollLock: statusBar->setIndicator(3, !statusBar->indicatorOn(3)); break;
        default: break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::printView()
{
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        activeView()->print(printer);
}

void CMainFrame::previewView()
{
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* target) { activeView()->print(*target); });
    preview.exec();
}

void CMainFrame::printSetup()
{
    QPageSetupDialog dialog(&printer, this);
    dialog.exec();
}
