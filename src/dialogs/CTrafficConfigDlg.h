#pragma once
// The traffic model dialog: the ten driver-model parameters of each vehicle class, each a
// distribution with its location, scale and shape, one class at a time in a grid; a button copies
// all ten from another class. Edits go into the dialog's copies; OK hands them back.

#include "config/CIDMParameterSet.h"

#include <QDialog>

#include <array>

class CGridCellTip;
class CGridCtrl;
class QComboBox;

class CTrafficConfigDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int classCount = 5;

    explicit CTrafficConfigDlg(QWidget* parent = nullptr);

    // Shows class 0 with the sets as they are now.
    void initialise();
    void fillGrid();
    void selectClass(int vehicleClass);
    void selectSource(int vehicleClass);
    void copyFromSource();
    // OK: closes only when every number of every class is finite and usable (no desired
    // velocity, acceleration or deceleration centred at or below 0, no negative scale), else
    // points at the first.
    void accept() override;

    std::array<CIDMParameterSet, classCount> parameterSets;
    CGridCtrl* getGrid() const { return grid; }
    int getCurrentClass() const { return currentSet; }

    static const QStringList& classNames();

private:
    bool endEdit(int row, int column);
    // Parameter index (0 to 9) of the shown class, or of vehicleClass.
    CParameter& parameter(int index);
    CParameter& parameterOf(int vehicleClass, int index);
    // The number a grid column shows: 2 location, 3 scale, 4 shape.
    static double numberOf(const CDistribution& distribution, int column);

    int currentSet = 0;
    int sourceSet = -1;  // none until the user chooses one
    CGridCtrl* grid;
    QComboBox* classBox;
    QComboBox* sourceBox;
    CGridCellTip* cellTip;
};
