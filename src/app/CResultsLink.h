#pragma once
// Opens the Results window on the study's measurement files: from the View menu, and as an
// offer once a run has finished. The window's questions go through the program's dialogs.

#include <QPointer>
#include <QString>

class CRoadfluxDoc;
class QWidget;
class ResultsWindow;

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
};
