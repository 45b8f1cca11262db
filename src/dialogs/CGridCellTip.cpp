#include "dialogs/CGridCellTip.h"

#include "dialogs/CMessageTip.h"
#include "widgets/CGridCtrl.h"

#include <QApplication>

CGridCellTip::CGridCellTip(CGridCtrl& cells, QWidget& owner) : QObject(&owner), grid(cells), dialog(owner)
{
    connect(&grid, &CGridCtrl::editRefused, this, &CGridCellTip::pointAt);
}

void CGridCellTip::pointAt(int row, int column, const QString& message)
{
    if (!tip)
    {
        tip = new CMessageTip;
        tip->create(&dialog);
    }
    grid.setCurrentCell(row, column);
    const QRect cell = grid.cellRect(row, column);
    QApplication::beep();
    tip->showTip(QRect(grid.mapTo(&dialog, cell.topLeft()), cell.size()), message);
}

CMessageTip* CGridCellTip::getTip() const
{
    return tip;
}
