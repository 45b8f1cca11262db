#pragma once
// The main window's client area: a dynamic splitter of up to 2 x 2 panes, each a view of its own
// with its own display settings and run state. A pane dragged below 10 pixels goes away.

#include <QList>
#include <QWidget>

#include <functional>

class CRoadfluxView;
class QSplitter;

class CSplitterWnd : public QWidget
{
    Q_OBJECT

public:
    static constexpr int maxRows = 2;
    static constexpr int maxColumns = 2;
    static constexpr int minPaneSize = 10;  // pixels

    using ViewFactory = std::function<CRoadfluxView*()>;

    // factory makes the view of each new pane; the first pane is made at once.
    explicit CSplitterWnd(ViewFactory factory, QWidget* parent = nullptr);

    int rowCount() const;
    int columnCount() const;
    CRoadfluxView* pane(int row, int column) const;
    QList<CRoadfluxView*> views() const;

    // Adds a row or a column of new panes, up to the maximum; false when already there.
    bool splitRow();
    bool splitColumn();
    // Removes a row or column with its views; the last pane stays.
    bool deleteRow(int row);
    bool deleteColumn(int column);

signals:
    void viewCreated(CRoadfluxView* view);
    void viewsChanged();

private:
    QSplitter* addRow();
    CRoadfluxView* newView();
    void alignColumns(const QSplitter* source);
    void removeTinyPanes();

    ViewFactory makeView;
    QSplitter* rows;
    QList<QSplitter*> rowSplitters;
};
