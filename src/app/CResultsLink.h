#pragma once
// Opens the Results window on the study's measurement files and the last run's space-time
// diagram: from the View menu, and as an offer once a run has finished. The window's questions go
// through the program's dialogs.

#include <QPointer>
#include <QString>

#include <memory>

class CRoadfluxDoc;
class QWidget;
class ResultsWindow;
class SpaceTimeDiagram;

class CResultsLink
{
public:
    CResultsLink(CRoadfluxDoc& document, QWidget& owner);
    ~CResultsLink();

    // Opens (or raises) the window on the study's metrics folder.
    void show();
    // After a finished run: an open window shows the new files at once; otherwise the user is
    // asked, when the study has detectors that write files.
    void offerAfterRun();
    // From now on a finished run shows the window without asking.
    void showAfterRuns() { showWithoutAsking = true; }

    ResultsWindow* window() const;

    static QString offerQuestion() { return QStringLiteral("Show the charts of the measurement files?"); }

private:
    void showStudyFolder();
    QString metricsFolder() const;

    CRoadfluxDoc& document;
    QWidget& owner;
    QPointer<ResultsWindow> results;
    bool showWithoutAsking = false;
    // The diagram the window's page shows, to add a page only for a new run's.
    std::weak_ptr<const SpaceTimeDiagram> shownDiagram;
};
