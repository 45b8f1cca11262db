#pragma once
// The view's configuration commands: each fills its dialog from copies of the study's (or the
// view's) values, runs it, and hands the values back only on OK. The fill and apply halves are
// separate so that they can be exercised without a modal dialog.

class CBridgesDlg;
class CPreferencesDlg;
class CRoadFeaturesDlg;
class CRoadfluxDoc;
class CRoadfluxView;
class CSimConfigDlg;
class CStatDetectorDlg;
class CTrafficConfigDlg;

class CStudyEditing
{
public:
    static void configureSimulation(CRoadfluxDoc& document, CRoadfluxView& view);
    static void configureTrafficModel(CRoadfluxDoc& document, CRoadfluxView& view);
    static void configureRoadFeatures(CRoadfluxDoc& document, CRoadfluxView& view);
    static void configureMetrics(CRoadfluxDoc& document, CRoadfluxView& view);
    static void configureBridges(CRoadfluxDoc& document, CRoadfluxView& view);
    static void editPreferences(CRoadfluxView& view);

    static void fillSimulation(CSimConfigDlg& dialog, const CRoadfluxDoc& document);
    static void applySimulation(const CSimConfigDlg& dialog, CRoadfluxDoc& document, CRoadfluxView& view);
    static void fillTrafficModel(CTrafficConfigDlg& dialog, const CRoadfluxDoc& document);
    static void applyTrafficModel(const CTrafficConfigDlg& dialog, CRoadfluxDoc& document);
    static void applyRoadFeatures(const CRoadFeaturesDlg& dialog, CRoadfluxDoc& document);
    static void applyMetrics(const CStatDetectorDlg& dialog, CRoadfluxDoc& document);
    static void applyBridges(const CBridgesDlg& dialog, CRoadfluxDoc& document);
    static void fillPreferences(CPreferencesDlg& dialog, const CRoadfluxView& view);
    static void applyPreferences(const CPreferencesDlg& dialog, CRoadfluxView& view);
};
