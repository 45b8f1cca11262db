// A chart of the Results window handled with the mouse: zoomed by the wheel and by a rectangle,
// moved by a drag, shown whole again by a double-click; the value under the pointer read in the
// axes' units; and the picture saved at the size asked for.

#include "charts/ChartsTestSupport.h"

#include "resultswindow/ChartPanel.h"
#include "resultswindow/NavigableChartView.h"
#include "resultswindow/ResultsDialogs.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QValueAxis>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

constexpr double runStart = 7.5 * 3600.0;  // 07:30

struct Ranges
{
    double xLow, xHigh, yLow, yHigh;
};

class ChartHandling : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dialogs.chooseSaveFile = [this](const QString&, const QString&, const QString&) { return saveAs; };
        dialogs.warn = [this](const QString& text) { warnings << text; };
        std::vector<ResultChart> charts =
            chartsOf(entryOf("FD_All_Pos_1500.csv", threeIntervalFlows), 60.0, RunContext{runStart, {}});
        for (ResultChart& chart : charts)
            if (chart.name == QStringLiteral("flow-time"))
                panel = std::make_unique<ChartPanel>(std::move(chart), folder.filePath("FD"), dialogs);
        ASSERT_NE(panel, nullptr);
        panel->resize(800, 600);
        panel->show();
        QApplication::processEvents();
        x = axis(Qt::Horizontal);
        y = axis(Qt::Vertical);
        ASSERT_TRUE(x != nullptr && y != nullptr);
        ASSERT_GT(plot().width(), 100.0);
    }

    QValueAxis* axis(Qt::Orientation orientation) const
    {
        for (QAbstractAxis* found : panel->chart().axes(orientation))
            if (auto* values = qobject_cast<QValueAxis*>(found))
                return values;
        return nullptr;
    }
    Ranges ranges() const { return {x->min(), x->max(), y->min(), y->max()}; }
    NavigableChartView& view() const { return panel->view(); }
    // The plot area in the view's pixels.
    QRectF plot() const
    {
        return view().viewportTransform().mapRect(panel->chart().mapRectToScene(panel->chart().plotArea()));
    }
    // Where a data point is drawn, in the view's pixels.
    QPointF pixelOf(QPointF value) const
    {
        QAbstractSeries* series = panel->chart().series().first();
        return view().viewportTransform().map(panel->chart().mapToScene(panel->chart().mapToPosition(value, series)));
    }
    void mouse(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMouseEvent event(type, at, view().viewport()->mapToGlobal(at), button, held, modifiers);
        QApplication::sendEvent(view().viewport(), &event);
    }
    void drag(QPointF from, QPointF to, Qt::MouseButton button, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        mouse(QEvent::MouseButtonPress, from, button, button, modifiers);
        mouse(QEvent::MouseMove, to, Qt::NoButton, button, modifiers);
        mouse(QEvent::MouseButtonRelease, to, button, Qt::NoButton, modifiers);
    }

    QTemporaryDir folder;
    ResultsDialogs dialogs;
    QString saveAs;
    QStringList warnings;
    std::unique_ptr<ChartPanel> panel;
    QValueAxis* x = nullptr;
    QValueAxis* y = nullptr;
};

}  // namespace

TEST_F(ChartHandling, WheelRectangleAndDragChangeTheRangesAndADoubleClickRestoresThem)
{
    const Ranges whole = ranges();
    auto* reset = panel->findChild<QPushButton*>(QStringLiteral("resetView"));
    ASSERT_NE(reset, nullptr);
    EXPECT_FALSE(reset->isEnabled());

    // Two notches in about the plot's centre: 0.8² of each span, the centre's value kept.
    const QPointF centre = plot().center();
    const QPointF centreValue = *view().valueAt(centre);
    QWheelEvent wheel(centre, view().viewport()->mapToGlobal(centre), QPoint(), QPoint(0, 240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view().viewport(), &wheel);
    EXPECT_NEAR(x->max() - x->min(), 0.64 * (whole.xHigh - whole.xLow), 1e-6);
    EXPECT_NEAR(y->max() - y->min(), 0.64 * (whole.yHigh - whole.yLow), 1e-6);
    EXPECT_NEAR(view().valueAt(centre)->x(), centreValue.x(), 1e-6);
    EXPECT_NEAR(view().valueAt(centre)->y(), centreValue.y(), 1e-6);
    EXPECT_TRUE(reset->isEnabled());

    // A drag moves the picture with the pointer: right and up by as many pixels of the plot.
    const QRectF plotBefore = plot();
    const Ranges before = ranges();
    drag(centre, centre + QPointF(120, -40), Qt::LeftButton);
    const double xShift = -120.0 / plotBefore.width() * (before.xHigh - before.xLow);
    const double yShift = -40.0 / plotBefore.height() * (before.yHigh - before.yLow);
    EXPECT_NEAR(x->min(), before.xLow + xShift, 1e-6);
    EXPECT_NEAR(x->max(), before.xHigh + xShift, 1e-6);
    EXPECT_NEAR(y->min(), before.yLow + yShift, 1e-6);
    EXPECT_NEAR(y->max(), before.yHigh + yShift, 1e-6);

    // A rectangle drawn with the right button, or with Ctrl, becomes the whole plot.
    for (bool withCtrl : {false, true})
    {
        const QPointF corner = plot().topLeft() + QPointF(50, 40);
        const QPointF opposite = corner + QPointF(200, 150);
        const QPointF low = *view().valueAt(QPointF(corner.x(), opposite.y()));
        const QPointF high = *view().valueAt(QPointF(opposite.x(), corner.y()));
        if (withCtrl)
            drag(corner, opposite, Qt::LeftButton, Qt::ControlModifier);
        else
            drag(corner, opposite, Qt::RightButton);
        EXPECT_NEAR(x->min(), low.x(), 1e-6 * (whole.xHigh - whole.xLow));
        EXPECT_NEAR(x->max(), high.x(), 1e-6 * (whole.xHigh - whole.xLow));
        EXPECT_NEAR(y->min(), low.y(), 1e-6 * (whole.yHigh - whole.yLow));
        EXPECT_NEAR(y->max(), high.y(), 1e-6 * (whole.yHigh - whole.yLow));
    }
    // A click is not a rectangle.
    const Ranges zoomed = ranges();
    drag(centre, centre + QPointF(2, 2), Qt::RightButton);
    EXPECT_EQ(ranges().xLow, zoomed.xLow);

    mouse(QEvent::MouseButtonDblClick, centre, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(ranges().xLow, whole.xLow);
    EXPECT_EQ(ranges().xHigh, whole.xHigh);
    EXPECT_EQ(ranges().yLow, whole.yLow);
    EXPECT_EQ(ranges().yHigh, whole.yHigh);
    EXPECT_FALSE(reset->isEnabled());

    // The button does the same.
    view().zoomAt(centre, 0.5);
    reset->click();
    EXPECT_EQ(ranges().xHigh, whole.xHigh);
    EXPECT_EQ(ranges().yHigh, whole.yHigh);
}

TEST_F(ChartHandling, ThePointerReadsTheDataValueUnderItInTheAxesUnits)
{
    // Interval 2 ended at 07:32 with 60 veh/h in lane 1; the view is zoomed, so that the mapping
    // is not the chart's first.
    view().zoomAt(plot().center(), 0.7);
    const QPointF dataPoint(runStart + 120.0, 60.0);
    const QPointF at = pixelOf(dataPoint);
    ASSERT_TRUE(plot().contains(at));
    const QPointF read = *view().valueAt(at);
    EXPECT_NEAR(read.x(), dataPoint.x(), 1e-6);
    EXPECT_NEAR(read.y(), dataPoint.y(), 1e-6);

    mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(panel->pointerText(), QStringLiteral("Time of day 07:32, Flow 60.0 veh/h"))
        << panel->pointerText().toStdString();
    // Off the plot there is no value.
    EXPECT_FALSE(view().valueAt(plot().topLeft() - QPointF(10, 10)).has_value());
    mouse(QEvent::MouseMove, plot().topLeft() - QPointF(10, 10), Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(panel->pointerText().isEmpty());
}

TEST_F(ChartHandling, SavesThePictureAtTheSizeAsked)
{
    panel->findChild<QSpinBox*>(QStringLiteral("exportWidth"))->setValue(1600);
    panel->findChild<QSpinBox*>(QStringLiteral("exportHeight"))->setValue(900);
    saveAs = folder.filePath("big.png");
    panel->savePng();
    EXPECT_EQ(QImage(saveAs).size(), QSize(1600, 900));
    saveAs = folder.filePath("big.svg");
    panel->saveSvg();
    QFile svg(saveAs);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svg.readAll().contains("viewBox=\"0 0 1600 900\""));
    EXPECT_TRUE(warnings.isEmpty());
    // The view on screen keeps its own size.
    EXPECT_LT(panel->chart().size().width(), 1600.0);

    // Sizes out of range are held to it.
    panel->setExportSize(QSize(-5, 1000000));
    EXPECT_EQ(panel->exportSize(), QSize(ChartPanel::smallestExportSide, ChartPanel::largestExportSide));
}
