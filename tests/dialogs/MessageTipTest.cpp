// The pop-up tip's text and place: values parted from their labels by a tab line up in one
// column, and the tip stays whole on the screen of its owner near the edges.

#include "dialogs/CMessageTip.h"

#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

namespace {
// Lines as the vehicle data writes them, padded for tab stops of eight characters.
const QString vehicleLines = "Vehicle Data:\n"
                             "Gap:\t     \t12.5 m\n"
                             "Acceleration:\t0.25 m/s^2\n"
                             "IDM T: \t\t1.50 s\n"
                             "IDM Bias:\t0.2\n"
                             "IDM DeltaAth:\t0.1";
}

TEST(MessageTip, ValuesStartInOneColumnAfterTheLongestLabel)
{
    QWidget owner;
    const QFontMetrics metrics(owner.font());
    const CMessageTip::Layout layout = CMessageTip::Layout::of(vehicleLines, metrics);
    ASSERT_EQ(layout.lines.size(), 6);
    EXPECT_FALSE(layout.lines[0].hasValue);
    EXPECT_EQ(layout.lines[0].label, "Vehicle Data:");
    const QStringList labels = {"Gap:", "Acceleration:", "IDM T:", "IDM Bias:", "IDM DeltaAth:"};
    const QStringList values = {"12.5 m", "0.25 m/s^2", "1.50 s", "0.2", "0.1"};
    for (int i = 1; i < 6; ++i)
    {
        EXPECT_TRUE(layout.lines[i].hasValue);
        EXPECT_EQ(layout.lines[i].label, labels[i - 1]);
        EXPECT_EQ(layout.lines[i].value, values[i - 1]);
        EXPECT_GT(layout.valueX, metrics.horizontalAdvance(labels[i - 1]));
    }
    EXPECT_GE(layout.textSize.width(), layout.valueX + metrics.horizontalAdvance("0.25 m/s^2"));
    EXPECT_EQ(layout.textSize.height(), 6 * metrics.height());
}

TEST(MessageTip, StaysWholeOnTheScreenNearItsEdges)
{
    QWidget owner;
    const QRect room = owner.screen()->availableGeometry();
    owner.setGeometry(room.right() - 300, room.bottom() - 200, 300, 200);
    owner.show();
    CMessageTip tip;
    ASSERT_TRUE(tip.create(&owner));

    // A vehicle clicked in the bottom-right corner of the window: the tip would run off both edges.
    tip.showTip(QRect(QPoint(290, 190), QSize(100, 100)), vehicleLines);
    ASSERT_TRUE(tip.isShowing());
    EXPECT_TRUE(room.contains(tip.geometry())) << tip.geometry().x() << "," << tip.geometry().y();
    // It goes above the point clicked rather than over it.
    EXPECT_LE(tip.geometry().bottom(), owner.mapToGlobal(QPoint(290, 190)).y());

    // Away from the edges it stands at the target, 6 pixels to the left.
    owner.move(room.topLeft());
    tip.showTip(QRect(QPoint(50, 20), QSize(100, 100)), "Please select a file.");
    EXPECT_EQ(tip.geometry().topLeft(), owner.mapToGlobal(QPoint(44, 20)));
}
