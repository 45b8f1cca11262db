#include "app/CRoadfluxDoc.h"

#include "config/CConfigData.h"
#include "dialogs/CUserDialogs.h"
#include "document/StudyOptions.h"
#include "engine/RunFigureText.h"
#include "loadeffects/BridgesFile.h"

#include <QFileInfo>

#include <filesystem>

// The study's Sim as the views' runs see it; refusals are shown in message boxes.
class CRoadfluxDoc::Simulation : public CSimulationLink
{
public:
    Simulation(StudyDocument& document, CStudyBridges& studyBridges, CSpaceTimeRecording& spaceTime,
               CLiveFigures& liveFigures)
        : study(document), bridges(studyBridges), recording(spaceTime), live(liveFigures)
    {
    }

    void setSpaceTimeInterval(double seconds) override { recording.setInterval(seconds); }

    bool setupSimulation() override
    {
        if (!bridges.prepareRun(study, userDialogs()) || !study.setupSimulation(userDialogs()))
            return false;
        Sim& sim = study.getSim();
        if (bridges.startRun(study, sim.getTime(), userDialogs()))
        {
            recording.start(sim.getRoad().getLength(), study.getLanesDir1(), study.getLanesDir2(), sim.getTime());
            live.start(sim.getRoad(), sim.getTime());
            return true;
        }
        study.getSim().reset();
        return false;
    }
    VehicleLists step(bool& running) override
    {
        VehicleLists lanes = study.getSim().step(running);
        const double time = study.getSim().getTime();
        bridges.observe(lanes, time);
        recording.observe(time, lanes);
        return lanes;
    }
    double getTime() const override { return study.getSim().getTime(); }
    int getProgress() const override { return study.getSim().getProgress(); }
    void reset() override
    {
        bridges.finishRun();
        recording.finish();
        live.finish();
        study.getSim().reset();
    }

    std::string runRemark() const override
    {
        const RunStatistics statistics = study.getSim().getStatistics();
        const ReleaseOrder order = study.getReleaseOrder();
        std::string figures = std::string("Release order: ") + releaseOrderName(order) + "\n" + releaseDelayLabel +
                              " " + releaseDelayText(statistics.releaseDelays) + "\n" + minimumGapLabel + " " +
                              minimumGapText(statistics.gaps);
        // Past this mean the wait to enter, not the road, decides the results.
        if (statistics.releaseDelays.meanSeconds > ReleaseDelays::longWaitSeconds)
            figures += order == ReleaseOrder::perLane
                           ? "\nRelease delays dominate this run even per lane: the traffic file brings more "
                             "vehicles than the lanes' starts can take."
                           : "\nRelease delays dominate this run: in file order a vehicle that cannot enter holds "
                             "back every later one. Vehicles Enter: Per lane, in Simulation Configuration, holds "
                             "back only its own lane's.";
        const long long skipped = statistics.skippedVehicles;
        if (skipped == 0)
            return figures;
        if (skipped == 1)
            return "1 vehicle was not released: its lane is not a lane of this road.\n" + figures;
        return std::to_string(skipped) + " vehicles were not released: their lanes are not lanes of this road.\n" +
               figures;
    }

private:
    StudyDocument& study;
    CStudyBridges& bridges;
    CSpaceTimeRecording& recording;
    CLiveFigures& live;
};

CRoadfluxDoc::CRoadfluxDoc() : link(std::make_unique<Simulation>(core, studyBridges, spaceTime, live)) {}

CRoadfluxDoc::~CRoadfluxDoc() = default;

bool CRoadfluxDoc::onNewDocument()
{
    if (!core.newDocument())
        return false;
    studyBridges.clear();
    keepOptionsFile = false;
    spaceTime.clear();
    emit pathChanged();
    emit documentReset();
    return true;
}

bool CRoadfluxDoc::onOpenDocument(const QString& path)
{
    const StudyFileResult result = core.openFile(path.toStdString());
    if (result != StudyFileResult::ok)
    {
        userDialogs().warn(studyFileMessage(result));
        return false;
    }
    studyBridges.load(core.getPathName(), userDialogs());
    loadOptions();
    spaceTime.clear();
    emit pathChanged();
    emit documentReset();
    emit fileUsed(pathName());
    return true;
}

bool CRoadfluxDoc::onSaveDocument(const QString& path)
{
    const StudyFileResult result = core.saveFile(path.toStdString());
    if (result != StudyFileResult::ok)
    {
        userDialogs().warn(studyFileMessage(result));
        return false;
    }
    if (!studyBridges.save(core.getPathName()))
        userDialogs().warn(BridgesFile::besideStudy(core.getPathName()) +
                           ": the bridges file cannot be written; the study was saved without it.");
    saveOptions();
    emit pathChanged();
    emit fileUsed(pathName());
    return true;
}

void CRoadfluxDoc::setReleaseOrder(ReleaseOrder order)
{
    if (order == core.getReleaseOrder())
        return;
    core.setReleaseOrder(order);
    keepOptionsFile = false;
}

void CRoadfluxDoc::loadOptions()
{
    keepOptionsFile = false;
    const std::string path = StudyOptionsFile::besideStudy(core.getPathName());
    std::error_code error;
    StudyOptionsFileResult read;
    if (std::filesystem::exists(path, error) || std::filesystem::is_symlink(path, error))
        read = StudyOptionsFile::read(path);
    // The study file holds no release order: one left from the previous study must not stay.
    const bool modified = core.isModified();
    core.setReleaseOrder(read.options.releaseOrder);
    core.setModified(modified);
    if (read.ok())
        return;
    keepOptionsFile = true;
    std::string message = "The study's options file has problems; the defaults are used and the file will not be "
                          "overwritten until the settings are changed:";
    for (const std::string& problem : read.problems)
        message += "\n" + problem;
    userDialogs().warn(message);
}

void CRoadfluxDoc::saveOptions()
{
    const std::string path = StudyOptionsFile::besideStudy(core.getPathName());
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error) || std::filesystem::is_symlink(path, error);
    if (keepOptionsFile || (core.getReleaseOrder() == ReleaseOrder::file && !exists))
        return;
    // Through a link to a file the study's run reads, a save would destroy it.
    FileClaims mustNotBe;
    mustNotBe.addInput(core.getPathName(), "the study file");
    mustNotBe.addInput(theConfigData.getLoadedFrom(), "the configuration file");
    mustNotBe.addInput(core.resolvedInputFileName(), "the input traffic file");
    StudyOptions options;
    options.releaseOrder = core.getReleaseOrder();
    if (const std::optional<std::string> problem = StudyOptionsFile::write(path, options, mustNotBe))
        userDialogs().warn(path + ": the options file cannot be written (" + *problem +
                           "); the study was saved without it.");
}

bool CRoadfluxDoc::doFileSave()
{
    const QString path = pathName();
    if (path.isEmpty())
        return doSaveAs();
    // A study opened from a file that can no longer be written is saved under another name.
    const QFileInfo file(path);
    if (file.exists() && !file.isWritable())
        return doSaveAs();
    return onSaveDocument(path);
}

bool CRoadfluxDoc::doSaveAs()
{
    QString suggestion = pathName();
    if (suggestion.isEmpty())
        suggestion = untitledName();
    const QString path =
        userDialogs().chooseSaveFile(QStringLiteral("Save As"), fileFilter(), extension().mid(1), suggestion);
    if (path.isEmpty())
        return false;
    return onSaveDocument(path);
}

bool CRoadfluxDoc::saveModified()
{
    if (!isModified())
        return true;
    switch (userDialogs().askSaveChanges(QStringLiteral("Save changes to %1?").arg(displayName())))
    {
    case CUserDialogs::SaveChoice::save: return doFileSave();
    case CUserDialogs::SaveChoice::discard: return true;
    case CUserDialogs::SaveChoice::cancel: break;
    }
    return false;
}

QString CRoadfluxDoc::pathName() const
{
    return QString::fromStdString(core.getPathName());
}

QString CRoadfluxDoc::displayName() const
{
    const QString path = pathName();
    return path.isEmpty() ? untitledName() : QFileInfo(path).fileName();
}

void CRoadfluxDoc::setModifiedFlag(bool modified)
{
    core.setModified(modified);
}

CStudyShape CRoadfluxDoc::shape() const
{
    CStudyShape shape;
    shape.drivesOnRight = core.getDrivesOnRight();
    shape.roadLength = core.getRoadLength();
    shape.lanesDir1 = core.getLanesDir1();
    shape.lanesDir2 = core.getLanesDir2();
    shape.totalLanes = core.getTotalLanes();
    shape.numDirections = core.getNumDirections();
    shape.timeStep = core.getTimeStep();
    return shape;
}

CRoadScene CRoadfluxDoc::scene() const
{
    CRoadScene scene;
    for (const auto& feature : core.getRoadFeatures())
        scene.features.push_back({feature->getType(), feature->isDirectionPositive(), feature->getStart(),
                                  feature->getEnd(), feature->getValue()});
    for (const auto& detector : core.getStatDetectors())
        scene.detectors.push_back({detector->getKind(), detector->isDirectionPositive(), detector->getLocation()});
    for (const Bridge& bridge : studyBridges.getSet().bridges)
        scene.bridges.push_back({bridge.name, bridge.start, bridge.length()});
    scene.outputDetectorLocation1 = core.getOutputDetectorLocation1();
    scene.outputDetectorLocation2 = core.getOutputDetectorLocation2();
    return scene;
}

CSimulationLink& CRoadfluxDoc::simulation()
{
    return *link;
}
