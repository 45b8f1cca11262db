#include "app/CRoadfluxApp.h"

#include "app/CCommandLine.h"
#include "app/CMainFrame.h"
#include "app/CResultsLink.h"
#include "app/CRoadfluxDoc.h"
#include "app/CRoadfluxView.h"
#include "app/CSplitterWnd.h"
#include "config/CConfigData.h"
#include "dialogs/CUserDialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

QString CRoadfluxApp::configFileProblem(bool fromMenu)
{
    const QString problem = QStringLiteral("Configuration file cannot be read");
    // Started from a terminal, the user knows the current directory; from the menu it is
    // wherever the desktop chose, so the message says where the file was looked for.
    if (!fromMenu || QFileInfo::exists(configFileName()))
        return problem;
    return problem + QStringLiteral("\n\nThere is no %1 in %2, the folder Roadflux was started in, so the "
                                    "built-in defaults are used. The command roadflux-cli example FOLDER copies the "
                                    "example study and a %1 into FOLDER.")
                         .arg(configFileName(), QDir::toNativeSeparators(QDir::currentPath()));
}

CRoadfluxApp::CRoadfluxApp(const CMillisecondClock& wallClock) : clock(wallClock) {}

CRoadfluxApp::~CRoadfluxApp()
{
    // The views go before the document whose simulation they may still hold.
    frame.reset();
    doc.reset();
}

bool CRoadfluxApp::initInstance(const QStringList& arguments)
{
    const CCommandLine commandLine = CCommandLine::parse(arguments);
    // Everything constructed below copies configuration values: the file comes first.
    if (!theConfigData.readConfigFile(configFileName().toStdString()))
        userDialogs().warn(configFileProblem(commandLine.fromMenu).toStdString());

    doc = std::make_unique<CRoadfluxDoc>();
    frame = std::make_unique<CMainFrame>(*doc, recent, clock);
    connect(doc.get(), &CRoadfluxDoc::fileUsed, this, [this](const QString& path) {
        recent.add(path);
        frame->updateRecentFileMenu();
    });
    connect(frame.get(), &CMainFrame::fileNewRequested, this, &CRoadfluxApp::onFileNew);
    connect(frame.get(), &CMainFrame::fileOpenRequested, this, &CRoadfluxApp::onFileOpen);
    connect(frame.get(), &CMainFrame::recentFileRequested, this,
            [this](const QString& path) { openDocumentFile(path, true); });
    connect(frame.get(), &CMainFrame::fileDropped, this, [this](const QString& path) { openDocumentFile(path); });

    if (commandLine.study.isEmpty())
        doc->onNewDocument();
    else if (!openDocumentFile(commandLine.study))
        return false;

    frame->show();
    CRoadfluxView* view = frame->activeView();
    if (commandLine.timeWarp >= 1.0 && commandLine.timeWarp <= 1000.0)
        view->getRunControl().setTimeWarpFactor(commandLine.timeWarp);
    // A visible run asked for on the command line starts once the window is up.
    if (commandLine.runAtStart)
        QTimer::singleShot(0, view, [view] { view->runVisible(); });
    if (commandLine.showResults)
        frame->getResults().showAfterRuns();
    return true;
}

bool CRoadfluxApp::isSimRunning() const
{
    return CRoadfluxView::viewRunning() != nullptr;
}

void CRoadfluxApp::onFileNew()
{
    if (!doc->saveModified())
        return;
    for (CRoadfluxView* view : frame->getSplitter()->views())
        if (view->isRunning())
            view->stop();
    doc->onNewDocument();
}

void CRoadfluxApp::onFileOpen()
{
    const QString path = userDialogs().chooseOpenFile(QStringLiteral("Open"),
                                                      CRoadfluxDoc::fileFilter() + QStringLiteral(";;All Files (*)"));
    if (!path.isEmpty())
        openDocumentFile(path);
}

bool CRoadfluxApp::openDocumentFile(const QString& path, bool fromRecentList)
{
    if (!doc->saveModified())
        return false;
    // A run set up from the old study must not go on writing its files.
    for (CRoadfluxView* view : frame->getSplitter()->views())
        if (view->isRunning())
            view->stop();
    if (doc->onOpenDocument(path))
        return true;
    if (fromRecentList)
    {
        recent.remove(path);
        frame->updateRecentFileMenu();
    }
    return false;
}
