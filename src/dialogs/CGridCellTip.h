#pragma once
// Points at one cell of a dialog's grid with the pop-up tip and a beep: an edit the grid refused,
// or a value the dialog will not accept on OK.

#include <QObject>
#include <QPointer>
#include <QString>

class CGridCtrl;
class CMessageTip;
class QWidget;

class CGridCellTip : public QObject
{
    Q_OBJECT

public:
    // Listens to the grid's refusals; the tip belongs to dialog.
    CGridCellTip(CGridCtrl& grid, QWidget& dialog);

    // Makes the cell current and shows message next to it.
    void pointAt(int row, int column, const QString& message);
    CMessageTip* getTip() const;

private:
    CGridCtrl& grid;
    QWidget& dialog;
    QPointer<CMessageTip> tip;
};
