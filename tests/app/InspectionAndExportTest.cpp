// A paused run's vehicles found under a click, the vehicle tip, the picture saved as a bitmap
// file, and a frame printed to a PDF file.

#include "FakeStudy.h"
#include "RecordingDialogs.h"
#include "app/CRoadfluxView.h"
#include "app/CWindowToBMP.h"
#include "dialogs/CMessageTip.h"

#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {
class Inspection : public ::testing::Test
{
protected:
    Inspection() : view(study, clock)
    {
        view.resize(800, 300);
        view.show();
        view.initialUpdate();
    }

    void startAndStep()
    {
        view.runVisible();
        clock.time += 200;
        view.onTick(clock.time);
    }

    RecordingDialogs dialogs;
    ManualClock clock;
    FakeStudy study;
    CRoadfluxView view;
};

std::uint32_t readLittleEndian(const QByteArray& bytes, int offset, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value * 256 + static_cast<unsigned char>(bytes[offset + i]);
    return value;
}
}

TEST_F(Inspection, ABodyIsHitStrictlyBetweenItsEnds)
{
    const Vehicle& forward = study.addVehicle(1, true, 100, 10, 1);
    const Vehicle& backward = study.addVehicle(3, false, 100, 10, 2);
    startAndStep();
    EXPECT_EQ(view.findVehicleAt(0, 81), &forward);
    EXPECT_EQ(view.findVehicleAt(0, 99), &forward);
    EXPECT_EQ(view.findVehicleAt(0, 80), nullptr);
    EXPECT_EQ(view.findVehicleAt(0, 100), nullptr);
    EXPECT_EQ(view.findVehicleAt(2, 101), &backward);
    EXPECT_EQ(view.findVehicleAt(2, 119), &backward);
    EXPECT_EQ(view.findVehicleAt(2, 99), nullptr);
    EXPECT_EQ(view.findVehicleAt(7, 90), nullptr);  // no such lane list
    view.stop();
    EXPECT_EQ(view.findVehicleAt(0, 90), nullptr);  // nothing is found once the run is over
}

TEST_F(Inspection, AClickOnAPausedRunsVehicleShowsItsData)
{
    study.addVehicle(1, true, 300, 10, 1);
    startAndStep();
    const QPoint onBody = view.mapping().mapToDevice(QPointF(300 + 20 - 10, 60)).toPoint();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, onBody);
    CMessageTip* tip = view.findChild<CMessageTip*>();
    ASSERT_NE(tip, nullptr);
    EXPECT_FALSE(tip->isShowing());  // not paused: no tip
    EXPECT_EQ(tip->getTimeout(), 20000);

    view.togglePause();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, onBody);
    EXPECT_TRUE(tip->isShowing());
    EXPECT_TRUE(tip->getText().startsWith("Vehicle Data:"));
    QTest::keyClick(&view, Qt::Key_A);  // any key but Enter closes it
    EXPECT_FALSE(tip->isShowing());
    view.stop();
}

TEST_F(Inspection, SavedImageIsAWholeWindowBitmap)
{
    QTemporaryDir folder;
    dialogs.saveFiles.push_back(folder.filePath("view.bmp"));
    view.saveImage();
    ASSERT_EQ(dialogs.notices, std::vector<std::string>{"Image saved."});
    EXPECT_EQ(dialogs.filters.last(), "Bitmap files (*.bmp)");
    QFile file(folder.filePath("view.bmp"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), "BM");
    EXPECT_EQ(readLittleEndian(bytes, 2, 4), static_cast<std::uint32_t>(bytes.size()));
    EXPECT_EQ(readLittleEndian(bytes, 10, 4), 54u);  // 24-bit rows follow the two headers
    const std::uint32_t width = readLittleEndian(bytes, 18, 4);
    const std::uint32_t height = readLittleEndian(bytes, 22, 4);
    EXPECT_EQ(width, static_cast<std::uint32_t>(view.width()));  // scroll bars included
    EXPECT_EQ(height, static_cast<std::uint32_t>(view.height()));
    EXPECT_EQ(readLittleEndian(bytes, 28, 2), 24u);
    EXPECT_EQ(static_cast<std::uint32_t>(bytes.size()), 54 + ((width * 24 + 31) / 32) * 4 * height);
}

TEST_F(Inspection, ImageThatCannotBeWrittenIsReported)
{
    dialogs.saveFiles.push_back("/no/such/folder/view.bmp");
    view.saveImage();
    EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"Image saving failed."});
    view.saveImage();  // cancelled: nothing at all
    EXPECT_EQ(dialogs.warnings.size(), 1u);
}

TEST_F(Inspection, BitmapRowsRunBottomUpInBlueGreenRed)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));  // top left: red
    image.setPixel(0, 1, qRgb(0, 0, 255));  // bottom left: blue
    const QByteArray bytes = CWindowToBMP::bitmapFile(image);
    ASSERT_EQ(bytes.size(), 54 + 2 * 12);                            // 9 bytes of pixels padded to 12
    EXPECT_EQ(static_cast<unsigned char>(bytes[54]), 255);           // the bottom row first, blue byte first
    EXPECT_EQ(static_cast<unsigned char>(bytes[54 + 12 + 2]), 255);  // then the top row's red
}

TEST_F(Inspection, AFramePrintsToAPdfFile)
{
    QTemporaryDir folder;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath("view.pdf"));
    view.print(printer);
    QFile file(folder.filePath("view.pdf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
}
