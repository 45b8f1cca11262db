// The traffic model, road features and metrics detectors dialogs: edits in their grids, the
// copy between classes, adding and deleting rows, and the checks on OK.

#include "../app/RecordingDialogs.h"
#include "app/CRoadfluxDoc.h"
#include "app/CStudyEditing.h"
#include "dialogs/CRoadFeaturesDlg.h"
#include "dialogs/CStatDetectorDlg.h"
#include "dialogs/CTrafficConfigDlg.h"
#include "widgets/CGridCtrl.h"

#include <gtest/gtest.h>

namespace {
std::pair<int, QString> check(CDialogExt& dialog)
{
    int control = -1;
    QString message;
    dialog.validateData(control, message);
    return {message.isEmpty() ? 0 : control, message};
}

CRoadFeaturesDlg::ItemList features(std::initializer_list<CRoadFeature> list)
{
    CRoadFeaturesDlg::ItemList made;
    for (const CRoadFeature& feature : list)
        made.push_back(std::make_unique<CRoadFeature>(feature));
    return made;
}

CRoadFeature feature(int type, bool positive, int start, int end, double value)
{
    CRoadFeature made;
    made.setType(static_cast<std::uint16_t>(type));
    made.setDirectionPositive(positive);
    made.setStart(start);
    made.setEnd(end);
    made.setValue(value);
    return made;
}

double locationOf(const CIDMParameterSet& set)
{
    return set.getParamT().getDistribution().getLocation();
}
}

TEST(TrafficModelDialog, CopyMakesTheShownClassLikeTheSource)
{
    RecordingDialogs dialogs;
    CRoadfluxDoc document;
    CTrafficConfigDlg dialog;
    CStudyEditing::fillTrafficModel(dialog, document);
    dialog.parameterSets[3].getParamT().getDistribution().setLocation(2.75);
    dialog.copyFromSource();  // no source chosen yet: nothing
    EXPECT_NE(locationOf(dialog.parameterSets[0]), 2.75);
    dialog.selectSource(0);
    dialog.copyFromSource();  // the same class: nothing
    dialog.selectSource(3);
    dialog.copyFromSource();
    EXPECT_DOUBLE_EQ(locationOf(dialog.parameterSets[0]), 2.75);
    EXPECT_DOUBLE_EQ(dialog.getGrid()->number(1, 2), 2.75);
    EXPECT_EQ(dialog.parameterSets[0].getVehicleClass(), 0);
}

TEST(TrafficModelDialog, EditsStayWithTheirClassAndReachTheStudyOnOk)
{
    RecordingDialogs dialogs;
    CRoadfluxDoc document;
    CTrafficConfigDlg dialog;
    CStudyEditing::fillTrafficModel(dialog, document);
    CGridCtrl* grid = dialog.getGrid();
    EXPECT_EQ(grid->text(0, 1), "Distribution");
    EXPECT_EQ(grid->text(6, 0), "Desired velocity, v0 (km/h)");
    dialog.selectClass(1);
    ASSERT_TRUE(grid->editCell(1, 2, "1.9"));
    ASSERT_TRUE(grid->editCell(1, 1, "Gamma"));
    EXPECT_FALSE(grid->editCell(1, 1, ""));  // a distribution cannot be left empty
    EXPECT_EQ(grid->text(1, 1), "Gamma");
    dialog.selectClass(2);
    dialog.selectClass(1);
    EXPECT_EQ(grid->text(1, 2), "1.9");
    EXPECT_FALSE(document.isModified());
    CStudyEditing::applyTrafficModel(dialog, document);
    EXPECT_DOUBLE_EQ(locationOf(document.study().getIDMParameterSet(1)), 1.9);
    EXPECT_EQ(document.study().getIDMParameterSet(1).getParamT().getDistribution().getType(), 202);
    EXPECT_TRUE(document.isModified());
}

TEST(RoadFeaturesDialog, ReversedEndsAreSwappedAndLimitsChecked)
{
    RecordingDialogs dialogs;
    CRoadFeaturesDlg dialog(features({feature(400, true, 2000, 1500, 20.0)}), 3000);
    EXPECT_EQ(check(dialog).first, 0);
    EXPECT_EQ(dialog.getItems()[0]->getStart(), 1500);
    EXPECT_EQ(dialog.getItems()[0]->getEnd(), 2000);

    CGridCtrl* grid = dialog.getGrid();
    ASSERT_TRUE(grid->editCell(1, 5, "9"));
    EXPECT_EQ(check(dialog), std::make_pair(1010, QString("Feature 1: Speed limit specified is smaller \nthan the "
                                                          "minimum of 10 km/h.")));
    ASSERT_TRUE(grid->editCell(1, 5, "10"));
    EXPECT_EQ(check(dialog).first, 0);
    ASSERT_TRUE(grid->editCell(1, 5, "200"));
    EXPECT_EQ(check(dialog).first, 1010);
    ASSERT_TRUE(grid->editCell(1, 5, "199"));
    ASSERT_TRUE(grid->editCell(1, 4, "3001"));
    EXPECT_EQ(check(dialog).second, "Feature 1: Starts or ends outside the road length.");
}

TEST(RoadFeaturesDialog, OverlapsOfTheSameKindAndDirectionAreRefused)
{
    RecordingDialogs dialogs;
    CRoadFeaturesDlg dialog(features({feature(400, true, 0, 1000, 20.0), feature(400, true, 500, 1500, 20.0)}), 3000);
    EXPECT_EQ(check(dialog).second, "Feature 1 overlaps with Feature 2 \n- change start and end points.");
    dialog.getGrid()->editCell(2, 2, "Negative x");
    EXPECT_EQ(check(dialog).first, 0);
}

TEST(RoadFeaturesDialog, ChangingTheTypeKeepsTheStoredNumber)
{
    RecordingDialogs dialogs;
    CRoadFeaturesDlg dialog(features({feature(401, true, 0, 1000, 5.0)}), 3000);
    CGridCtrl* grid = dialog.getGrid();
    EXPECT_EQ(grid->text(1, 5), "5");
    ASSERT_TRUE(grid->editCell(1, 1, "Speed Limit"));
    dialog.fillGrid();
    EXPECT_EQ(grid->text(1, 5), "18");
}

TEST(RoadFeaturesDialog, RowsAreAddedAndDeletedAtTheEnd)
{
    RecordingDialogs dialogs;
    CRoadfluxDoc document;
    CRoadFeaturesDlg dialog(document.study().getRoadFeatures(), 3000);
    dialog.addItem();
    EXPECT_EQ(dialog.getGrid()->rowCount(), 3);
    EXPECT_EQ(dialog.getGrid()->text(2, 0), "Feature 2");
    dialog.deleteLastItem();
    dialog.deleteLastItem();
    dialog.deleteLastItem();
    EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"No road feature to delete."});
    EXPECT_EQ(document.study().getRoadFeatures().size(), 1u);  // the study keeps its list until OK
    CStudyEditing::applyRoadFeatures(dialog, document);
    EXPECT_TRUE(document.study().getRoadFeatures().empty());
    EXPECT_TRUE(document.isModified());
}

TEST(MetricsDialog, ShortIntervalsAskAndZeroIsRefused)
{
    RecordingDialogs dialogs;
    CRoadfluxDoc document;
    CStatDetectorDlg dialog(document.study().getStatDetectors(), 3000);
    CGridCtrl* grid = dialog.getGrid();
    EXPECT_EQ(grid->text(1, 1), "Flow & Density");
    ASSERT_TRUE(grid->editCell(1, 4, "5"));
    dialogs.answerYes = false;
    EXPECT_EQ(check(dialog), std::make_pair(1010, QString("Detector 1: Change the time interval.")));
    EXPECT_EQ(dialogs.questions.back(),
              "Detector 1: The time interval is very small and may cause problems.\nAre you sure you want to keep "
              "this value?");
    dialogs.answerYes = true;
    EXPECT_EQ(check(dialog).first, 0);
    ASSERT_TRUE(grid->editCell(1, 4, "0"));
    EXPECT_EQ(check(dialog).second, "Detector 1: The time interval must not be zero.");
}

TEST(MetricsDialog, LongLaneChangeStepsWarnAndLocationsOffTheRoadAreRefused)
{
    RecordingDialogs dialogs;
    CRoadfluxDoc document;
    CStatDetectorDlg dialog(document.study().getStatDetectors(), 2000);
    CGridCtrl* grid = dialog.getGrid();
    ASSERT_TRUE(grid->editCell(1, 5, "2001"));
    EXPECT_EQ(check(dialog).second, "Detector 1: must be located on the road.\nPlease check its location.");
    ASSERT_TRUE(grid->editCell(1, 5, "1500"));
    ASSERT_TRUE(grid->editCell(1, 1, "Lane Changes"));
    EXPECT_EQ(check(dialog).first, 0);
    EXPECT_EQ(dialogs.warnings.back(),
              "Detector 1: The lane change detector step is very large and may cause problems.");
    dialog.deleteLastItem();
    dialog.deleteLastItem();
    EXPECT_EQ(dialogs.warnings.back(), "No statistics detector to delete.");
}
