#include "charts/ChartsTestSupport.h"

#include "charts/ChartPalette.h"
#include "charts/SpaceTimeCharts.h"
#include "charts/SpaceTimeItem.h"
#include "resultswindow/ChartPanel.h"
#include "resultswindow/ResultsWindow.h"
#include "resultswindow/SpaceTimePage.h"

#include <QCheckBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QValueAxis>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using ::testing::ElementsAre;

namespace {

constexpr float nothing = std::numeric_limits<float>::quiet_NaN();

// A run of two lanes in direction 1 and one in direction 2, recorded from 1 h to 2 h of the clock
// in four 15-minute columns and three 100 m rows. Lane 1 drove at 20 m/s through column 1, row 2;
// lane 2 at 10 m/s through column 3, row 0.
struct RecordedRun
{
    std::vector<std::vector<int>> asked;

    SpaceTimeSource source()
    {
        SpaceTimeSource recorded;
        recorded.lanes = {{1, 1}, {2, 1}, {3, 2}};
        recorded.picture = [this](const std::vector<int>& lanes) {
            asked.push_back(lanes);
            SpaceTimePicture picture;
            picture.columns = 4;
            picture.rows = 3;
            picture.startTime = 3600.0;
            picture.secondsPerColumn = 900.0;
            picture.metresPerRow = 100.0;
            picture.speeds.assign(12, nothing);
            for (int lane : lanes)
            {
                if (lane == 1)
                    picture.speeds[2 * 4 + 1] = 20.0f;
                if (lane == 2)
                    picture.speeds[0 * 4 + 3] = 10.0f;
            }
            picture.maximumSpeed = 20.0f;
            return picture;
        };
        return recorded;
    }
};

SpaceTimeItem* itemOf(ChartPanel* panel)
{
    for (QGraphicsItem* item : panel->chart().childItems())
        if (auto* found = dynamic_cast<SpaceTimeItem*>(item))
            return found;
    return nullptr;
}

}  // namespace

TEST(SpaceTimeCharts, DrawEachCellAtItsTimeAndPlaceColouredBySpeed)
{
    RecordedRun run;
    ResultsDialogs dialogs;
    SpaceTimePage page(run.source(), QStringLiteral("/tmp/run"), dialogs);
    ASSERT_NE(page.panel(1), nullptr);
    ASSERT_NE(page.panel(2), nullptr);
    EXPECT_THAT(run.asked, ElementsAre(std::vector<int>{1, 2}, std::vector<int>{3}));

    QChart& chart = page.panel(1)->chart();
    auto* time = qobject_cast<QValueAxis*>(chart.axes(Qt::Horizontal).first());
    auto* place = qobject_cast<QValueAxis*>(chart.axes(Qt::Vertical).first());
    EXPECT_EQ(time->titleText(), QStringLiteral("Time of day (hh:mm)"));
    EXPECT_EQ(place->titleText(), QStringLiteral("Road x (m), D1 away from 0"));
    EXPECT_EQ(time->min(), 3600.0);
    EXPECT_EQ(time->max(), 7200.0);
    EXPECT_EQ(place->max(), 300.0);

    SpaceTimeItem* item = itemOf(page.panel(1));
    ASSERT_NE(item, nullptr);
    const QImage& image = item->image();
    ASSERT_EQ(image.size(), QSize(4, 3));
    // Row 0 at the bottom of the picture; the fastest cell takes the scale's top colour.
    EXPECT_EQ(image.pixelColor(1, 0), ChartPalette::scale(1.0));
    EXPECT_EQ(image.pixelColor(3, 2), ChartPalette::scale(0.5));
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);  // a gap, not a slow cell
    EXPECT_TRUE(page.panel(1)->chart().title().contains(QStringLiteral("D1 lane 1, D1 lane 2")));
}

TEST(SpaceTimeCharts, TheLaneBoxesChooseTheLanesShown)
{
    RecordedRun run;
    ResultsDialogs dialogs;
    SpaceTimePage page(run.source(), QStringLiteral("/tmp/run"), dialogs);
    ASSERT_NE(page.laneBox(2), nullptr);
    EXPECT_EQ(page.laneBox(4), nullptr);
    page.laneBox(2)->setChecked(false);
    EXPECT_EQ(run.asked.back(), std::vector<int>{1});
    EXPECT_EQ(itemOf(page.panel(1))->image().pixelColor(3, 2).alpha(), 0);

    page.laneBox(1)->setChecked(false);
    EXPECT_EQ(run.asked.size(), 3u);  // no lane: nothing to ask for
    EXPECT_TRUE(page.panel(1)->chart().title().contains(QStringLiteral("no lane chosen")));
}

TEST(SpaceTimeCharts, TheResultsWindowKeepsTheDiagramWhenItReadsItsFilesAgain)
{
    QTemporaryDir folder;
    writeTextFile(std::filesystem::path(folder.path().toStdString()) / "FD_All_Pos_1500.csv", threeIntervalFlows);
    ResultsWindow window;
    window.showFolder(folder.path());
    RecordedRun run;
    window.showSpaceTime(run.source());
    window.showSpaceTime(run.source());
    ASSERT_EQ(window.tabs().count(), 2);
    EXPECT_EQ(window.tabs().tabText(1), QStringLiteral("Space-time diagram"));
    window.reload();
    ASSERT_EQ(window.tabs().count(), 2);
    EXPECT_EQ(window.tabs().tabText(0), QStringLiteral("Flow && Density 1500 m dir 1"));
    EXPECT_EQ(window.tabs().tabText(1), QStringLiteral("Space-time diagram"));
}
