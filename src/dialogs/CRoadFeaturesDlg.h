#pragma once
// The road features dialog: the study's speed-limit and gradient sections, one grid row each,
// with buttons to add one at the end or delete the last. OK checks them against the road, the
// configured limits and each other, and points at the grid when one fails.

#include "config/CRoadFeature.h"
#include "dialogs/CListEditorDlg.h"

class CRoadFeaturesDlg : public CListEditorDlg<CRoadFeature>
{
    Q_OBJECT

public:
    // roadLength: m, as the view lays out the road.
    CRoadFeaturesDlg(const ItemList& studyFeatures, int roadLength, QWidget* parent = nullptr);

    void validateData(int& badControlId, QString& message) override;

private:
    void setRowKinds(int row) override;
    void fillRow(int row, const CRoadFeature& feature) override;
    bool editItem(CRoadFeature& feature, int row, int column) override;
    // The feature's value in its unit: km/h for a speed limit, % for a gradient.
    void showValue(int row, const CRoadFeature& feature);

    int roadLength;
    int maxGradient;    // %
    int minSpeedLimit;  // km/h
    int maxSpeedLimit;  // km/h
};
