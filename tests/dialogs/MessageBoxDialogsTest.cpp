#include "dialogs/CMessageBoxDialogs.h"

#include <gtest/gtest.h>

// Messages quote file names and contents; with tags in them a box would otherwise show HTML.
TEST(MessageBoxDialogs, ShowTheirTextAsPlainText)
{
    const QString text = QStringLiteral("<img src=x onerror=alert(1)> cannot be read: <b>&amp;</b>");
    for (QMessageBox::Icon icon : {QMessageBox::Warning, QMessageBox::Information})
    {
        auto box = CMessageBoxDialogs::messageBox(icon, text, QMessageBox::Ok);
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->text(), text);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Roadflux"));
    }
}
