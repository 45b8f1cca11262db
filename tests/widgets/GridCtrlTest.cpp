// The editable grid: its fixed header row and label column, the input rules of its cells, and
// edits the dialog rejects.

#include "widgets/CGridCtrl.h"

#include <gtest/gtest.h>

TEST(GridCtrl, HeaderRowAndLabelColumnHoldTitles)
{
    CGridCtrl grid;
    grid.setRowCount(3);
    grid.setColumnCount(3);
    grid.setText(0, 1, "Value");
    grid.setText(2, 0, "Feature 2");
    grid.setText(1, 1, "x");
    EXPECT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(grid.columnCount(), 3);
    EXPECT_EQ(grid.text(0, 1), "Value");
    EXPECT_EQ(grid.text(2, 0), "Feature 2");
    EXPECT_EQ(grid.text(1, 1), "x");
    EXPECT_FALSE(grid.editCell(1, 1, "y"));  // a cell without a kind cannot be edited
}

TEST(GridCtrl, CellsAcceptOnlyWhatTheirRuleAllows)
{
    using Kind = CGridCtrl::CellKind;
    EXPECT_TRUE(CGridCtrl::acceptsText(Kind::integer, {}, "120"));
    EXPECT_FALSE(CGridCtrl::acceptsText(Kind::integer, {}, "12.5"));
    EXPECT_FALSE(CGridCtrl::acceptsText(Kind::integer, {}, "-3"));
    EXPECT_TRUE(CGridCtrl::acceptsText(Kind::decimal, {}, "12.5"));
    EXPECT_FALSE(CGridCtrl::acceptsText(Kind::decimal, {}, "1.2.5"));
    EXPECT_FALSE(CGridCtrl::acceptsText(Kind::decimal, {}, "-1"));
    EXPECT_TRUE(CGridCtrl::acceptsText(Kind::signedDecimal, {}, "-20.5"));
    EXPECT_FALSE(CGridCtrl::acceptsText(Kind::signedDecimal, {}, "2-0"));
    EXPECT_TRUE(CGridCtrl::acceptsText(Kind::dropDown, {"Gradient", "Speed Limit"}, "Gradient"));
    EXPECT_FALSE(CGridCtrl::acceptsText(Kind::dropDown, {"Gradient", "Speed Limit"}, "Slope"));
}

TEST(GridCtrl, RejectedEditShowsThePreviousContent)
{
    CGridCtrl grid;
    grid.setRowCount(2);
    grid.setColumnCount(3);
    grid.setCellKind(1, 1, CGridCtrl::CellKind::dropDown, {"Normal", "Gamma"});
    grid.setCellKind(1, 2, CGridCtrl::CellKind::signedDecimal);
    grid.setText(1, 1, "Normal");
    grid.setNumber(1, 2, 1.5);
    int reports = 0;
    grid.onEndEdit = [&](int row, int column) {
        ++reports;
        return !(row == 1 && column == 1 && grid.text(row, column).isEmpty());
    };
    EXPECT_FALSE(grid.editCell(1, 1, ""));
    EXPECT_EQ(grid.text(1, 1), "Normal");
    EXPECT_TRUE(grid.editCell(1, 1, "Gamma"));
    EXPECT_EQ(grid.text(1, 1), "Gamma");
    EXPECT_TRUE(grid.editCell(1, 2, "-2.25"));
    EXPECT_DOUBLE_EQ(grid.number(1, 2), -2.25);
    EXPECT_FALSE(grid.editCell(1, 2, "abc"));  // refused by the rule, never reported
    EXPECT_EQ(reports, 3);
}

TEST(GridCtrl, HugeNumbersTruncateWithinRange)
{
    CGridCtrl grid;
    grid.setRowCount(2);
    grid.setColumnCount(2);
    grid.setCellKind(1, 1, CGridCtrl::CellKind::integer);
    grid.setText(1, 1, "99999999999999");
    EXPECT_EQ(grid.truncatedNumber(1, 1), 2147483647);
    grid.setText(1, 1, "250.9");
    EXPECT_EQ(grid.truncatedNumber(1, 1), 250);
}
