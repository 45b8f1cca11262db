#pragma once
// The metrics detectors dialog: the study's statistics detectors, one grid row each, with
// buttons to add one at the end or delete the last. OK checks their locations and intervals,
// asks before keeping a very short interval and warns of a very long lane-change step.

#include "config/CStatDetector.h"
#include "dialogs/CDialogExt.h"

#include <memory>
#include <vector>

class CGridCtrl;

class CStatDetectorDlg : public CDialogExt
{
    Q_OBJECT

public:
    using DetectorList = std::vector<std::unique_ptr<CStatDetector>>;

    // roadLength: m, as the view lays out the road.
    CStatDetectorDlg(const DetectorList& studyDetectors, int roadLength, QWidget* parent = nullptr);

    void fillGrid();
    void rebuildRows();
    void addDetector();
    void deleteLastDetector();
    void validateData(int& badControlId, QString& message) override;

    const DetectorList& getDetectors() const { return detectors; }
    CGridCtrl* getGrid() const { return grid; }

private:
    bool endEdit(int row, int column);

    DetectorList detectors;
    int roadLength;
    CGridCtrl* grid;
};
