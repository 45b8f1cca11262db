#pragma once
// The metrics detectors dialog: the study's statistics detectors, one grid row each, with
// buttons to add one at the end or delete the last. OK checks their locations and intervals,
// asks before keeping a very short interval and warns of a very long lane-change step.

#include "config/CStatDetector.h"
#include "dialogs/CListEditorDlg.h"

class CStatDetectorDlg : public CListEditorDlg<CStatDetector>
{
    Q_OBJECT

public:
    // roadLength: m, as the view lays out the road.
    CStatDetectorDlg(const ItemList& studyDetectors, int roadLength, QWidget* parent = nullptr);

    void validateData(int& badControlId, QString& message) override;

private:
    void setRowKinds(int row) override;
    void fillRow(int row, const CStatDetector& detector) override;
    bool editItem(CStatDetector& detector, int row, int column) override;

    int roadLength;
};
