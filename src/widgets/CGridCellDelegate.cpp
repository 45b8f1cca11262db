#include "widgets/CGridCellDelegate.h"

#include "widgets/CGridCtrl.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {
QString patternOf(CGridCtrl::CellKind kind)
{
    switch (kind)
    {
    case CGridCtrl::CellKind::integer: return QStringLiteral("\\d*");
    case CGridCtrl::CellKind::decimal: return QStringLiteral("\\d*\\.?\\d*");
    case CGridCtrl::CellKind::signedDecimal: return QStringLiteral("-?\\d*\\.?\\d*");
    default: return QStringLiteral(".*");
    }
}
}

CGridCellDelegate::CGridCellDelegate(CGridCtrl& owner) : QStyledItemDelegate(&owner), grid(owner) {}

QWidget* CGridCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const int row = index.row() + 1;
    const int column = index.column() + 1;
    const CGridCtrl::CellKind kind = grid.cellKind(row, column);
    if (kind == CGridCtrl::CellKind::fixed)
        return nullptr;
    if (kind == CGridCtrl::CellKind::dropDown)
    {
        auto* list = new QComboBox(parent);
        list->addItems(grid.cellItems(row, column));
        return list;
    }
    auto* edit = new QLineEdit(parent);
    edit->setAlignment(Qt::AlignCenter);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(patternOf(kind)), edit));
    return edit;
}

void CGridCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    if (auto* list = qobject_cast<QComboBox*>(editor))
        list->setCurrentIndex(list->findText(text));
    else if (auto* edit = qobject_cast<QLineEdit*>(editor))
        edit->setText(text);
}

void CGridCellDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const
{
    QString text;
    if (auto* list = qobject_cast<QComboBox*>(editor))
        text = list->currentText();
    else if (auto* edit = qobject_cast<QLineEdit*>(editor))
        text = edit->text();
    grid.editCell(index.row() + 1, index.column() + 1, text);
}

bool CGridCellDelegate::eventFilter(QObject* editor, QEvent* event)
{
    if (event->type() == QEvent::KeyPress)
    {
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* widget = qobject_cast<QWidget*>(editor);
        if (widget && (key == Qt::Key_Return || key == Qt::Key_Enter))
        {
            emit commitData(widget);
            emit closeEditor(widget, QAbstractItemDelegate::NoHint);
            grid.moveDown();
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(editor, event);
}
