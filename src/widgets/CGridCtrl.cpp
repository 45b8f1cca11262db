#include "widgets/CGridCtrl.h"

#include "widgets/CGridCellDelegate.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QStyleOptionHeader>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>
#include <cstdlib>

namespace {
constexpr int kindRole = Qt::UserRole + 1;
constexpr int itemsRole = Qt::UserRole + 2;
}

CGridCtrl::CGridCtrl(QWidget* parent) : QWidget(parent), grid(new QTableWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid);
    grid->setItemDelegate(new CGridCellDelegate(*this));
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                          QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    if (auto* corner = grid->findChild<QAbstractButton*>())
        corner->installEventFilter(this);
    grid->installEventFilter(this);
}

bool CGridCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grid && event->type() == QEvent::KeyPress)
    {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return QWidget::eventFilter(watched, event);
        // Enter on the grid itself starts an edit; an open editor ends its own (see the delegate).
        if (QApplication::focusWidget() == grid && grid->currentIndex().isValid())
            grid->edit(grid->currentIndex());
        return true;
    }
    if (event->type() != QEvent::Paint || cornerText.isEmpty() || watched == grid)
        return QWidget::eventFilter(watched, event);
    // The corner is drawn as a header section that carries the corner cell's text.
    auto* corner = static_cast<QWidget*>(watched);
    QStyleOptionHeader option;
    option.initFrom(corner);
    option.rect = corner->rect();
    option.text = cornerText;
    option.textAlignment = Qt::AlignCenter;
    option.position = QStyleOptionHeader::OnlyOneSection;
    QPainter painter(corner);
    corner->style()->drawControl(QStyle::CE_Header, &option, &painter, corner);
    return true;
}

void CGridCtrl::setRowCount(int rows)
{
    grid->setRowCount(std::max(rows - 1, 0));
}

void CGridCtrl::setColumnCount(int columns)
{
    grid->setColumnCount(std::max(columns - 1, 0));
}

int CGridCtrl::rowCount() const
{
    return grid->rowCount() + 1;
}

int CGridCtrl::columnCount() const
{
    return grid->columnCount() + 1;
}

QTableWidgetItem* CGridCtrl::item(int row, int column) const
{
    if (row <= 0 || column <= 0)
        return nullptr;
    return grid->item(row - 1, column - 1);
}

QTableWidgetItem* CGridCtrl::ensureItem(int row, int column)
{
    if (row <= 0 || column <= 0 || row >= rowCount() || column >= columnCount())
        return nullptr;
    QTableWidgetItem* cell = grid->item(row - 1, column - 1);
    if (!cell)
    {
        cell = new QTableWidgetItem;
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        cell->setData(kindRole, static_cast<int>(CellKind::fixed));
        grid->setItem(row - 1, column - 1, cell);
    }
    return cell;
}

void CGridCtrl::setText(int row, int column, const QString& text)
{
    if (row == 0 && column == 0)
    {
        cornerText = text;
        widenLabelColumn(text);
        update();
        return;
    }
    if (row == 0 && column > 0 && column < columnCount())
    {
        grid->setHorizontalHeaderItem(column - 1, new QTableWidgetItem(text));
        return;
    }
    if (column == 0 && row > 0 && row < rowCount())
    {
        grid->setVerticalHeaderItem(row - 1, new QTableWidgetItem(text));
        widenLabelColumn(text);
        return;
    }
    if (QTableWidgetItem* cell = ensureItem(row, column))
        cell->setText(text);
}

void CGridCtrl::reserveLabelWidth(const QString& sample)
{
    widenLabelColumn(sample);
}

void CGridCtrl::widenLabelColumn(const QString& text)
{
    // The header sizes itself from its sections, and an empty grid has none.
    labelWidth = std::max(labelWidth, fontMetrics().horizontalAdvance(text) + 12);
    grid->verticalHeader()->setMinimumWidth(labelWidth);
}

QRect CGridCtrl::cellRect(int row, int column)
{
    if (row <= 0 || column <= 0 || row >= rowCount() || column >= columnCount())
        return QRect();
    const QModelIndex index = grid->model()->index(row - 1, column - 1);
    grid->scrollTo(index);
    const QRect inViewport = grid->visualRect(index);
    return QRect(grid->viewport()->mapTo(this, inViewport.topLeft()), inViewport.size());
}

void CGridCtrl::setCurrentCell(int row, int column)
{
    if (row > 0 && column > 0 && row < rowCount() && column < columnCount())
        grid->setCurrentCell(row - 1, column - 1);
}

void CGridCtrl::moveDown()
{
    const QModelIndex current = grid->currentIndex();
    if (current.isValid() && current.row() + 1 < grid->rowCount())
        grid->setCurrentCell(current.row() + 1, current.column());
}

QString CGridCtrl::text(int row, int column) const
{
    if (row == 0 && column == 0)
        return cornerText;
    if (row == 0 && column > 0 && column < columnCount())
    {
        const QTableWidgetItem* header = grid->horizontalHeaderItem(column - 1);
        return header ? header->text() : QString();
    }
    if (column == 0 && row > 0 && row < rowCount())
    {
        const QTableWidgetItem* header = grid->verticalHeaderItem(row - 1);
        return header ? header->text() : QString();
    }
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void CGridCtrl::setCellKind(int row, int column, CellKind kind, const QStringList& items)
{
    QTableWidgetItem* cell = ensureItem(row, column);
    if (!cell)
        return;
    cell->setData(kindRole, static_cast<int>(kind));
    cell->setData(itemsRole, items);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (kind != CellKind::fixed)
        flags |= Qt::ItemIsEditable;
    cell->setFlags(flags);
    if (kind == CellKind::integer || kind == CellKind::decimal || kind == CellKind::signedDecimal)
        cell->setTextAlignment(Qt::AlignCenter);
}

CGridCtrl::CellKind CGridCtrl::cellKind(int row, int column) const
{
    const QTableWidgetItem* cell = item(row, column);
    return cell ? static_cast<CellKind>(cell->data(kindRole).toInt()) : CellKind::fixed;
}

QStringList CGridCtrl::cellItems(int row, int column) const
{
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->data(itemsRole).toStringList() : QStringList();
}

void CGridCtrl::setNumber(int row, int column, double value)
{
    setText(row, column, QString::number(value, 'g', columnPrecision.value(column, 10)));
}

void CGridCtrl::setColumnPrecision(int column, int significantDigits)
{
    columnPrecision.insert(column, significantDigits);
}

double CGridCtrl::number(int row, int column) const
{
    return std::atof(text(row, column).toLatin1().constData());
}

int CGridCtrl::truncatedNumber(int row, int column) const
{
    const double value = number(row, column);
    if (!(value > -2147483648.0))
        return value != value ? 0 : -2147483647 - 1;
    if (value >= 2147483647.0)
        return 2147483647;
    return static_cast<int>(value);
}

bool CGridCtrl::acceptsText(CellKind kind, const QStringList& items, const QString& text)
{
    switch (kind)
    {
    case CellKind::fixed: return false;
    case CellKind::text: return true;
    case CellKind::dropDown: return text.isEmpty() || items.contains(text);
    case CellKind::integer: return QRegularExpression(QStringLiteral("^\\d*$")).match(text).hasMatch();
    case CellKind::decimal: return QRegularExpression(QStringLiteral("^\\d*\\.?\\d*$")).match(text).hasMatch();
    case CellKind::signedDecimal: return QRegularExpression(QStringLiteral("^-?\\d*\\.?\\d*$")).match(text).hasMatch();
    }
    return false;
}

bool CGridCtrl::editCell(int row, int column, const QString& newText)
{
    QTableWidgetItem* cell = item(row, column);
    const CellKind kind = cellKind(row, column);
    if (!cell || !acceptsText(kind, cellItems(row, column), newText))
        return false;
    // Whole numbers are held within the range of an int; a decimal has no such limit, and one
    // too large for a double would be stored as an infinity.
    const bool decimal = kind == CellKind::decimal || kind == CellKind::signedDecimal;
    if (decimal && !std::isfinite(std::atof(newText.toLatin1().constData())))
    {
        emit editRefused(row, column, tooLargeMessage());
        return false;
    }
    const QString previous = cell->text();
    cell->setText(newText);
    if (!onEndEdit || onEndEdit(row, column))
        return true;
    cell->setText(previous);
    return false;
}
