// The live charts follow a visible run of the example study: each interval a flow-and-density
// detector completes reaches them with the figures its file gets, they keep the last run's
// picture and a new run starts them afresh.

#include "RecordingDialogs.h"
#include "app/CLiveChartsDock.h"
#include "app/CMainFrame.h"
#include "app/CRecentFileList.h"
#include "app/CRoadfluxDoc.h"
#include "app/CRoadfluxView.h"
#include "charts/LiveTimeChart.h"
#include "measurements/FlowDensityTable.h"
#include "outputfiles/CsvText.h"

#include "FakeStudy.h"

#include <QCategoryAxis>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QValueAxis>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace {
const QString examples = QStringLiteral(ROADFLUX_SOURCE_DIR "/examples");
constexpr int liveChartsCommand = 32811;

// The example study with the first minutes of its traffic: a run of several 60 s intervals.
class LiveCharts : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFile::copy(examples + "/study.rfx", folder.filePath("study.rfx")));
        QFile full(examples + "/traffic.txt");
        QFile small(folder.filePath("traffic.txt"));
        ASSERT_TRUE(full.open(QIODevice::ReadOnly) && small.open(QIODevice::WriteOnly));
        for (int line = 0; line < 200 && !full.atEnd(); ++line)
            small.write(full.readLine());
        small.close();
        QDir(folder.path()).mkdir("metrics");
        ASSERT_TRUE(document.onOpenDocument(folder.filePath("study.rfx")));
        frame = std::make_unique<CMainFrame>(document, recent, clock);
        frame->show();
    }

    CLiveChartsDock& dock() const { return *frame->getLiveCharts(); }
    CRoadfluxView& view() const { return *frame->activeView(); }

    void startVisibleRun()
    {
        view().getRunControl().setTimeWarpFactor(1000.0);
        frame->executeCommand(32786);
        ASSERT_TRUE(view().isRunning()) << (dialogs.warnings.empty() ? "" : dialogs.warnings[0]);
    }
    // Ticks a millisecond apart: ten steps each at a warp of 1000, a frame every 50.
    void tick(int count)
    {
        for (int i = 0; i < count && view().isRunning(); ++i)
            view().onTick(++clock.time);
    }
    void runToEnd()
    {
        for (int i = 0; i < 200000 && view().isRunning(); ++i)
            view().onTick(++clock.time);
        ASSERT_FALSE(view().isRunning());
    }
    int pointsDrawn(CLiveChartsDock::Quantity quantity) const
    {
        return static_cast<int>(dock().chart(0, quantity).drawn(0).size());
    }

    RecordingDialogs dialogs;
    QTemporaryDir folder;
    CRoadfluxDoc document;
    ManualClock clock;
    CRecentFileList recent;
    std::unique_ptr<CMainFrame> frame;
};

FlowDensityTable readFlowDensityFile(const QString& path)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return FlowDensityTable::read(CsvText(path.toStdString(), content.str()));
}

// The value as the measurement file writes it: six significant digits.
double asPrinted(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return std::strtod(text, nullptr);
}

double valueOf(const LaneFlow& figures, CLiveChartsDock::Quantity quantity)
{
    switch (quantity)
    {
    case CLiveChartsDock::flow: return figures.flow;
    case CLiveChartsDock::density: return figures.density;
    case CLiveChartsDock::speed: break;
    }
    return figures.speed;
}
}  // namespace

TEST_F(LiveCharts, EachIntervalOfAVisibleRunReachesTheChartsWithTheFiguresOfItsFile)
{
    frame->executeCommand(liveChartsCommand);
    ASSERT_TRUE(dock().isVisible());
    ASSERT_NO_FATAL_FAILURE(startVisibleRun());
    ASSERT_EQ(dock().detectorCount(), 1);
    EXPECT_EQ(dock().tabs().tabText(0), "Flow && Density 1500 m dir 1");

    // The charts follow the run: part way through they hold some intervals, not all.
    tick(250);
    ASSERT_TRUE(view().isRunning());
    const int partWay = pointsDrawn(CLiveChartsDock::flow);
    EXPECT_GT(partWay, 0);
    ASSERT_NO_FATAL_FAILURE(runToEnd());

    const FlowDensityTable file = readFlowDensityFile(folder.filePath("metrics/FD_All_Pos_1500.csv"));
    ASSERT_EQ(file.laneCount, 2);
    ASSERT_GT(file.rows.size(), 4u);
    EXPECT_GT(static_cast<int>(file.rows.size()), partWay);
    const double runStart = document.liveFigures().getRunStart();
    for (CLiveChartsDock::Quantity quantity : {CLiveChartsDock::flow, CLiveChartsDock::density, CLiveChartsDock::speed})
        for (int group = 0; group <= file.laneCount; ++group)
        {
            SCOPED_TRACE(testing::Message() << "quantity " << quantity << ", group " << group);
            QList<QPointF> expected;
            for (const FlowDensityRow& row : file.rows)
            {
                const LaneFlow& figures =
                    group < file.laneCount ? row.lanes[static_cast<std::size_t>(group)] : row.totals;
                // An empty cell (no vehicle) breaks the line.
                if (std::isfinite(valueOf(figures, quantity)))
                    expected.append(
                        QPointF(runStart + 60.0 * static_cast<double>(row.interval), valueOf(figures, quantity)));
            }
            const QList<QPointF> drawn = dock().chart(0, quantity).drawn(group);
            ASSERT_EQ(drawn.size(), expected.size());
            for (qsizetype i = 0; i < drawn.size(); ++i)
            {
                EXPECT_DOUBLE_EQ(drawn[i].x(), expected[i].x());
                EXPECT_EQ(asPrinted(drawn[i].y()), expected[i].y()) << "point " << i;
            }
        }

    // The time axis tells the time of day of the traffic file, whose first vehicle came at 07:30.
    auto* time = qobject_cast<QCategoryAxis*>(&dock().chart(0, CLiveChartsDock::flow).timeAxis());
    ASSERT_NE(time, nullptr);
    EXPECT_EQ(time->titleText(), "Time of day (hh:mm)");
    ASSERT_FALSE(time->categoriesLabels().isEmpty());
    EXPECT_TRUE(time->categoriesLabels().first().startsWith("07:")) << time->categoriesLabels().first().toStdString();
    // From the run's start to past its last interval.
    EXPECT_DOUBLE_EQ(time->min(), runStart);
    EXPECT_GE(time->max(), runStart + 60.0 * static_cast<double>(file.rows.size()));
}

TEST_F(LiveCharts, KeepTheLastRunUntilTheNextStartsAndCatchUpWhenShownLate)
{
    // Hidden during the whole run, the dock shows it all once shown.
    ASSERT_NO_FATAL_FAILURE(startVisibleRun());
    ASSERT_NO_FATAL_FAILURE(runToEnd());
    frame->executeCommand(liveChartsCommand);
    ASSERT_EQ(dock().detectorCount(), 1);
    const int wholeRun = pointsDrawn(CLiveChartsDock::flow);
    EXPECT_GT(wholeRun, 4);
    // Nothing new after the end: the picture stays.
    dock().refresh();
    EXPECT_EQ(pointsDrawn(CLiveChartsDock::flow), wholeRun);

    // A new run clears the charts at its first frame, before its first interval ends.
    ASSERT_NO_FATAL_FAILURE(startVisibleRun());
    EXPECT_EQ(pointsDrawn(CLiveChartsDock::flow), 0);
    tick(30);
    EXPECT_EQ(pointsDrawn(CLiveChartsDock::speed), 0);
    ASSERT_NO_FATAL_FAILURE(runToEnd());
    EXPECT_GT(pointsDrawn(CLiveChartsDock::flow), 4);
}
