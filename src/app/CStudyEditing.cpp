#include "app/CStudyEditing.h"

#include "app/CRoadfluxDoc.h"
#include "app/CRoadfluxView.h"
#include "dialogs/CBridgesDlg.h"
#include "dialogs/CPreferencesDlg.h"
#include "dialogs/CRoadFeaturesDlg.h"
#include "dialogs/CSimConfigDlg.h"
#include "dialogs/CStatDetectorDlg.h"
#include "dialogs/CTrafficConfigDlg.h"

void CStudyEditing::configureSimulation(CRoadfluxDoc& document, CRoadfluxView& view)
{
    CSimConfigDlg dialog(view.window());
    fillSimulation(dialog, document);
    if (dialog.exec() == QDialog::Accepted)
        applySimulation(dialog, document, view);
}

void CStudyEditing::fillSimulation(CSimConfigDlg& dialog, const CRoadfluxDoc& document)
{
    const StudyDocument& study = document.study();
    dialog.inputFileName = QString::fromStdString(study.getInputFileName());
    dialog.outputFileName = QString::fromStdString(study.getOutputFileName());
    dialog.metricsFolder = QString::fromStdString(study.getMetricsFolder());
    dialog.roadLength = study.getRoadLength();
    dialog.lanesDir1 = study.getLanesDir1();
    dialog.lanesDir2 = study.getLanesDir2();
    dialog.fileFormat = study.getFileFormat();
    dialog.timeStepMs = study.getTimeStepMs();
    dialog.fileLanesDir1 = study.getFileLanesDir1();
    dialog.fileLanesDir2 = study.getFileLanesDir2();
    dialog.drivesOnRight = study.getDrivesOnRight();
    dialog.outputDetectorLocation1 = study.getOutputDetectorLocation1();
    dialog.outputDetectorLocation2 = study.getOutputDetectorLocation2();
    dialog.laneChangesAllowed = study.getLaneChangesAllowed();
    dialog.outputCars = study.getOutputCars();
    dialog.releasePerLane = study.getReleaseOrder() == ReleaseOrder::perLane;
    dialog.updateControls();
}

void CStudyEditing::applySimulation(const CSimConfigDlg& dialog, CRoadfluxDoc& document, CRoadfluxView& view)
{
    StudyDocument& study = document.study();
    study.setInputFileName(dialog.inputFileName.toStdString());
    study.setOutputFileName(dialog.outputFileName.toStdString());
    study.setMetricsFolder(dialog.metricsFolder.toStdString());
    study.setFileFormat(static_cast<std::uint16_t>(dialog.fileFormat));
    study.setRoadLength(dialog.roadLength);
    study.setDrivesOnRight(dialog.drivesOnRight);
    study.setLanesDir1(dialog.lanesDir1);
    study.setLanesDir2(dialog.lanesDir2);
    study.setTimeStep(dialog.timeStepMs / 1000.0);
    study.setLaneChangesAllowed(dialog.laneChangesAllowed);
    study.setOutputCars(dialog.outputCars);
    study.setFileLanesDir1(dialog.fileLanesDir1);
    study.setFileLanesDir2(dialog.fileLanesDir2);
    study.setOutputDetectorLocation1(dialog.outputDetectorLocation1);
    study.setOutputDetectorLocation2(dialog.outputDetectorLocation2);
    document.setReleaseOrder(dialog.releasePerLane ? ReleaseOrder::perLane : ReleaseOrder::file);
    study.updateLaneTotals(true);
    view.refreshLayout();
    document.notifyShapeChanged();
}

void CStudyEditing::configureTrafficModel(CRoadfluxDoc& document, CRoadfluxView& view)
{
    CTrafficConfigDlg dialog(view.window());
    fillTrafficModel(dialog, document);
    if (dialog.exec() == QDialog::Accepted)
        applyTrafficModel(dialog, document);
    view.viewport()->update();
}

void CStudyEditing::fillTrafficModel(CTrafficConfigDlg& dialog, const CRoadfluxDoc& document)
{
    for (int k = 0; k < CTrafficConfigDlg::classCount; ++k)
        dialog.parameterSets[static_cast<std::size_t>(k)] = document.study().getIDMParameterSet(k);
    dialog.initialise();
}

void CStudyEditing::applyTrafficModel(const CTrafficConfigDlg& dialog, CRoadfluxDoc& document)
{
    for (int k = 0; k < CTrafficConfigDlg::classCount; ++k)
        document.study().setIDMParameterSet(k, dialog.parameterSets[static_cast<std::size_t>(k)]);
}

void CStudyEditing::configureRoadFeatures(CRoadfluxDoc& document, CRoadfluxView& view)
{
    CRoadFeaturesDlg dialog(document.study().getRoadFeatures(), view.getLayout().roadLength, view.window());
    if (dialog.exec() == QDialog::Accepted)
        applyRoadFeatures(dialog, document);
    document.notifyShapeChanged();
}

void CStudyEditing::applyRoadFeatures(const CRoadFeaturesDlg& dialog, CRoadfluxDoc& document)
{
    document.study().setRoadFeatures(dialog.getItems());
}

void CStudyEditing::configureMetrics(CRoadfluxDoc& document, CRoadfluxView& view)
{
    CStatDetectorDlg dialog(document.study().getStatDetectors(), view.getLayout().roadLength, view.window());
    if (dialog.exec() == QDialog::Accepted)
        applyMetrics(dialog, document);
    document.notifyShapeChanged();
}

void CStudyEditing::applyMetrics(const CStatDetectorDlg& dialog, CRoadfluxDoc& document)
{
    document.study().setStatDetectors(dialog.getItems());
}

void CStudyEditing::configureBridges(CRoadfluxDoc& document, CRoadfluxView& view)
{
    const StudyDocument& study = document.study();
    const RoadLayout road{static_cast<double>(study.getRoadLength()), study.getLanesDir1(), study.getLanesDir2(),
                          study.getTimeStep()};
    CBridgesDlg dialog(document.bridges().getSet(), road, view.window());
    if (dialog.exec() == QDialog::Accepted)
        applyBridges(dialog, document);
    document.notifyShapeChanged();
}

void CStudyEditing::applyBridges(const CBridgesDlg& dialog, CRoadfluxDoc& document)
{
    if (dialog.getBridges() == document.bridges().getSet())
        return;
    document.bridges().setSet(dialog.getBridges());
    document.setModifiedFlag();
}

void CStudyEditing::editPreferences(CRoadfluxView& view)
{
    CPreferencesDlg dialog(view.window());
    fillPreferences(dialog, view);
    if (dialog.exec() == QDialog::Accepted)
        applyPreferences(dialog, view);
}

void CStudyEditing::fillPreferences(CPreferencesDlg& dialog, const CRoadfluxView& view)
{
    const CDisplaySettings& d = view.displaySettings();
    dialog.settings = {d.viewScale,
                       d.widthsScale,
                       view.getRunControl().getTimeWarpFactor(),
                       d.laneWidth / d.widthsScale,
                       d.vehicleWidth / d.widthsScale,
                       d.vehicleLengthScale,
                       d.showVelocities ? 1.0 : 0.0,
                       d.showLegend ? 1.0 : 0.0,
                       d.tickLength / d.widthsScale,
                       static_cast<double>(d.tickInterval),
                       d.borderTop,
                       d.borderBottom,
                       d.borderLeft,
                       d.borderRight,
                       view.getRunControl().getSpaceTimeInterval()};
    dialog.initialise();
}

void CStudyEditing::applyPreferences(const CPreferencesDlg& dialog, CRoadfluxView& view)
{
    const auto& s = dialog.settings;
    CDisplaySettings& d = view.displaySettings();
    d.viewScale = s[CPreferencesDlg::viewScale];
    d.widthsScale = s[CPreferencesDlg::widthsScale];
    view.getRunControl().setTimeWarpFactor(s[CPreferencesDlg::timeWarpFactor]);
    d.laneWidth = s[CPreferencesDlg::laneWidth] * d.widthsScale;
    d.vehicleWidth = s[CPreferencesDlg::vehicleWidth] * d.widthsScale;
    d.vehicleLengthScale = s[CPreferencesDlg::vehicleLengthScale];
    d.showVelocities = s[CPreferencesDlg::showVelocities] != 0.0;
    d.showLegend = s[CPreferencesDlg::showLegend] != 0.0;
    d.tickLength = s[CPreferencesDlg::tickLength] * d.widthsScale;
    d.tickInterval = static_cast<int>(s[CPreferencesDlg::tickInterval]);
    d.borderTop = s[CPreferencesDlg::borderTop];
    d.borderBottom = s[CPreferencesDlg::borderBottom];
    d.borderLeft = s[CPreferencesDlg::borderLeft];
    d.borderRight = s[CPreferencesDlg::borderRight];
    view.getRunControl().setSpaceTimeInterval(s[CPreferencesDlg::spaceTimeInterval]);
    view.refreshLayout();
}
