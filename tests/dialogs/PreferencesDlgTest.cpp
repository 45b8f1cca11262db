// The graphics preferences: values shown in metres, corrections with their messages on OK, and
// the view's settings after OK.

#include "../app/FakeStudy.h"
#include "../app/RecordingDialogs.h"
#include "app/CRoadfluxView.h"
#include "app/CStudyEditing.h"
#include "dialogs/CPreferencesDlg.h"
#include "widgets/CGridCtrl.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {
class Preferences : public ::testing::Test
{
protected:
    Preferences() : view(study, clock)
    {
        view.initialUpdate();
        CStudyEditing::fillPreferences(dialog, view);
    }

    void edit(int setting, const char* text) { ASSERT_TRUE(dialog.getGrid()->editCell(setting + 1, 1, text)); }

    RecordingDialogs dialogs;
    FakeStudy study;
    ManualClock clock;
    CRoadfluxView view;
    CPreferencesDlg dialog;
};
}

TEST_F(Preferences, WidthsAreShownInMetres)
{
    CGridCtrl* grid = dialog.getGrid();
    EXPECT_EQ(grid->text(0, 0), "Setting");
    EXPECT_EQ(grid->text(0, 1), "Value");
    EXPECT_EQ(grid->text(1, 0), "Overall scale (meters/pixel)");
    EXPECT_EQ(grid->text(4, 1), "4");  // lane width
    EXPECT_EQ(grid->text(5, 1), "3");  // vehicle width
    EXPECT_EQ(grid->text(10, 1), "500");
}

TEST_F(Preferences, OutOfRangeValuesAreCorrectedWithMessages)
{
    edit(CPreferencesDlg::viewScale, "0.05");
    edit(CPreferencesDlg::widthsScale, "0.5");
    edit(CPreferencesDlg::timeWarpFactor, "0.5");
    edit(CPreferencesDlg::vehicleWidth, "4.5");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const auto& s = dialog.settings;
    EXPECT_DOUBLE_EQ(s[CPreferencesDlg::viewScale], 0.1);
    EXPECT_DOUBLE_EQ(s[CPreferencesDlg::widthsScale], 1.0);
    EXPECT_DOUBLE_EQ(s[CPreferencesDlg::timeWarpFactor], 1.0);
    EXPECT_DOUBLE_EQ(s[CPreferencesDlg::vehicleWidth], 3.2);
    EXPECT_EQ(dialogs.warnings,
              (std::vector<std::string>{"View scale cannot be less than minimum - default minimum set",
                                        "Widths scale cannot be less than 1.0 - default set",
                                        "Vehicle width should be less than lane width - default of 80% of lane "
                                        "width set"}));
}

TEST_F(Preferences, AVehicleAsWideAsItsLaneStays)
{
    edit(CPreferencesDlg::vehicleWidth, "4");
    dialog.accept();
    EXPECT_DOUBLE_EQ(dialog.settings[CPreferencesDlg::vehicleWidth], 4.0);
    EXPECT_TRUE(dialogs.warnings.empty());
}

TEST_F(Preferences, OkSetsTheViewsDisplay)
{
    edit(CPreferencesDlg::widthsScale, "20");
    edit(CPreferencesDlg::showLegend, "0.5");
    edit(CPreferencesDlg::showVelocities, "0");
    edit(CPreferencesDlg::tickInterval, "250.9");
    edit(CPreferencesDlg::timeWarpFactor, "8");
    edit(CPreferencesDlg::spaceTimeInterval, "0.5");
    dialog.accept();
    CStudyEditing::applyPreferences(dialog, view);
    const CDisplaySettings& d = view.displaySettings();
    EXPECT_DOUBLE_EQ(d.laneWidth, 80.0);
    EXPECT_DOUBLE_EQ(d.vehicleWidth, 60.0);
    EXPECT_TRUE(d.showLegend);
    EXPECT_FALSE(d.showVelocities);
    EXPECT_EQ(d.tickInterval, 250);
    EXPECT_DOUBLE_EQ(view.getRunControl().getTimeWarpFactor(), 8.0);
    EXPECT_DOUBLE_EQ(view.getRunControl().getSpaceTimeInterval(), 0.5);
    EXPECT_EQ(view.getLayout().yBottom, 160);  // two lanes of 80 logical units
    EXPECT_EQ(view.getLayout().tickCount, 13);
}

TEST_F(Preferences, ValuesThatWouldBreakTheDrawingAreBounded)
{
    edit(CPreferencesDlg::tickInterval, "0");
    edit(CPreferencesDlg::viewScale, "100000");
    dialog.accept();
    EXPECT_DOUBLE_EQ(dialog.settings[CPreferencesDlg::tickInterval], 500.0);
    EXPECT_DOUBLE_EQ(dialog.settings[CPreferencesDlg::viewScale], 100.0);
    EXPECT_EQ(dialogs.warnings.size(), 2u);
}

TEST_F(Preferences, CorrectionsAreToldWhileTheDialogIsStillShown)
{
    // Notes, with each message, whether the dialog was on the screen.
    class WatchingDialogs : public RecordingDialogs
    {
    public:
        explicit WatchingDialogs(const QWidget& watched) : dialog(watched) {}
        void warn(const std::string& text) override
        {
            RecordingDialogs::warn(text);
            shownAtEach.push_back(dialog.isVisible());
        }
        const QWidget& dialog;
        std::vector<bool> shownAtEach;
    } watching(dialog);

    dialog.show();
    edit(CPreferencesDlg::viewScale, "0.05");
    edit(CPreferencesDlg::timeWarpFactor, "5000");
    dialog.accept();
    EXPECT_EQ(watching.warnings,
              (std::vector<std::string>{"View scale cannot be less than minimum - default minimum set",
                                        "Time warp factor cannot be more than 1000 - maximum set"}));
    EXPECT_EQ(watching.shownAtEach, (std::vector<bool>{true, true}));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_DOUBLE_EQ(dialog.settings[CPreferencesDlg::timeWarpFactor], 1000.0);
}

TEST_F(Preferences, TheSpaceTimeIntervalIsAPositiveNumberOfSecondsUpToAnHour)
{
    CGridCtrl* grid = dialog.getGrid();
    EXPECT_EQ(grid->text(CPreferencesDlg::spaceTimeInterval + 1, 0), "Space-time interval (s)");
    EXPECT_EQ(grid->text(CPreferencesDlg::spaceTimeInterval + 1, 1), "1");
    // The grid takes no sign; a negative or not-a-number value set otherwise is corrected too.
    edit(CPreferencesDlg::spaceTimeInterval, "0");
    dialog.correctSettings();
    dialog.settings[CPreferencesDlg::spaceTimeInterval] = -2.0;
    dialog.correctSettings();
    dialog.settings[CPreferencesDlg::spaceTimeInterval] = std::nan("");
    dialog.correctSettings();
    EXPECT_DOUBLE_EQ(dialog.settings[CPreferencesDlg::spaceTimeInterval], 1.0);
    EXPECT_EQ(dialogs.warnings,
              std::vector<std::string>(3, "Space-time interval must be more than 0 s - default of 1 s set"));
    edit(CPreferencesDlg::spaceTimeInterval, "7200");
    dialog.correctSettings();
    EXPECT_DOUBLE_EQ(dialog.settings[CPreferencesDlg::spaceTimeInterval], 3600.0);
    edit(CPreferencesDlg::spaceTimeInterval, "0.25");
    dialogs.warnings.clear();
    dialog.accept();
    EXPECT_DOUBLE_EQ(dialog.settings[CPreferencesDlg::spaceTimeInterval], 0.25);
    EXPECT_TRUE(dialogs.warnings.empty());
}
