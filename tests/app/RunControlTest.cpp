// The run-control state machine of a view: pacing by the time warp against a manual clock, with
// every step due made and the missed ones dropped, the warp achieved, pause kept out of the
// real-time clock, warp and zoom limits, stop and restart, invisible runs, one run at a time,
// and keyboard scrolling.

#include "FakeStudy.h"
#include "RecordingDialogs.h"
#include "app/CRoadfluxView.h"
#include "app/CStatusBar.h"

#include <QKeyEvent>
#include <QMainWindow>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {
// Counts the frames a view paints while its run goes on.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(CRoadfluxView& watched) : view(watched) { view.viewport()->installEventFilter(this); }
    ~PaintWatch() override { view.viewport()->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && view.isRunning())
            ++paintsDuringTheRun;
        return QObject::eventFilter(watched, event);
    }

    int paintsDuringTheRun = 0;

private:
    CRoadfluxView& view;
};

class RunControl : public ::testing::Test
{
protected:
    std::unique_ptr<CRoadfluxView> makeView()
    {
        auto view = std::make_unique<CRoadfluxView>(study, clock);
        view->resize(600, 300);
        view->show();
        view->initialUpdate();
        return view;
    }

    void tickAt(CRoadfluxView& view, std::uint32_t offsetMs) { view.onTick(start + offsetMs); }

    RecordingDialogs dialogs;
    ManualClock clock;
    FakeStudy study;
    const std::uint32_t start = clock.time;
};
}

TEST_F(RunControl, AStepIsDueEveryStepLengthDividedByTheWarp)
{
    auto view = makeView();
    view->getRunControl().setTimeWarpFactor(4.0);
    view->runVisible();
    ASSERT_TRUE(view->isRunning());
    EXPECT_EQ(view->getRunControl().stepIntervalMs(), 25);
    tickAt(*view, 25);  // due only once the clock is past the step's time
    EXPECT_EQ(study.sim.steps, 0);
    tickAt(*view, 26);
    EXPECT_EQ(study.sim.steps, 1);
    tickAt(*view, 40);
    EXPECT_EQ(study.sim.steps, 1);
    tickAt(*view, 51);
    EXPECT_EQ(study.sim.steps, 2);
    view->stop();
}

TEST_F(RunControl, MissedStepsAreNotMadeUp)
{
    auto view = makeView();
    view->runVisible();
    tickAt(*view, 1000);  // nine steps late: one step, and the schedule moves up to now
    EXPECT_EQ(study.sim.steps, 1);
    tickAt(*view, 1001);
    EXPECT_EQ(study.sim.steps, 2);
    tickAt(*view, 1100);
    EXPECT_EQ(study.sim.steps, 2);
    tickAt(*view, 1101);
    EXPECT_EQ(study.sim.steps, 3);
    EXPECT_EQ(view->msUntilNextEvent(start + 1101), 50u);  // the next repaint comes first
    view->stop();
}

TEST_F(RunControl, AHighWarpMakesEveryStepThatFellDueSinceTheLastTick)
{
    auto view = makeView();
    view->getRunControl().setTimeWarpFactor(1000.0);
    view->runVisible();
    EXPECT_DOUBLE_EQ(view->getRunControl().stepIntervalMs(), 0.1);
    for (std::uint32_t t = 1; t <= 100; ++t)
    {
        tickAt(*view, t);
        tickAt(*view, t);  // a second tick in the same millisecond finds nothing more due
    }
    EXPECT_NEAR(study.sim.steps, 1000, 1);  // 10,000 steps per second of real time
    view->stop();
}

TEST_F(RunControl, StepsMissedWhileTheProgramWasBusyAreDropped)
{
    auto view = makeView();
    view->getRunControl().setTimeWarpFactor(1000.0);
    view->runVisible();
    tickAt(*view, 10);
    const int before = study.sim.steps;
    tickAt(*view, 510);  // half a second elsewhere: 5,000 steps fell due
    const int made = study.sim.steps - before;
    const double allowed = CRunControl::lateStepAllowanceMs / 0.1;
    EXPECT_GE(made, allowed - 1);
    EXPECT_LE(made, allowed + 1);
    view->stop();
}

TEST_F(RunControl, ATickStopsSteppingWhenItsTimeIsUp)
{
    study.sim.clock = &clock;
    study.sim.msPerStep = 1;  // a processor that cannot keep up with 10,000 steps per second
    auto view = makeView();
    view->getRunControl().setTimeWarpFactor(1000.0);
    view->runVisible();
    clock.time = start + 5;
    view->onTick(clock.time);
    EXPECT_EQ(study.sim.steps, CRunControl::stepBudgetMs + 1);
    view->stop();
}

TEST_F(RunControl, AResumedRunDoesNotMakeUpThePause)
{
    auto view = makeView();
    view->getRunControl().setTimeWarpFactor(1000.0);
    view->runVisible();
    tickAt(*view, 1);
    const int before = study.sim.steps;
    clock.time = start + 2;
    view->togglePause();
    clock.time = start + 2002;
    view->togglePause();
    tickAt(*view, 2002);
    EXPECT_EQ(study.sim.steps, before);
    tickAt(*view, 2003);
    EXPECT_NEAR(study.sim.steps - before, 10, 1);
    view->stop();
}

TEST_F(RunControl, TheAchievedWarpIsMeasuredOverTheLastSecond)
{
    auto view = makeView();
    view->getRunControl().setTimeWarpFactor(4.0);
    view->runVisible();
    for (std::uint32_t t = 1; t <= 150; ++t)
        tickAt(*view, t);
    EXPECT_LT(view->getRunControl().getAchievedWarp(), 0.0);  // too soon to say
    for (std::uint32_t t = 151; t <= 2000; ++t)
        tickAt(*view, t);
    EXPECT_NEAR(view->getRunControl().getAchievedWarp(), 4.0, 0.15);
    // Ticks a tenth as often: the run goes slower than asked, and says so.
    for (std::uint32_t t = 2100; t <= 5000; t += 100)
        tickAt(*view, t);
    EXPECT_NEAR(view->getRunControl().getAchievedWarp(), 1.0, 0.15);
    view->stop();
}

TEST_F(RunControl, PauseTimeIsKeptOutOfTheRealClock)
{
    auto view = makeView();
    view->runVisible();
    clock.time = start + 1000;
    view->togglePause();
    EXPECT_TRUE(view->isPaused());
    tickAt(*view, 3000);
    EXPECT_EQ(study.sim.steps, 0);  // no step while paused
    clock.time = start + 6000;
    view->togglePause();
    EXPECT_FALSE(view->isPaused());
    clock.time = start + 6500;
    view->getRunControl().refreshClocks();
    EXPECT_EQ(view->getRunControl().getRealElapsedMs(), 1500);
    view->stop();
}

TEST_F(RunControl, RunVisibleResumesAPausedRunAndRefusesASecondStart)
{
    auto view = makeView();
    view->runVisible();
    view->runVisible();
    ASSERT_EQ(dialogs.warnings.size(), 1u);
    EXPECT_EQ(dialogs.warnings[0], "Simulation already running");
    view->togglePause();
    view->runVisible();
    EXPECT_FALSE(view->isPaused());
    EXPECT_EQ(dialogs.warnings.size(), 1u);
    EXPECT_EQ(study.sim.setups, 1);
    view->stop();
}

TEST_F(RunControl, TimeWarpStopsAtItsLimitsWithTheirMessages)
{
    auto view = makeView();
    view->runVisible();
    for (int i = 0; i < 1000; ++i)
        view->speedUp();
    EXPECT_DOUBLE_EQ(view->getRunControl().getTimeWarpFactor(), 1000.0);
    ASSERT_EQ(dialogs.notices.size(), 1u);
    EXPECT_EQ(dialogs.notices[0], "Maximum time warp reached (1000.00) for this simulation.");

    for (int i = 0; i < 999; ++i)
        view->slowDown();
    EXPECT_DOUBLE_EQ(view->getRunControl().getTimeWarpFactor(), 1.0);
    view->slowDown();
    EXPECT_DOUBLE_EQ(view->getRunControl().getTimeWarpFactor(), 1.0);  // back to real time
    EXPECT_EQ(dialogs.notices.back(), "Half of real-time speed is the minimum time warp.");
    view->stop();
}

TEST_F(RunControl, ZoomOutIsRefusedBelowTheMinimumScale)
{
    auto view = makeView();
    for (int i = 0; i < 4; ++i)
        view->zoomOut();
    EXPECT_NEAR(view->displaySettings().viewScale, 0.2, 1e-9);
    EXPECT_TRUE(dialogs.warnings.empty());
    view->zoomOut();
    EXPECT_NEAR(view->displaySettings().viewScale, 0.2, 1e-9);
    ASSERT_EQ(dialogs.warnings.size(), 1u);
    EXPECT_EQ(dialogs.warnings[0], "You cannot zoom out any further - minimum view scale is 0.1.");
    view->zoomIn();
    EXPECT_NEAR(view->displaySettings().viewScale, 0.4, 1e-9);
    // The scroll sizes follow the zoom, rounded.
    const CRoadLayout& layout = view->getLayout();
    EXPECT_EQ(view->scrollSizes(),
              QSize(static_cast<int>(layout.worldWidth * 0.4 + 0.5), static_cast<int>(layout.worldHeight * 0.4 + 0.5)));
}

TEST_F(RunControl, ZoomKeepsTheCentreOfTheWindowInPlace)
{
    auto view = makeView();
    view->scrollTo(QPoint(1000, 0));
    const int halfWidth = view->viewport()->width() / 2;
    view->setViewScale(2.0);
    const int expected = static_cast<int>((1000 + halfWidth) / 1.0 * 2.0 + 0.5) - halfWidth;
    EXPECT_EQ(view->scrollPosition().x(), expected);
}

TEST_F(RunControl, AStoppedRunIsResetAndTheNextStartsUnpausedFromZero)
{
    auto view = makeView();
    view->runVisible();
    tickAt(*view, 101);
    clock.time = start + 500;
    view->togglePause();
    view->stop();
    EXPECT_FALSE(view->isRunning());
    EXPECT_EQ(study.sim.resets, 1);
    EXPECT_TRUE(view->getRunControl().getVehicleLists().empty());
    EXPECT_TRUE(dialogs.notices.empty());  // a stop tells nothing
    EXPECT_EQ(CRoadfluxView::viewRunning(), nullptr);

    clock.time = start + 20000;
    view->runVisible();
    EXPECT_TRUE(view->isRunning());
    EXPECT_FALSE(view->isPaused());
    view->getRunControl().refreshClocks();
    EXPECT_EQ(view->getRunControl().getRealElapsedMs(), 0);
    view->stop();
}

TEST_F(RunControl, AFinishedVisibleRunSaysSo)
{
    study.sim.stepsUntilEnd = 2;
    auto view = makeView();
    view->runVisible();
    tickAt(*view, 101);
    tickAt(*view, 201);
    EXPECT_FALSE(view->isRunning());
    EXPECT_EQ(study.sim.resets, 1);
    ASSERT_EQ(dialogs.notices.size(), 1u);
    EXPECT_EQ(dialogs.notices[0], "The simulation has finished.");
}

TEST_F(RunControl, AFinishedRunShowsTheClockOfItsEndNotOfItsLastFrame)
{
    study.sim.stepsUntilEnd = 37;
    auto view = makeView();
    view->getRunControl().setTimeWarpFactor(1000.0);
    view->runVisible();
    tickAt(*view, 1);  // ten steps, then a frame
    view->getRunControl().refreshClocks();
    EXPECT_NEAR(view->getRunControl().getSimTime(), 1.0, 1e-9);
    clock.time = start + 4;
    tickAt(*view, 4);
    ASSERT_FALSE(view->isRunning());
    // The end came between frames: the clock is that of the last step, not of the last frame.
    EXPECT_NEAR(view->getRunControl().getSimTime(), 3.7, 1e-9);
    EXPECT_EQ(view->getRunControl().getRealElapsedMs(), 4);
}

TEST_F(RunControl, VehiclesLeftOffTheRoadAreToldUnderTheEndMessage)
{
    study.sim.stepsUntilEnd = 1;
    study.sim.remark = "3 vehicles were not released: their lanes are not lanes of this road.";
    auto view = makeView();
    view->runVisible();
    tickAt(*view, 101);
    ASSERT_EQ(dialogs.notices.size(), 1u);
    EXPECT_EQ(dialogs.notices[0], "The simulation has finished.\n" + study.sim.remark);
}

TEST_F(RunControl, ARefusedSetUpStartsNoRun)
{
    study.sim.setupResult = false;
    auto view = makeView();
    view->runVisible();
    EXPECT_FALSE(view->isRunning());
    EXPECT_EQ(CRoadfluxView::viewRunning(), nullptr);
    EXPECT_EQ(view->getProgressBar(), nullptr);
}

TEST_F(RunControl, InvisibleRunAskedNoDoesNothing)
{
    dialogs.answerYes = false;
    auto view = makeView();
    view->runInvisible();
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].rfind("Running Roadflux in this mode means:\n- only the progress bar", 0), 0u);
    EXPECT_EQ(study.sim.setups, 0);
}

TEST_F(RunControl, InvisibleRunStepsToTheEndAndResets)
{
    study.sim.stepsUntilEnd = 500;
    auto view = makeView();
    clock.time = start;
    view->runInvisible();
    EXPECT_EQ(study.sim.steps, 0);  // reset after 500 steps
    EXPECT_EQ(study.sim.resets, 1);
    EXPECT_FALSE(view->isRunning());
    EXPECT_NEAR(view->getRunControl().getSimTime(), 50.0, 1e-6);
    ASSERT_EQ(dialogs.notices.size(), 1u);
    EXPECT_EQ(dialogs.notices[0], "The simulation has finished.");
}

TEST_F(RunControl, AnInvisibleRunDrawsNothingUntilItEnds)
{
    QMainWindow window;
    window.setStatusBar(new CStatusBar);
    auto* view = new CRoadfluxView(study, clock);
    window.setCentralWidget(view);
    window.resize(600, 300);
    window.show();
    view->initialUpdate();
    QCoreApplication::processEvents();
    PaintWatch watch(*view);
    study.sim.stepsUntilEnd = 300;
    for (int percent = 1; percent <= 100; ++percent)
        study.sim.progressScript.push_back(percent);
    view->runInvisible();
    EXPECT_EQ(watch.paintsDuringTheRun, 0);
    EXPECT_EQ(study.sim.steps, 0);  // reset at the end
}

TEST_F(RunControl, AVisibleRunRepaintsOncePer50MsHoweverFastItSteps)
{
    auto view = makeView();
    for (int percent = 1; percent <= 100; ++percent)
        study.sim.progressScript.push_back(percent);
    view->getRunControl().setTimeWarpFactor(1000.0);
    view->runVisible();
    QCoreApplication::processEvents();
    PaintWatch watch(*view);
    for (std::uint32_t t = 1; t <= 50; ++t)
    {
        tickAt(*view, t);
        QCoreApplication::processEvents();
    }
    EXPECT_GT(view->getRunControl().getLastProgressPercent(), 90);
    EXPECT_EQ(watch.paintsDuringTheRun, 0);
    tickAt(*view, 51);
    QCoreApplication::processEvents();
    EXPECT_EQ(watch.paintsDuringTheRun, 1);
    view->stop();
}

TEST_F(RunControl, OnlyOneViewRunsTheStudysSimulation)
{
    auto first = makeView();
    auto second = makeView();
    first->runVisible();
    second->runVisible();
    second->runInvisible();
    EXPECT_FALSE(second->isRunning());
    EXPECT_EQ(dialogs.warnings.size(), 2u);
    EXPECT_EQ(study.sim.setups, 1);
    EXPECT_EQ(CRoadfluxView::viewRunning(), first.get());
    first.reset();  // closing the running pane ends its run
    EXPECT_EQ(study.sim.resets, 1);
    EXPECT_EQ(CRoadfluxView::viewRunning(), nullptr);
}

TEST_F(RunControl, HomeEndLeftAndRightScrollByATenthOfTheRoad)
{
    auto view = makeView();
    QTest::keyClick(view.get(), Qt::Key_Right);
    EXPECT_EQ(view->scrollPosition().x(), 300);
    QTest::keyClick(view.get(), Qt::Key_Right);
    QTest::keyClick(view.get(), Qt::Key_Left);
    EXPECT_EQ(view->scrollPosition().x(), 300);
    QTest::keyClick(view.get(), Qt::Key_End);
    EXPECT_EQ(view->scrollPosition().x(), view->horizontalScrollBar()->maximum());
    QTest::keyClick(view.get(), Qt::Key_Home);
    EXPECT_EQ(view->scrollPosition().x(), 0);
}
