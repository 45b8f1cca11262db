#include "app/CSplitterWnd.h"

#include "app/CRoadfluxView.h"

#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

CSplitterWnd::CSplitterWnd(ViewFactory factory, QWidget* parent)
    : QWidget(parent), makeView(std::move(factory)), rows(new QSplitter(Qt::Vertical, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(rows);
    connect(rows, &QSplitter::splitterMoved, this, [this] { removeTinyPanes(); });
    addRow()->addWidget(newView());
}

QSplitter* CSplitterWnd::addRow()
{
    auto* row = new QSplitter(Qt::Horizontal);
    rows->addWidget(row);
    rowSplitters.append(row);
    connect(row, &QSplitter::splitterMoved, this, [this, row] {
        alignColumns(row);
        removeTinyPanes();
    });
    return row;
}

CRoadfluxView* CSplitterWnd::newView()
{
    CRoadfluxView* view = makeView();
    emit viewCreated(view);
    return view;
}

int CSplitterWnd::rowCount() const
{
    return static_cast<int>(rowSplitters.size());
}

int CSplitterWnd::columnCount() const
{
    return rowSplitters.isEmpty() ? 0 : rowSplitters.first()->count();
}

CRoadfluxView* CSplitterWnd::pane(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return nullptr;
    return qobject_cast<CRoadfluxView*>(rowSplitters[row]->widget(column));
}

QList<CRoadfluxView*> CSplitterWnd::views() const
{
    QList<CRoadfluxView*> all;
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            if (CRoadfluxView* view = pane(r, c))
                all.append(view);
    return all;
}

bool CSplitterWnd::splitRow()
{
    if (rowCount() >= maxRows)
        return false;
    const QList<int> columnSizes = rowSplitters.first()->sizes();
    QSplitter* row = addRow();
    for (int c = 0; c < columnSizes.size(); ++c)
        row->addWidget(newView());
    row->setSizes(columnSizes);
    const int height = rows->height();
    rows->setSizes({height / 2, height - height / 2});
    emit viewsChanged();
    return true;
}

bool CSplitterWnd::splitColumn()
{
    if (columnCount() >= maxColumns)
        return false;
    const int width = rowSplitters.first()->width();
    for (QSplitter* row : rowSplitters)
    {
        row->addWidget(newView());
        row->setSizes({width / 2, width - width / 2});
    }
    emit viewsChanged();
    return true;
}

bool CSplitterWnd::deleteRow(int row)
{
    if (rowCount() <= 1 || row < 0 || row >= rowCount())
        return false;
    QSplitter* removed = rowSplitters.takeAt(row);
    removed->hide();
    removed->deleteLater();
    removed->setParent(nullptr);
    emit viewsChanged();
    return true;
}

bool CSplitterWnd::deleteColumn(int column)
{
    if (columnCount() <= 1 || column < 0 || column >= columnCount())
        return false;
    for (QSplitter* row : rowSplitters)
    {
        QWidget* view = row->widget(column);
        view->hide();
        view->setParent(nullptr);
        view->deleteLater();
    }
    emit viewsChanged();
    return true;
}

void CSplitterWnd::alignColumns(const QSplitter* source)
{
    const QList<int> sizes = source->sizes();
    for (QSplitter* row : rowSplitters)
        if (row != source)
            row->setSizes(sizes);
}

void CSplitterWnd::removeTinyPanes()
{
    // Deleting a pane inside the splitter's own drag handling would pull the handle away from
    // under it: the check runs once the drag step is over.
    QTimer::singleShot(0, this, [this] {
        if (rowCount() > 1)
        {
            const QList<int> sizes = rows->sizes();
            for (int r = 0; r < sizes.size(); ++r)
                if (sizes[r] < minPaneSize)
                {
                    deleteRow(r);
                    return;
                }
        }
        if (columnCount() > 1)
        {
            const QList<int> sizes = rowSplitters.first()->sizes();
            for (int c = 0; c < sizes.size(); ++c)
                if (sizes[c] < minPaneSize)
                {
                    deleteColumn(c);
                    return;
                }
        }
    });
}
