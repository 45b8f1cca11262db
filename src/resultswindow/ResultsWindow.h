#pragma once
// The Results window: the measurement files of a folder as charts, one tab per file, titled with
// the detector's name, location and direction, and after them the space-time diagram of the last
// run when one was recorded.

#include "measurements/BridgeResults.h"
#include "measurements/DetectorIntervals.h"
#include "recorders/SpaceTimePicture.h"
#include "resultswindow/FolderRun.h"
#include "resultswindow/ResultsDialogs.h"

#include <QList>
#include <QPointer>

#include <QString>
#include <QWidget>

class ChartPanel;
class QLabel;
class QTabWidget;

class ResultsWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ResultsWindow(QWidget* parent = nullptr);
    ~ResultsWindow() override;

    // Reads the folder's measurement and load-effect files and shows them; intervals: the study's
    // detector definitions, when known, for the time axes and figures; bridges: the study's
    // bridges, when known, for the load effects' units.
    void showFolder(const QString& folder, const DetectorIntervals& intervals = {}, const BridgeSet& bridges = {});
    void reload();
    // Asks for a folder and shows it.
    void chooseFolder();
    const QString& folder() const { return currentFolder; }

    // A page of its own after the files' tabs; it stays when the files are read again, and a
    // page of the same title replaces it.
    void addPage(QWidget* page, const QString& title);
    // The recorded run's space-time diagram as the page "Space-time diagram".
    void showSpaceTime(SpaceTimeSource source);

    QTabWidget& tabs() const { return *tabWidget; }
    // The chart panels of tab `index`, in order.
    QList<ChartPanel*> panels(int index) const;

    ResultsDialogs& dialogs() { return userDialogs; }
    // The run that wrote the folder shown, as far as known: its start and lanes.
    const FolderRun& run() const { return shownRun; }
    QString header() const;

private:
    QWidget* pageFor(const struct MeasurementEntry& entry);
    QWidget* pageFor(BridgeResults bridge);

    ResultsDialogs userDialogs;
    DetectorIntervals knownIntervals;
    BridgeSet knownBridges;
    QString currentFolder;
    QLabel* folderLabel = nullptr;
    QTabWidget* tabWidget = nullptr;
    QList<QPointer<QWidget>> extraPages;
    std::optional<RunJustMade> recorded;
    FolderRun shownRun;
};
