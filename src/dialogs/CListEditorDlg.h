#pragma once
// What the road features and metrics detectors dialogs share: a copy of one of the study's
// lists, edited on a grid of one row per item under buttons that add an item at the end or
// delete the last one. A subclass says how a row shows and takes an item, and checks the list.

#include "dialogs/CDialogExt.h"
#include "dialogs/CUserDialogs.h"
#include "document/StudyChecks.h"
#include "document/StudyRefusal.h"
#include "widgets/CGridCtrl.h"

#include <QSize>
#include <QStringList>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

template <class Item>
class CListEditorDlg : public CDialogExt
{
public:
    using ItemList = std::vector<std::unique_ptr<Item>>;

    const ItemList& getItems() const { return items; }
    CGridCtrl* getGrid() const { return grid; }

    void addItem()
    {
        items.push_back(std::make_unique<Item>());
        showItems();
    }

    void deleteLastItem()
    {
        if (items.empty())
        {
            userDialogs().warn(wording.nothingToDelete);
            return;
        }
        items.pop_back();
        showItems();
    }

    // One row per item, headed "<row name> <number>", with the cell kinds of its columns.
    void rebuildRows()
    {
        grid->setRowCount(1 + static_cast<int>(items.size()));
        for (int row = 1; row < grid->rowCount(); ++row)
        {
            grid->setText(row, 0, QStringLiteral("%1 %2").arg(wording.rowName).arg(row));
            setRowKinds(row);
        }
    }

    void fillGrid()
    {
        for (std::size_t i = 0; i < items.size(); ++i)
            fillRow(static_cast<int>(i) + 1, *items[i]);
    }

protected:
    // The texts and controls that tell one list editor from the other.
    struct Wording
    {
        QString title;
        QString rowName;
        CDialogExt::ListButton add;     // the click is the editor's own: addItem
        CDialogExt::ListButton remove;  // the click is the editor's own: deleteLastItem
        std::string nothingToDelete;
        QStringList columnTitles;  // of the columns after the row headings
        QSize size;                // pixels, at the start
    };

    CListEditorDlg(const ItemList& studyItems, Wording listWording, QWidget* parent)
        : CDialogExt(parent), wording(std::move(listWording)), grid(new CGridCtrl)
    {
        setWindowTitle(wording.title);
        for (const auto& item : studyItems)
            items.push_back(std::make_unique<Item>(*item));

        setControlId(grid, StudyChecks::gridControl);
        grid->onEndEdit = [this](int row, int column) { return endEdit(row, column); };
        wording.add.onClick = [this] { addItem(); };
        wording.remove.onClick = [this] { deleteLastItem(); };
        layOutListEditor(grid, wording.add, wording.remove, wording.size.width(), wording.size.height());

        grid->setColumnCount(1 + static_cast<int>(wording.columnTitles.size()));
        // An empty list keeps room for its row headings.
        grid->reserveLabelWidth(QStringLiteral("%1 99").arg(wording.rowName));
        for (int column = 1; column < grid->columnCount(); ++column)
            grid->setText(0, column, wording.columnTitles[column - 1]);
    }

    // Rows and contents anew. A subclass calls it at the end of its constructor, when the rows'
    // virtual functions can be called.
    void showItems()
    {
        rebuildRows();
        fillGrid();
    }

    virtual void setRowKinds(int row) = 0;
    virtual void fillRow(int row, const Item& item) = 0;
    // Takes the edited cell into the item; false refuses the edit.
    virtual bool editItem(Item& item, int row, int column) = 0;

    // Hands a refusal of the list's check to OK.
    static void report(const std::optional<StudyRefusal>& refusal, int& badControlId, QString& message)
    {
        if (!refusal)
            return;
        message = QString::fromStdString(refusal->message);
        badControlId = refusal->controlId;
    }

private:
    bool endEdit(int row, int column)
    {
        if (row < 1 || row > static_cast<int>(items.size()))
            return false;
        return editItem(*items[static_cast<std::size_t>(row - 1)], row, column);
    }

    Wording wording;
    ItemList items;
    CGridCtrl* grid;
};
