// A new study's defaults, what File, New keeps, the lane totals and the modified mark.

#include "document/StudyDocument.h"

#include <gtest/gtest.h>

TEST(StudyDocumentNew, HasTheDefaultsOfANewStudy)
{
    StudyDocument document;
    EXPECT_EQ(document.getInputFileName(), "");
    EXPECT_EQ(document.getOutputFileName(), "");
    EXPECT_EQ(document.getMetricsFolder(), "");
    EXPECT_EQ(document.getRoadLength(), 3000);
    EXPECT_EQ(document.getLanesDir1(), 2);
    EXPECT_EQ(document.getLanesDir2(), 1);
    EXPECT_EQ(document.getFileFormat(), 101);
    EXPECT_DOUBLE_EQ(document.getTimeStep(), 0.1);
    EXPECT_TRUE(document.getDrivesOnRight());
    EXPECT_EQ(document.getOutputDetectorLocation1(), 2500);
    EXPECT_EQ(document.getOutputDetectorLocation2(), 2500);
    EXPECT_TRUE(document.getOutputCars());
    EXPECT_EQ(document.getNumDirections(), 2);
    EXPECT_EQ(document.getTotalLanes(), 3);
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(document.getPathName(), "");

    ASSERT_EQ(document.getRoadFeatures().size(), 1u);
    EXPECT_EQ(document.getRoadFeatures()[0]->getType(), CRoadFeature::speedLimit);
    EXPECT_DOUBLE_EQ(document.getRoadFeatures()[0]->getValue(), 41.7);
    ASSERT_EQ(document.getStatDetectors().size(), 1u);
    EXPECT_EQ(document.getStatDetectors()[0]->getKind(), CStatDetector::flowAndDensity);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(document.getIDMParameterSet(k).getVehicleClass(), k);
}

TEST(StudyDocumentNew, NewResetsTheStudyButKeepsWhatItAlwaysKept)
{
    StudyDocument document;
    document.setInputFileName("in.txt");
    document.setOutputFileName("out.txt");
    document.setMetricsFolder("metrics/");
    document.setRoadLength(800);
    document.setLanesDir1(4);
    document.setLanesDir2(0);
    document.setFileLanesDir1(3);
    document.setFileLanesDir2(0);
    document.setFileFormat(100);
    document.setTimeStep(0.5);
    document.setDrivesOnRight(false);
    document.setOutputDetectorLocation1(10);
    document.setOutputDetectorLocation2(20);
    document.setOutputCars(false);
    document.setLaneChangesAllowed(false);
    CIDMParameterSet cranes(3);
    cranes.getParamT().getDistribution().setLocation(2.0);
    document.setIDMParameterSet(3, cranes);
    StudyDocument::RoadFeatureList features;
    for (int i = 0; i < 3; ++i)
        features.push_back(std::make_unique<CRoadFeature>());
    document.setRoadFeatures(features);
    document.setStatDetectors({});
    document.setPathName("/somewhere/study.rfx");

    ASSERT_TRUE(document.newDocument());
    EXPECT_EQ(document.getInputFileName(), "");
    EXPECT_EQ(document.getRoadLength(), 3000);
    EXPECT_EQ(document.getLanesDir1(), 2);
    EXPECT_EQ(document.getLanesDir2(), 1);
    EXPECT_EQ(document.getTotalLanes(), 3);
    EXPECT_EQ(document.getFileFormat(), 101);
    EXPECT_TRUE(document.getDrivesOnRight());
    EXPECT_TRUE(document.getOutputCars());
    EXPECT_EQ(document.getRoadFeatures().size(), 1u);
    EXPECT_EQ(document.getStatDetectors().size(), 1u);
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(document.getPathName(), "");

    EXPECT_EQ(document.getMetricsFolder(), "metrics/");
    EXPECT_FALSE(document.getLaneChangesAllowed());
    EXPECT_EQ(document.getFileLanesDir1(), 3);
    EXPECT_EQ(document.getFileLanesDir2(), 0);
    EXPECT_DOUBLE_EQ(document.getIDMParameterSet(3).getParamT().getDistribution().getLocation(), 2.0);
}

TEST(StudyDocumentNew, LaneTotalsFollowTheLaneCounts)
{
    StudyDocument document;
    document.setLanesDir1(3);
    document.setLanesDir2(0);
    document.setModified(false);
    document.updateLaneTotals(false);
    EXPECT_EQ(document.getNumDirections(), 1);
    EXPECT_EQ(document.getTotalLanes(), 3);
    EXPECT_FALSE(document.isModified());

    document.setLanesDir1(0);
    document.setLanesDir2(2);
    document.setModified(false);
    document.updateLaneTotals(true);
    EXPECT_EQ(document.getNumDirections(), 1);
    EXPECT_EQ(document.getTotalLanes(), 2);
    EXPECT_TRUE(document.isModified());
}

TEST(StudyDocumentNew, ListSettersTakeCopies)
{
    StudyDocument document;
    StudyDocument::StatDetectorList detectors;
    detectors.push_back(std::make_unique<CStatDetector>());
    document.setStatDetectors(detectors);
    detectors[0]->setInterval(5);
    EXPECT_EQ(document.getStatDetectors()[0]->getInterval(), 60);
    EXPECT_NE(document.getStatDetectors()[0].get(), detectors[0].get());
}

TEST(StudyDocumentNew, EverySetterMarksTheStudyModified)
{
    using Setter = void (*)(StudyDocument&);
    const Setter setters[] = {
        [](StudyDocument& d) { d.setInputFileName("a"); },
        [](StudyDocument& d) { d.setOutputFileName("a"); },
        [](StudyDocument& d) { d.setMetricsFolder("a"); },
        [](StudyDocument& d) { d.setFileFormat(100); },
        [](StudyDocument& d) { d.setRoadLength(1000); },
        [](StudyDocument& d) { d.setTimeStep(0.2); },
        [](StudyDocument& d) { d.setLanesDir1(1); },
        [](StudyDocument& d) { d.setLanesDir2(1); },
        [](StudyDocument& d) { d.setFileLanesDir1(1); },
        [](StudyDocument& d) { d.setFileLanesDir2(1); },
        [](StudyDocument& d) { d.setOutputDetectorLocation1(1); },
        [](StudyDocument& d) { d.setOutputDetectorLocation2(1); },
        [](StudyDocument& d) { d.setLaneChangesAllowed(true); },
        [](StudyDocument& d) { d.setOutputCars(true); },
        [](StudyDocument& d) { d.setDrivesOnRight(true); },
        [](StudyDocument& d) { d.setIDMParameterSet(0, CIDMParameterSet(0)); },
        [](StudyDocument& d) { d.setStatDetectors({}); },
        [](StudyDocument& d) { d.setRoadFeatures({}); },
    };
    int index = 0;
    for (Setter set : setters)
    {
        StudyDocument document;
        set(document);
        EXPECT_TRUE(document.isModified()) << "setter " << index;
        ++index;
    }
}

TEST(StudyDocumentNew, TimeStepInMillisecondsTruncatesYetKeepsWholeMilliseconds)
{
    StudyDocument study;
    study.setTimeStep(0.0999);
    EXPECT_EQ(study.getTimeStepMs(), 99);
    // Every step the dialog can store comes back as itself.
    for (int ms = 10; ms <= 2000; ++ms)
    {
        study.setTimeStep(ms / 1000.0);
        ASSERT_EQ(study.getTimeStepMs(), ms);
    }
}
