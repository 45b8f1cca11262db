#pragma once
// The traffic model dialog: the ten driver-model parameters of each vehicle class, each a
// distribution with its location, scale and shape, one class at a time in a grid; a button copies
// all ten from another class. Edits go into the dialog's copies; OK hands them back.

#include "config/CIDMParameterSet.h"

#include <QDialog>

#include <array>

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

    std::array<CIDMParameterSet, classCount> parameterSets;
    CGridCtrl* getGrid() const { return grid; }
    int getCurrentClass() const { return currentSet; }

    static const QStringList& classNames();

private:
    bool endEdit(int row, int column);
    CParameter& parameter(int index);

    int currentSet = 0;
    int sourceSet = -1;  // none until the user chooses one
    CGridCtrl* grid;
    QComboBox* classBox;
    QComboBox* sourceBox;
};
