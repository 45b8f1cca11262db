#pragma once
// The windowed single-document application: loads "Roadflux.ini" before anything else, creates
// the one document and the main window, opens a study named on the command line or dropped on
// the window, keeps the recent-file list, and carries out File New, Open and the recent files.

#include "app/CRecentFileList.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class CMainFrame;
class CMillisecondClock;
class CRoadfluxDoc;

class CRoadfluxApp : public QObject
{
    Q_OBJECT

public:
    static QString configFileName() { return QStringLiteral("Roadflux.ini"); }

    // The message shown when the configuration file cannot be read at start-up.
    static QString configFileProblem(bool fromMenu);

    explicit CRoadfluxApp(const CMillisecondClock& clock);
    ~CRoadfluxApp() override;

    // Start-up in its order; false when the program must end. arguments: the command line
    // without the program's name, as CCommandLine reads it.
    bool initInstance(const QStringList& arguments);

    CMainFrame* mainFrame() const { return frame.get(); }
    CRoadfluxDoc* document() const { return doc.get(); }
    CRecentFileList& recentFiles() { return recent; }
    // A run is in progress, so visible runs are being paced.
    bool isSimRunning() const;

    void onFileNew();
    void onFileOpen();
    // Opens a study into the one document after the save-changes question; false when it was
    // not opened. fromRecentList: a file that cannot be opened leaves the recent-file list.
    bool openDocumentFile(const QString& path, bool fromRecentList = false);

private:
    const CMillisecondClock& clock;
    CRecentFileList recent;
    std::unique_ptr<CRoadfluxDoc> doc;
    std::unique_ptr<CMainFrame> frame;
};
