#pragma once
// The Bridges dialog: the study's bridges, one grid row each (name, start, span, effect,
// directions, interval, lane factors), with buttons to add one at the end or delete the last.
// OK reads and checks every row against the study's road and points the tip at the first bad cell.

#include "dialogs/CDialogExt.h"
#include "loadeffects/BridgeSet.h"

class CGridCtrl;

class CBridgesDlg : public CDialogExt
{
    Q_OBJECT

public:
    enum Column
    {
        nameColumn = 1,
        startColumn,
        spanColumn,
        effectColumn,
        directionsColumn,
        intervalColumn,
        laneFactorsColumn,
        columnCount,
    };

    CBridgesDlg(const BridgeSet& studyBridges, const RoadLayout& road, QWidget* parent = nullptr);

    void addBridge();
    void deleteLastBridge();
    void validateData(int& badControlId, QString& message) override;
    void accept() override;

    // The bridges as the grid shows them; valid once validateData passed.
    const BridgeSet& getBridges() const { return bridges; }
    CGridCtrl* getGrid() const { return grid; }
    // The grid cell of the last refusal (row, column), or (0, 0) when there was none.
    QPoint getBadCell() const { return badCell; }
    // The rectangle of a cell in the dialog's coordinates, where the tip points.
    QRect cellRect(int row, int column) const;

private:
    void setRowKinds(int row);
    void showBridge(int row, const Bridge& bridge);
    // Reads one row into bridge; on a bad text returns false with the column and message.
    bool readRow(int row, Bridge& bridge, int& badColumn, QString& problem) const;

    BridgeSet bridges;
    RoadLayout road;
    CGridCtrl* grid;
    QPoint badCell;
};
