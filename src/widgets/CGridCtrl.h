#pragma once
// An editable grid for the configuration dialogs: a fixed header row (row 0) and a fixed label
// column (column 0) around cells that are drop-down lists or numbers with an input rule. The
// dialog hears of every finished edit and may reject it, which puts the previous content back.
// Enter works as in a spreadsheet: it starts editing the current cell, or ends the edit and moves
// down; it never reaches the dialog's default button.

#include <QMap>
#include <QStringList>
#include <QWidget>

#include <functional>

class QTableWidget;
class QTableWidgetItem;

class CGridCtrl : public QWidget
{
    Q_OBJECT

public:
    enum class CellKind
    {
        fixed,          // text only the program writes
        dropDown,       // one item of a list, no free text
        integer,        // digits only
        decimal,        // digits and one decimal point
        signedDecimal,  // a leading minus sign too
        text,           // any text, such as a name
    };

    explicit CGridCtrl(QWidget* parent = nullptr);

    // Counts include the header row and the label column.
    void setRowCount(int rows);
    void setColumnCount(int columns);
    int rowCount() const;
    int columnCount() const;

    void setText(int row, int column, const QString& text);
    QString text(int row, int column) const;
    void setCellKind(int row, int column, CellKind kind, const QStringList& items = {});
    CellKind cellKind(int row, int column) const;
    QStringList cellItems(int row, int column) const;
    // Shows value with the significant digits of its column (10 unless set).
    void setNumber(int row, int column, double value);
    void setColumnPrecision(int column, int significantDigits);
    // The cell's number as the C library's atof reads its text.
    double number(int row, int column) const;
    // The number truncated toward zero, held within the range of an int.
    int truncatedNumber(int row, int column) const;

    // Called when the user has finished editing a cell; false rejects the new content.
    std::function<bool(int row, int column)> onEndEdit;

    // An edit as the user makes it: checked against the cell's rule, then reported. False when
    // the text breaks the rule or the dialog rejected it. A decimal too large to hold is refused
    // with editRefused.
    bool editCell(int row, int column, const QString& text);
    static bool acceptsText(CellKind kind, const QStringList& items, const QString& text);
    static QString tooLargeMessage() { return QStringLiteral("This number is too large."); }

    // Keeps the label column at least as wide as sample, even while the grid has no rows.
    void reserveLabelWidth(const QString& sample);
    // The cell's rectangle in the grid's own coordinates, scrolled into view first.
    QRect cellRect(int row, int column);
    void setCurrentCell(int row, int column);

    QTableWidget* table() const { return grid; }

signals:
    // The grid refused an edit of its own accord; the dialog may point at the cell.
    void editRefused(int row, int column, const QString& message);

protected:
    // Paints the corner cell's text over the table's corner button.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableWidgetItem* item(int row, int column) const;
    QTableWidgetItem* ensureItem(int row, int column);
    // After an edit ended with Enter: the cell below becomes current.
    void moveDown();
    void widenLabelColumn(const QString& text);

    QTableWidget* grid;
    QString cornerText;              // the text of cell (0, 0)
    QMap<int, int> columnPrecision;  // significant digits by column
    int labelWidth = 0;              // pixels
    friend class CGridCellDelegate;
};
