#pragma once
// An editable grid for the configuration dialogs: a fixed header row (row 0) and a fixed label
// column (column 0) around cells that are drop-down lists or numbers with an input rule. The
// dialog hears of every finished edit and may reject it, which puts the previous content back.

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
    void setNumber(int row, int column, double value);
    // The cell's number as the C library's atof reads its text.
    double number(int row, int column) const;
    // The number truncated toward zero, held within the range of an int.
    int truncatedNumber(int row, int column) const;

    // Called when the user has finished editing a cell; false rejects the new content.
    std::function<bool(int row, int column)> onEndEdit;

    // An edit as the user makes it: checked against the cell's rule, then reported. False when
    // the text breaks the rule or the dialog rejected it.
    bool editCell(int row, int column, const QString& text);
    static bool acceptsText(CellKind kind, const QStringList& items, const QString& text);

    QTableWidget* table() const { return grid; }

protected:
    // Paints the corner cell's text over the table's corner button.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableWidgetItem* item(int row, int column) const;
    QTableWidgetItem* ensureItem(int row, int column);

    QTableWidget* grid;
    QString cornerText;  // the text of cell (0, 0)
    friend class CGridCellDelegate;
};
