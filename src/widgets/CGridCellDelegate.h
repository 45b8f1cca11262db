#pragma once
// The grid's in-place editors: a drop-down list or a line edit that accepts only what the cell's
// input rule allows. Committing an edit goes through the grid, which asks the dialog.

#include <QStyledItemDelegate>

class CGridCtrl;

class CGridCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CGridCellDelegate(CGridCtrl& grid);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    // Enter in an editor ends the edit and moves down, and goes no further: a dialog would take it
    // for its default button.
    bool eventFilter(QObject* editor, QEvent* event) override;

private:
    CGridCtrl& grid;
};
