#pragma once
// The program's one study document in the window: wraps the study core with the document
// template's names, the path and title shown in the window, the save-changes prompt, and the
// study's simulation as the views' runs use it. New and Open reuse this one object.

#include "app/CLiveFigures.h"
#include "app/CSpaceTimeRecording.h"
#include "app/CStudyBridges.h"
#include "app/CViewDocument.h"
#include "document/StudyDocument.h"

#include <QObject>
#include <QString>

class CRoadfluxDoc : public QObject, public CViewDocument
{
    Q_OBJECT

public:
    // The document template's fields.
    static QString windowTitle() { return QStringLiteral("Roadflux"); }
    static QString untitledName() { return QStringLiteral("Untitled"); }
    static QString newTypeName() { return QStringLiteral("Roadflux"); }
    static QString fileFilter() { return QStringLiteral("Roadflux Files (*.rfx)"); }
    static QString extension() { return QStringLiteral(".rfx"); }
    static QString registryTypeId() { return QStringLiteral("Roadflux.Document"); }
    static QString registryTypeName() { return QStringLiteral("Roadflux Document"); }

    CRoadfluxDoc();
    ~CRoadfluxDoc() override;

    StudyDocument& study() { return core; }
    const StudyDocument& study() const { return core; }
    // The study's bridges, kept in their own file beside the study.
    CStudyBridges& bridges() { return studyBridges; }
    const CStudyBridges& bridges() const { return studyBridges; }
    // The release order, kept in STUDY.options beside the study. A choice that differs from the
    // study's also lets a save replace an options file that could not be read.
    void setReleaseOrder(ReleaseOrder order);

    // The space-time diagram of the study's last run, for the Results window.
    const CSpaceTimeRecording& spaceTimeRecording() const { return spaceTime; }
    // The flow-and-density figures of the run in progress or of the last one, for the live charts.
    CLiveFigures& liveFigures() { return live; }

    // File, New on the one document.
    bool onNewDocument();
    // Loads a study file; on failure tells the user why and keeps the study as it was.
    bool onOpenDocument(const QString& path);
    // Writes the study file; on failure tells the user and keeps the previous file.
    bool onSaveDocument(const QString& path);
    // Save: to the study's own file, or as a new one when it has none. False when not saved.
    bool doFileSave();
    // Save As: asks for a name. False when cancelled or not saved.
    bool doSaveAs();
    // Before New, Open and Exit: asks whether to save a modified study. False means stop.
    bool saveModified();

    QString pathName() const;
    // The file name shown in the title and the save prompt: "Untitled" for a study never saved.
    QString displayName() const;
    bool isModified() const { return core.isModified(); }
    // The study's shape, features or detectors were edited: every view lays out and repaints.
    void notifyShapeChanged() { emit shapeChanged(); }
    void setModifiedFlag(bool modified = true);

    CStudyShape shape() const override;
    CRoadScene scene() const override;
    CSimulationLink& simulation() override;

signals:
    // The document was replaced by New or Open: the views lay themselves out again.
    void documentReset();
    void shapeChanged();
    // The path, and so the window title, may have changed.
    void pathChanged();
    // A file was opened or saved under this path: it joins the recent files.
    void fileUsed(const QString& path);

private:
    class Simulation;

    // After Open: the study's options file, when there is one; a file with problems is reported
    // and left alone on save until the choice is changed, so that nothing of it is lost.
    void loadOptions();
    // After Save: written when the choice is not the default or the file is there already.
    void saveOptions();

    StudyDocument core;
    CStudyBridges studyBridges;
    CSpaceTimeRecording spaceTime;
    CLiveFigures live;
    std::unique_ptr<Simulation> link;
    bool keepOptionsFile = false;
};
