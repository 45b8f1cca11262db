#include "app/CResultsLink.h"

#include "app/CRoadfluxDoc.h"
#include "dialogs/CUserDialogs.h"
#include "recorders/SpaceTimeDiagram.h"
#include "resultswindow/ResultsWindow.h"

#include <QDir>

CResultsLink::CResultsLink(CRoadfluxDoc& doc, QWidget& ownerWindow) : document(doc), owner(ownerWindow) {}

CResultsLink::~CResultsLink() = default;

ResultsWindow* CResultsLink::window() const
{
    return results;
}

QString CResultsLink::metricsFolder() const
{
    QString folder = QString::fromStdString(document.study().resolvedMetricsFolder());
    return folder.isEmpty() ? QDir::currentPath() : folder;
}

void CResultsLink::showStudyFolder()
{
    if (!results)
    {
        results = new ResultsWindow(&owner);
        shownDiagram.reset();
        ResultsDialogs& dialogs = results->dialogs();
        dialogs.chooseSaveFile = [](const QString& caption, const QString& filter, const QString& suggestion) {
            QString suffix = filter.section(QStringLiteral("*."), 1).section(QLatin1Char(')'), 0, 0);
            return userDialogs().chooseSaveFile(caption, filter, suffix, suggestion);
        };
        dialogs.chooseFolder = [](const QString& caption, const QString&) {
            return userDialogs().chooseFolder(caption);
        };
        dialogs.warn = [](const QString& text) { userDialogs().warn(text.toStdString()); };
    }
    results->showFolder(metricsFolder(), DetectorIntervals(document.study().getStatDetectors()),
                        document.bridges().getSet());
    // Only a new run's diagram replaces the page, so that its lane choice stays across reloads.
    std::shared_ptr<const SpaceTimeDiagram> diagram = document.spaceTimeRecording().getDiagram();
    if (diagram && diagram != shownDiagram.lock())
    {
        shownDiagram = diagram;
        results->showSpaceTime(SpaceTimeDiagram::sourceOf(std::move(diagram)));
    }
}

void CResultsLink::show()
{
    showStudyFolder();
    results->show();
    results->raise();
    results->activateWindow();
}

void CResultsLink::offerAfterRun()
{
    if (results && results->isVisible())
    {
        showStudyFolder();
        return;
    }
    if (document.study().getStatDetectors().empty() && document.bridges().getSet().empty() &&
        !document.spaceTimeRecording().getDiagram())
        return;
    if (showWithoutAsking || userDialogs().ask(offerQuestion().toStdString()))
        show();
}
