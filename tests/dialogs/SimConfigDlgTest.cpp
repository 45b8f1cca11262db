// The simulation configuration dialog between the study and its controls: filling, the checks on
// OK with their messages and controls, the refused numbers, and writing back.

#include "../app/RecordingDialogs.h"
#include "app/CRoadfluxDoc.h"
#include "app/CRoadfluxView.h"
#include "app/CSteadyClock.h"
#include "app/CStudyEditing.h"
#include "dialogs/CMessageTip.h"
#include "dialogs/CSimConfigDlg.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {
class SimConfig : public ::testing::Test
{
protected:
    SimConfig() : view(document, CSteadyClock::instance())
    {
        document.study().setInputFileName("in.txt");
        document.study().setOutputFileName("out.txt");
        document.setModifiedFlag(false);
        view.initialUpdate();
        CStudyEditing::fillSimulation(dialog, document);
    }

    QComboBox* combo(int id) { return qobject_cast<QComboBox*>(dialog.control(id)); }
    QLineEdit* edit(int id) { return qobject_cast<QLineEdit*>(dialog.control(id)); }

    // The first failing check's control and message, or 0 and "".
    std::pair<int, QString> check()
    {
        int control = -1;
        QString message;
        dialog.validateData(control, message);
        return {message.isEmpty() ? 0 : control, message};
    }

    RecordingDialogs dialogs;
    CRoadfluxDoc document;
    CRoadfluxView view;
    CSimConfigDlg dialog;
};
}

TEST_F(SimConfig, ControlsShowTheStudy)
{
    EXPECT_EQ(edit(1000)->text(), "in.txt");
    EXPECT_EQ(edit(1002)->text(), "3000");
    EXPECT_EQ(edit(1009)->text(), "100");
    EXPECT_EQ(combo(1005)->currentText(), "2");
    EXPECT_EQ(combo(1006)->currentText(), "1");
    EXPECT_EQ(combo(1008)->currentText(), "Right");
    EXPECT_TRUE(qobject_cast<QRadioButton*>(dialog.control(1004))->isChecked());
    EXPECT_EQ(check().first, 0);
}

TEST_F(SimConfig, DriveOnTheLeftIsShownAgainOnReopening)
{
    combo(1008)->setCurrentText("Left");
    ASSERT_TRUE(dialog.exchangeFromControls());
    CStudyEditing::applySimulation(dialog, document, view);
    EXPECT_FALSE(document.study().getDrivesOnRight());
    EXPECT_TRUE(document.isModified());
    EXPECT_FALSE(view.getLayout().drivesOnRight);
    CSimConfigDlg reopened;
    CStudyEditing::fillSimulation(reopened, document);
    EXPECT_EQ(qobject_cast<QComboBox*>(reopened.control(1008))->currentText(), "Left");
}

TEST_F(SimConfig, TimeStepsConvertBetweenMillisecondsAndSeconds)
{
    edit(1009)->setText("50");
    ASSERT_TRUE(dialog.exchangeFromControls());
    CStudyEditing::applySimulation(dialog, document, view);
    EXPECT_DOUBLE_EQ(document.study().getTimeStep(), 0.05);
    document.study().setTimeStep(0.0999);
    CSimConfigDlg reopened;
    CStudyEditing::fillSimulation(reopened, document);
    EXPECT_EQ(reopened.timeStepMs, 99);
}

TEST_F(SimConfig, LaneCountsAreCheckedInOrder)
{
    combo(1010)->setCurrentIndex(0);
    combo(1011)->setCurrentIndex(0);
    EXPECT_EQ(check(), std::make_pair(1010, QString("There cannot be zero lanes in both directions")));

    combo(1010)->setCurrentIndex(2);
    combo(1005)->setCurrentIndex(2);
    combo(1006)->setCurrentIndex(1);
    EXPECT_EQ(check(), std::make_pair(1006, QString("For this direction, there will be no vehicles \nsince "
                                                    "there are no lanes in the traffic file")));
    combo(1006)->setCurrentIndex(0);
    EXPECT_EQ(check().first, 0);

    combo(1010)->setCurrentIndex(3);
    EXPECT_EQ(check(), std::make_pair(1005, QString("The number of simulation lanes must not \nbe less than "
                                                    "that of the traffic file.")));
}

TEST_F(SimConfig, EmptyFileNamesAndDetectorsOffTheRoadAreRefused)
{
    edit(1013)->setText("3000");  // at the road's end: accepted
    EXPECT_EQ(check().first, 0);
    edit(1014)->setText("3001");
    EXPECT_EQ(check().first, 1014);
    edit(1007)->setText("");
    EXPECT_EQ(check(), std::make_pair(1007, QString("Please specify a filename.")));
    edit(1000)->setText("");
    EXPECT_EQ(check(), std::make_pair(1000, QString("Please select a file.")));
}

TEST_F(SimConfig, NumbersThatAreNotWholeOrOutOfRangeKeepTheDialogOpen)
{
    edit(1002)->setText("abc");
    EXPECT_FALSE(dialog.exchangeFromControls());
    EXPECT_EQ(dialogs.warnings.back(), "Please enter an integer.");
    edit(1002)->setText("400");
    EXPECT_FALSE(dialog.exchangeFromControls());
    EXPECT_EQ(dialogs.warnings.back(), "Please enter an integer between 500 and 100000.");
    edit(1002)->setText("3000");
    edit(1009)->setText("2001");
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialogs.warnings.back(), "Please enter an integer between 10 and 2000.");
}

TEST_F(SimConfig, AFailedCheckPointsAtTheControlWithATip)
{
    dialog.show();
    combo(1011)->setCurrentIndex(0);
    combo(1010)->setCurrentIndex(0);
    combo(1010)->setFocus();
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_NE(dialog.getMessageTip(), nullptr);
    EXPECT_TRUE(dialog.getMessageTip()->isShowing());
    EXPECT_EQ(dialog.getMessageTip()->getText(), "There cannot be zero lanes in both directions");
    dialog.getMessageTip()->hideTip();

    combo(1010)->setCurrentIndex(2);
    combo(1011)->setCurrentIndex(1);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(SimConfig, BrowsedFilesAreStoredWhole)
{
    dialogs.saveFiles.push_back("/tmp/traffic-out.txt");
    dialogs.folders.push_back("/tmp");
    qobject_cast<QAbstractButton*>(dialog.control(1012))->click();
    qobject_cast<QAbstractButton*>(dialog.control(1015))->click();
    EXPECT_EQ(edit(1007)->text(), "/tmp/traffic-out.txt");
    EXPECT_EQ(edit(1016)->text(), "/tmp/");
    EXPECT_EQ(dialogs.suffixes.back(), "txt");
    qobject_cast<QAbstractButton*>(dialog.control(1001))->click();  // cancelled: nothing changes
    EXPECT_EQ(edit(1000)->text(), "in.txt");
}

TEST_F(SimConfig, PathFieldsTakeTheWidthBesideNarrowBrowseButtons)
{
    dialog.show();
    for (int id : {1000, 1007, 1016})
        EXPECT_GE(edit(id)->width(), 250) << id;
    for (int id : {1001, 1012, 1015})
    {
        const QWidget* browse = dialog.control(id);
        EXPECT_LE(browse->width(), browse->fontMetrics().horizontalAdvance("...") + 24) << id;
    }
}

TEST_F(SimConfig, TabIntoTheFormatsLandsOnTheCheckedOne)
{
    document.study().setFileFormat(100);
    CStudyEditing::fillSimulation(dialog, document);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.control(1015)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dialog.control(1003));  // VORK
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dialog.control(1010));  // past the group in one press
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), dialog.control(1003));

    // The arrow keys move within the group; the format they reach is the one Tab lands on.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), dialog.control(1032));  // DoRIV
    EXPECT_EQ(dialog.fileFormat, 102);
    dialog.control(1015)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dialog.control(1032));
}
