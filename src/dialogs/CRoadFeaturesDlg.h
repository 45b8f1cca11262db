#pragma once
// The road features dialog: the study's speed-limit and gradient sections, one grid row each,
// with buttons to add one at the end or delete the last. OK checks them against the road, the
// configured limits and each other, and points at the grid when one fails.

#include "config/CRoadFeature.h"
#include "dialogs/CDialogExt.h"

#include <memory>
#include <vector>

class CGridCtrl;

class CRoadFeaturesDlg : public CDialogExt
{
    Q_OBJECT

public:
    using FeatureList = std::vector<std::unique_ptr<CRoadFeature>>;

    // roadLength: m, as the view lays out the road.
    CRoadFeaturesDlg(const FeatureList& studyFeatures, int roadLength, QWidget* parent = nullptr);

    void fillGrid();
    void rebuildRows();
    void addFeature();
    void deleteLastFeature();
    void validateData(int& badControlId, QString& message) override;

    const FeatureList& getFeatures() const { return features; }
    CGridCtrl* getGrid() const { return grid; }

private:
    bool endEdit(int row, int column);
    // The feature's value in its unit: km/h for a speed limit, % for a gradient.
    void showValue(int row);

    FeatureList features;
    int roadLength;
    int maxGradient;     // %
    int minSpeedLimit;   // km/h
    int maxSpeedLimit;   // km/h
    CGridCtrl* grid;
};
