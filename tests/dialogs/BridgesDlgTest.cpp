// The Bridges dialog: rows added and deleted, every bad value refused at OK with the tip at its
// cell (the messages of the bridges' own checks), and good values handed back as a set.

#include "../app/RecordingDialogs.h"
#include "app/CRoadfluxDoc.h"
#include "app/CStudyEditing.h"
#include "dialogs/CBridgesDlg.h"
#include "dialogs/CMessageTip.h"
#include "widgets/CGridCtrl.h"

#include <QApplication>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace {
const RoadLayout road{3000.0, 2, 1, 0.1};

BridgeSet oneBridge()
{
    Bridge bridge;
    bridge.name = "Viaduct";
    bridge.start = 1200.0;
    bridge.span = 40.0;
    bridge.laneFactors = {{2, 0.9}};
    return BridgeSet{{bridge}};
}

// The refusal at OK: the cell pointed at and the message; (0, 0) and "" when accepted.
std::pair<QPoint, QString> refusal(CBridgesDlg& dialog)
{
    int control = -1;
    QString message;
    dialog.validateData(control, message);
    return {message.isEmpty() ? QPoint() : dialog.getBadCell(), message};
}
}

TEST(BridgesDialog, ShowsTheBridgesAndAddsAndDeletesRows)
{
    RecordingDialogs dialogs;
    CBridgesDlg dialog(oneBridge(), road);
    CGridCtrl* grid = dialog.getGrid();
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->text(1, CBridgesDlg::nameColumn), "Viaduct");
    EXPECT_EQ(grid->text(1, CBridgesDlg::startColumn), "1200");
    EXPECT_EQ(grid->text(1, CBridgesDlg::effectColumn), "midspan-moment");
    EXPECT_EQ(grid->text(1, CBridgesDlg::directionsColumn), "both");
    EXPECT_EQ(grid->text(1, CBridgesDlg::intervalColumn), "86400");
    EXPECT_EQ(grid->text(1, CBridgesDlg::laneFactorsColumn), "2:0.9");

    dialog.addBridge();
    ASSERT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->text(2, CBridgesDlg::nameColumn), "bridge2");
    EXPECT_EQ(refusal(dialog).second, "");  // a new row is valid as it comes
    ASSERT_EQ(dialog.getBridges().bridges.size(), 2u);
    EXPECT_DOUBLE_EQ(dialog.getBridges().bridges[1].span, 20.0);

    dialog.deleteLastBridge();
    dialog.deleteLastBridge();
    EXPECT_TRUE(dialogs.warnings.empty());
    dialog.deleteLastBridge();
    ASSERT_EQ(dialogs.warnings.size(), 1u);
    EXPECT_EQ(dialogs.warnings[0], "No bridge to delete.");
    EXPECT_EQ(refusal(dialog).second, "");
    EXPECT_TRUE(dialog.getBridges().empty());
}

TEST(BridgesDialog, RefusesEachBadValueAtItsCell)
{
    RecordingDialogs dialogs;
    struct Case
    {
        int column;
        QString text;
        QString start;  // how the message begins
    };
    const Case cases[] = {
        {CBridgesDlg::nameColumn, "", "Bridge 1, Name: "},
        {CBridgesDlg::startColumn, "", "Bridge 1, Start (m): Enter a number."},
        {CBridgesDlg::spanColumn, "2000", "Bridge 1, Span (m): the bridge ends at 3200 m"},  // off the road
        {CBridgesDlg::spanColumn, "0", "Bridge 1, Span (m): "},
        {CBridgesDlg::effectColumn, "torsion", "Bridge 1, Effect: Enter midspan-moment"},
        {CBridgesDlg::intervalColumn, "0", "Bridge 1, Interval (s): "},
        {CBridgesDlg::laneFactorsColumn, "4:1.0", "Bridge 1, Lane Factors: "},  // the road has 3 lanes
        {CBridgesDlg::laneFactorsColumn, "one", "Bridge 1, Lane Factors: "},
    };
    for (const Case& test : cases)
    {
        CBridgesDlg dialog(oneBridge(), road);
        ASSERT_TRUE(dialog.getGrid()->editCell(1, test.column, test.text)) << test.text.toStdString();
        const auto [cell, message] = refusal(dialog);
        EXPECT_EQ(cell, QPoint(test.column, 1)) << test.text.toStdString() << ": " << message.toStdString();
        EXPECT_TRUE(message.startsWith(test.start)) << message.toStdString();
        if (test.start.endsWith(": "))  // the bridges' own check says what is wrong
        {
            EXPECT_GT(message.size(), test.start.size()) << message.toStdString();
        }
    }
    // A second bridge of the same name would share its output files.
    CBridgesDlg dialog(oneBridge(), road);
    dialog.addBridge();
    ASSERT_TRUE(dialog.getGrid()->editCell(2, CBridgesDlg::nameColumn, "Viaduct"));
    EXPECT_EQ(refusal(dialog).first, QPoint(CBridgesDlg::nameColumn, 2));
}

TEST(BridgesDialog, OkShowsTheTipAtTheBadCellAndAcceptsGoodValues)
{
    RecordingDialogs dialogs;
    CRoadfluxDoc document;
    CBridgesDlg dialog(oneBridge(), road);
    dialog.resize(900, 420);
    dialog.show();
    ASSERT_TRUE(dialog.getGrid()->editCell(1, CBridgesDlg::spanColumn, "0"));
    dialog.okButton()->setFocus();
    dialog.accept();
    EXPECT_FALSE(dialog.result() == QDialog::Accepted);
    CMessageTip* tip = dialog.getMessageTip();
    ASSERT_NE(tip, nullptr);
    ASSERT_TRUE(tip->isShowing());
    EXPECT_TRUE(tip->getText().startsWith("Bridge 1, Span (m): "));
    // The tip points at the span cell, not at the grid as a whole.
    const QRect cell = dialog.cellRect(1, CBridgesDlg::spanColumn);
    const QRect grid(dialog.getGrid()->mapTo(&dialog, QPoint(0, 0)), dialog.getGrid()->size());
    EXPECT_TRUE(grid.contains(cell));
    EXPECT_LT(cell.width(), grid.width() / 2);
    const QPoint tipAt = dialog.mapFromGlobal(tip->geometry().topLeft());
    EXPECT_LT(std::abs(tipAt.x() - cell.left()), cell.width() + 40);
    EXPECT_EQ(dialog.getGrid()->table()->currentRow(), 0);
    EXPECT_EQ(dialog.getGrid()->table()->currentColumn(), CBridgesDlg::spanColumn - 1);

    ASSERT_TRUE(dialog.getGrid()->editCell(1, CBridgesDlg::spanColumn, "35.5"));
    ASSERT_TRUE(dialog.getGrid()->editCell(1, CBridgesDlg::effectColumn, "support-shear"));
    ASSERT_TRUE(dialog.getGrid()->editCell(1, CBridgesDlg::directionsColumn, "2"));
    // A lane factor of a lane in a direction the bridge does not carry is refused too.
    dialog.accept();
    EXPECT_TRUE(tip->getText().startsWith("Bridge 1, Lane Factors: ")) << tip->getText().toStdString();
    ASSERT_TRUE(dialog.getGrid()->editCell(1, CBridgesDlg::laneFactorsColumn, "3:0.9"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    BridgeSet expected = oneBridge();
    expected.bridges[0].span = 35.5;
    expected.bridges[0].effect = BridgeEffect::supportShear;
    expected.bridges[0].directions = BridgeDirections::negative;
    expected.bridges[0].laneFactors = {{3, 0.9}};
    EXPECT_EQ(dialog.getBridges(), expected);

    CStudyEditing::applyBridges(dialog, document);
    EXPECT_EQ(document.bridges().getSet(), expected);
    EXPECT_TRUE(document.isModified());
}
