// The OK-time check of the dialogs: the tip at the offending control, no tip after Enter in
// another control, the focus moved to the offending control; and the tip's ways of closing.

#include "../app/RecordingDialogs.h"
#include "dialogs/CDialogExt.h"
#include "dialogs/CMessageTip.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {
// Refuses an empty first edit, pointing at it.
class TwoEditDialog : public CDialogExt
{
public:
    TwoEditDialog()
    {
        first = new QLineEdit;
        second = new QLineEdit;
        setControlId(first, 100);
        setControlId(second, 101);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(first);
        layout->addWidget(second);
        layout->addWidget(makeButtons());
    }

    void validateData(int& badControlId, QString& message) override
    {
        ++checks;
        if (first->text().isEmpty())
        {
            badControlId = 100;
            message = "Please select a file.";
        }
    }

    QLineEdit* first;
    QLineEdit* second;
    int checks = 0;
};

class DialogExt : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }

    bool tipShown() const { return dialog.getMessageTip() && dialog.getMessageTip()->isShowing(); }

    RecordingDialogs dialogs;
    TwoEditDialog dialog;
};
}

TEST_F(DialogExt, OkOnTheButtonShowsTheTipAtTheControlAgainAndAgain)
{
    dialog.okButton()->setFocus();
    dialog.okButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_TRUE(tipShown());
    EXPECT_EQ(dialog.getMessageTip()->getText(), "Please select a file.");
    EXPECT_EQ(QApplication::focusWidget(), dialog.first);
    dialog.getMessageTip()->hideTip();

    dialog.okButton()->setFocus();
    dialog.okButton()->click();
    EXPECT_TRUE(tipShown());
}

TEST_F(DialogExt, EnterInAnotherControlMovesTheFocusWithoutATip)
{
    dialog.second->setFocus();
    QTest::keyClick(dialog.second, Qt::Key_Return);
    EXPECT_EQ(dialog.checks, 1);
    EXPECT_FALSE(tipShown());
    EXPECT_EQ(QApplication::focusWidget(), dialog.first);
    // Now on the offending control, OK shows the tip.
    dialog.okButton()->click();
    EXPECT_TRUE(tipShown());
}

TEST_F(DialogExt, APassingCheckClosesWithOk)
{
    dialog.first->setText("traffic.txt");
    dialog.okButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(DialogExt, TheTipClosesOnAKeyOrAClickButNotOnEnter)
{
    dialog.okButton()->click();
    ASSERT_TRUE(tipShown());
    QTest::keyClick(dialog.first, Qt::Key_Return);  // runs the check again: the tip stays up
    EXPECT_TRUE(tipShown());
    QTest::keyClick(dialog.second, Qt::Key_X);
    EXPECT_FALSE(tipShown());
    dialog.okButton()->click();
    ASSERT_TRUE(tipShown());
    QTest::mouseClick(dialog.second, Qt::LeftButton);
    EXPECT_FALSE(tipShown());
}

TEST_F(DialogExt, TheTipTimesOut)
{
    dialog.okButton()->click();
    ASSERT_TRUE(tipShown());
    dialog.getMessageTip()->setTimeout(500);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !tipShown(); }, 3000));
}
