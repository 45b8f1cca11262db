#include "app/CRoadfluxApp.h"

#include "app/CMainFrame.h"
#include "app/CRoadfluxDoc.h"
#include "app/CRoadfluxView.h"
#include "app/CSplitterWnd.h"
#include "app/CUserDialogs.h"
#include "config/CConfigData.h"

#include <QTimer>

CRoadfluxApp::CRoadfluxApp(const CMillisecondClock& wallClock) : clock(wallClock) {}

CRoadfluxApp::~CRoadfluxApp()
{
    // The views go before the document whose simulation they may still hold.
    frame.reset();
    doc.reset();
}

bool CRoadfluxApp::initInstance(const QStringList& arguments)
{
    // Everything constructed below copies configuration values: the file comes first.
    if (!theConfigData.readConfigFile(configFileName().toStdString()))
        userDialogs().warn("Configuration file cannot be read");

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

    QString study;
    bool runAtStart = false;
    double timeWarp = 0.0;
    for (int i = 0; i < arguments.size(); ++i)
    {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--run"))
            runAtStart = true;
        else if (argument == QLatin1String("--time-warp") && i + 1 < arguments.size())
            timeWarp = arguments[++i].toDouble();
        else if (study.isEmpty())
            study = argument;
    }
    if (study.isEmpty())
        doc->onNewDocument();
    else if (!openDocumentFile(study))
        return false;

    frame->show();
    CRoadfluxView* view = frame->activeView();
    if (timeWarp >= 1.0 && timeWarp <= 1000.0)
        view->getRunControl().setTimeWarpFactor(timeWarp);
    // A visible run asked for on the command line starts once the window is up.
    if (runAtStart)
        QTimer::singleShot(0, view, [view] { view->runVisible(); });
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
    const QString path = userDialogs().chooseOpenFile(QStringLiteral("Open"), CRoadfluxDoc::fileFilter() +
                                                                                  QStringLiteral(";;All Files (*)"));
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
