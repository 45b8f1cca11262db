// What the user meets in the grids of the dialogs: Enter works as in a spreadsheet and never
// closes the dialog, numbers too large to hold are refused at their cell, cells show what was
// stored, and an empty list keeps its label column.

#include "../app/FakeStudy.h"
#include "../app/RecordingDialogs.h"
#include "app/CRoadfluxDoc.h"
#include "app/CRoadfluxView.h"
#include "app/CStudyEditing.h"
#include "dialogs/CMessageTip.h"
#include "dialogs/CPreferencesDlg.h"
#include "dialogs/CRoadFeaturesDlg.h"
#include "dialogs/CStatDetectorDlg.h"
#include "dialogs/CTrafficConfigDlg.h"
#include "widgets/CGridCtrl.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace {
const QString tooLarge = "-" + QString(400, QLatin1Char('9'));

bool showActive(QDialog& dialog)
{
    dialog.show();
    dialog.activateWindow();
    return QTest::qWaitForWindowActive(&dialog);
}

// Enter on a cell opens its editor; Enter in the editor stores the text and moves down.
void editWithEnter(CGridCtrl& grid, int row, int column, const QString& text)
{
    QTableWidget* table = grid.table();
    table->setFocus();
    grid.setCurrentCell(row, column);
    QTest::keyClick(table, Qt::Key_Return);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr) << "Enter opened no editor";
    ASSERT_TRUE(table->isAncestorOf(editor));
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(table->currentRow(), row);  // the row below, counted from 0
    EXPECT_EQ(table->currentColumn(), column - 1);
}

void expectStillOpen(const QDialog& dialog)
{
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

CMessageTip* shownTip(const QWidget& dialog)
{
    CMessageTip* tip = dialog.findChild<CMessageTip*>();
    return tip && tip->isShowing() ? tip : nullptr;
}

// The tip stands at the cell's top edge, starting next to its left edge.
void expectTipAtCell(const QWidget& dialog, CGridCtrl& grid, int row, int column, const QString& text)
{
    CMessageTip* tip = shownTip(dialog);
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->getText(), text);
    const QRect cell(grid.mapToGlobal(grid.cellRect(row, column).topLeft()), grid.cellRect(row, column).size());
    EXPECT_EQ(tip->geometry().top(), cell.top());
    EXPECT_NEAR(tip->geometry().left(), cell.left() - 6, 1);
}

// A tip too long for the screen moves left to fit: only its text and the current cell are sure.
void expectTipOnCell(CTrafficConfigDlg& dialog, int row, int column, const QString& text)
{
    CMessageTip* tip = shownTip(dialog);
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->getText(), text);
    EXPECT_EQ(dialog.getGrid()->table()->currentRow(), row - 1);
    EXPECT_EQ(dialog.getGrid()->table()->currentColumn(), column - 1);
}

std::unique_ptr<CRoadFeature> featureOf(std::uint16_t type, double value)
{
    auto feature = std::make_unique<CRoadFeature>();
    feature->setType(type);
    feature->setValue(value);
    return feature;
}
}

TEST(GridDialogs, EnterEditsTheCellAndNeverPressesOk)
{
    RecordingDialogs dialogs;
    CRoadfluxDoc document;

    CTrafficConfigDlg traffic;
    CStudyEditing::fillTrafficModel(traffic, document);
    ASSERT_TRUE(showActive(traffic));
    editWithEnter(*traffic.getGrid(), 1, 2, "1.7");
    EXPECT_DOUBLE_EQ(traffic.parameterSets[0].getParamT().getDistribution().getLocation(), 1.7);
    expectStillOpen(traffic);

    CRoadFeaturesDlg features(document.study().getRoadFeatures(), 3000);
    features.addItem();
    ASSERT_TRUE(showActive(features));
    editWithEnter(*features.getGrid(), 1, 4, "1200");
    EXPECT_EQ(features.getItems()[0]->getEnd(), 1200);
    expectStillOpen(features);

    CStatDetectorDlg detectors(document.study().getStatDetectors(), 3000);
    detectors.addItem();
    ASSERT_TRUE(showActive(detectors));
    editWithEnter(*detectors.getGrid(), 1, 4, "120");
    EXPECT_EQ(detectors.getItems()[0]->getInterval(), 120);
    expectStillOpen(detectors);

    FakeStudy study;
    ManualClock clock;
    CRoadfluxView view(study, clock);
    view.initialUpdate();
    CPreferencesDlg preferences;
    CStudyEditing::fillPreferences(preferences, view);
    ASSERT_TRUE(showActive(preferences));
    editWithEnter(*preferences.getGrid(), 3, 1, "12");
    EXPECT_DOUBLE_EQ(preferences.settings[CPreferencesDlg::timeWarpFactor], 12.0);
    expectStillOpen(preferences);
    EXPECT_TRUE(dialogs.warnings.empty());  // OK's corrections never ran
}

TEST(GridDialogs, EnterOnADropDownCellPicksAndStaysOpen)
{
    RecordingDialogs dialogs;
    CRoadfluxDoc document;
    CRoadFeaturesDlg features(document.study().getRoadFeatures(), 3000);
    ASSERT_TRUE(showActive(features));
    QTableWidget* table = features.getGrid()->table();
    table->setFocus();
    features.getGrid()->setCurrentCell(1, 1);
    QTest::keyClick(table, Qt::Key_Enter);
    auto* list = qobject_cast<QComboBox*>(QApplication::focusWidget());
    ASSERT_NE(list, nullptr);
    list->setCurrentIndex(list->findText("Gradient"));
    QTest::keyClick(list, Qt::Key_Enter);
    EXPECT_EQ(features.getItems()[0]->getType(), CRoadFeature::gradient);
    expectStillOpen(features);
}

TEST(GridDialogs, ANumberTooLargeToHoldIsRefusedAtItsCell)
{
    RecordingDialogs dialogs;
    CRoadfluxDoc document;
    CRoadFeaturesDlg features(document.study().getRoadFeatures(), 3000);
    ASSERT_TRUE(showActive(features));
    CGridCtrl* grid = features.getGrid();
    ASSERT_TRUE(grid->editCell(1, 1, "Gradient"));
    ASSERT_TRUE(grid->editCell(1, 5, "-4"));
    EXPECT_FALSE(grid->editCell(1, 5, tooLarge));
    EXPECT_DOUBLE_EQ(features.getItems()[0]->getValue(), -4.0);
    EXPECT_EQ(grid->text(1, 5), "-4");
    expectTipAtCell(features, *grid, 1, 5, CGridCtrl::tooLargeMessage());

    CTrafficConfigDlg traffic;
    CStudyEditing::fillTrafficModel(traffic, document);
    ASSERT_TRUE(showActive(traffic));
    const double before = traffic.parameterSets[0].getParamV0().getDistribution().getScale();
    EXPECT_FALSE(traffic.getGrid()->editCell(6, 3, tooLarge.mid(1)));
    EXPECT_DOUBLE_EQ(traffic.parameterSets[0].getParamV0().getDistribution().getScale(), before);
    expectTipAtCell(traffic, *traffic.getGrid(), 6, 3, CGridCtrl::tooLargeMessage());

    FakeStudy study;
    ManualClock clock;
    CRoadfluxView view(study, clock);
    view.initialUpdate();
    CPreferencesDlg preferences;
    CStudyEditing::fillPreferences(preferences, view);
    EXPECT_FALSE(preferences.getGrid()->editCell(3, 1, tooLarge.mid(1)));
    EXPECT_DOUBLE_EQ(preferences.settings[CPreferencesDlg::timeWarpFactor], 1.0);
}

TEST(GridDialogs, AStoredNumberThatIsNotFiniteKeepsTheDialogOpen)
{
    RecordingDialogs dialogs;
    CRoadfluxDoc document;
    CTrafficConfigDlg traffic;
    CStudyEditing::fillTrafficModel(traffic, document);
    traffic.parameterSets[3].getParamB().getDistribution().setLocation(HUGE_VAL);  // from a damaged study
    ASSERT_TRUE(showActive(traffic));
    traffic.accept();
    expectStillOpen(traffic);
    EXPECT_EQ(traffic.getCurrentClass(), 3);
    expectTipAtCell(traffic, *traffic.getGrid(), 3, 2, "This number is not finite: please enter another.");
    ASSERT_TRUE(traffic.getGrid()->editCell(3, 2, "1.5"));
    traffic.accept();
    EXPECT_EQ(traffic.result(), QDialog::Accepted);

    StudyDocument::RoadFeatureList damaged;
    damaged.push_back(featureOf(CRoadFeature::gradient, -HUGE_VAL));
    CRoadFeaturesDlg features(damaged, 3000);
    EXPECT_EQ(features.getGrid()->text(1, 5), "-inf");
    int control = -1;
    QString message;
    features.validateData(control, message);
    EXPECT_EQ(message, "Feature 1: The value is not a finite number (-inf).");
    EXPECT_EQ(control, 1010);
}

// The runner refuses a desired velocity at or below 0 and a negative spread: the dialog does
// not let them through either, and points at the cell.
TEST(GridDialogs, ATrafficModelNoDrawCouldUseKeepsTheDialogOpen)
{
    RecordingDialogs dialogs;
    CRoadfluxDoc document;
    CTrafficConfigDlg traffic;
    CStudyEditing::fillTrafficModel(traffic, document);
    ASSERT_TRUE(showActive(traffic));
    traffic.selectClass(2);
    ASSERT_TRUE(traffic.getGrid()->editCell(6, 2, "-10"));  // desired velocity, km/h
    traffic.selectClass(0);
    traffic.accept();
    expectStillOpen(traffic);
    EXPECT_EQ(traffic.getCurrentClass(), 2);
    expectTipOnCell(traffic, 6, 2,
                    "Vehicle class 2 (Large Truck), Desired velocity, v0 (km/h): the location -10 is not above 0.");
    ASSERT_TRUE(traffic.getGrid()->editCell(6, 2, "80"));
    ASSERT_TRUE(traffic.getGrid()->editCell(1, 3, "-0.05"));  // safe time headway's deviation
    traffic.accept();
    expectStillOpen(traffic);
    expectTipOnCell(traffic, 1, 3,
                    "Vehicle class 2 (Large Truck), Safe time headway, T (s): the scale -0.05 is below 0.");
    ASSERT_TRUE(traffic.getGrid()->editCell(1, 3, "0.05"));
    traffic.accept();
    EXPECT_EQ(traffic.result(), QDialog::Accepted);

    StudyDocument::StatDetectorList placed;
    placed.push_back(std::make_unique<CStatDetector>());
    placed[0]->setLocation(-5000);
    CStatDetectorDlg detectors(placed, 3000);
    int control = -1;
    QString message;
    detectors.validateData(control, message);
    EXPECT_EQ(message, "Detector 1: must be located on the road.\nPlease check its location.");
}

TEST(GridDialogs, CellsShowWhatWasStored)
{
    RecordingDialogs dialogs;
    CRoadfluxDoc document;
    CStatDetectorDlg detectors(document.study().getStatDetectors(), 3000);
    ASSERT_TRUE(detectors.getGrid()->editCell(1, 4, "99999999999"));
    EXPECT_EQ(detectors.getGrid()->text(1, 4), "2147483647");
    ASSERT_TRUE(detectors.getGrid()->editCell(1, 5, "0042"));
    EXPECT_EQ(detectors.getGrid()->text(1, 5), "42");

    StudyDocument::RoadFeatureList list;
    list.push_back(featureOf(CRoadFeature::gradient, 5.0));
    CRoadFeaturesDlg features(list, 3000);
    CGridCtrl* grid = features.getGrid();
    ASSERT_TRUE(grid->editCell(1, 1, "Speed Limit"));
    EXPECT_EQ(grid->text(1, 5), "18");  // 5 m/s kept, in km/h
    ASSERT_TRUE(grid->editCell(1, 5, "80"));
    EXPECT_EQ(grid->text(1, 5), "80");
    ASSERT_TRUE(grid->editCell(1, 4, "99999999999"));
    EXPECT_EQ(grid->text(1, 4), "2147483647");
    // Stored in m/s, 80 km/h comes back as 80 when the dialog opens again.
    CRoadFeaturesDlg reopened(features.getItems(), 3000);
    EXPECT_EQ(reopened.getGrid()->text(1, 5), "80");

    CTrafficConfigDlg traffic;
    CStudyEditing::fillTrafficModel(traffic, document);
    ASSERT_TRUE(traffic.getGrid()->editCell(1, 2, "1.50"));
    EXPECT_EQ(traffic.getGrid()->text(1, 2), "1.5");
}

TEST(GridDialogs, AnEmptyListKeepsItsLabelColumn)
{
    CRoadFeaturesDlg features({}, 3000);
    CStatDetectorDlg detectors({}, 3000);
    for (QDialog* dialog : {static_cast<QDialog*>(&features), static_cast<QDialog*>(&detectors)})
    {
        dialog->show();
        QHeaderView* labels = dialog->findChild<CGridCtrl*>()->table()->verticalHeader();
        EXPECT_GE(labels->width(), labels->fontMetrics().horizontalAdvance("Detector 1"));
    }
}
