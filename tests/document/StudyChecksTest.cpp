// What the configuration dialogs refuse, with their messages and the control they point at.

#include "document/StudyChecks.h"
#include "document/RecordingMessages.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {
SimulationSettingsEntry validEntry()
{
    SimulationSettingsEntry entry;
    entry.inputFileName = "in.txt";
    entry.outputFileName = "out.txt";
    return entry;
}

std::unique_ptr<CRoadFeature> feature(std::uint16_t type, bool positive, int start, int end, double value)
{
    auto f = std::make_unique<CRoadFeature>();
    f->setType(type);
    f->setDirectionPositive(positive);
    f->setStart(start);
    f->setEnd(end);
    f->setValue(value);
    return f;
}

std::unique_ptr<CRoadFeature> speedLimitKmh(double kmh, int start = 0, int end = 1000, bool positive = true)
{
    return feature(CRoadFeature::speedLimit, positive, start, end, kmh * 0.27777778);
}

std::unique_ptr<CStatDetector> detector(std::uint16_t kind, int interval, int location)
{
    auto d = std::make_unique<CStatDetector>();
    d->setKind(kind);
    d->setInterval(interval);
    d->setLocation(location);
    return d;
}

std::optional<StudyRefusal> checkFeatures(const std::vector<std::unique_ptr<CRoadFeature>>& features, int road = 3000)
{
    return StudyChecks::checkRoadFeatures(features, road, 15, 10, 200);
}
}

TEST(SimulationSettingsChecks, RefuseInTheDialogsOrder)
{
    EXPECT_FALSE(StudyChecks::checkSimulationSettings(validEntry()));

    auto entry = validEntry();
    entry.inputFileName.clear();
    entry.outputFileName.clear();
    auto refusal = StudyChecks::checkSimulationSettings(entry);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, "Please select a file.");
    EXPECT_EQ(refusal->controlId, 1000);

    entry = validEntry();
    entry.outputFileName.clear();
    EXPECT_EQ(StudyChecks::checkSimulationSettings(entry)->message, "Please specify a filename.");

    entry = validEntry();
    entry.lanesDir2 = SimulationSettingsEntry::noSelection;
    refusal = StudyChecks::checkSimulationSettings(entry);
    EXPECT_EQ(refusal->message, "Please specify the number of lanes.");
    EXPECT_EQ(refusal->controlId, 1006);
}

TEST(SimulationSettingsChecks, RangesOfTheEditFields)
{
    auto entry = validEntry();
    entry.roadLength = 499;
    EXPECT_EQ(StudyChecks::checkSimulationSettings(entry)->message, "Please enter an integer between 500 and 100000.");
    entry.roadLength = 100000;
    EXPECT_FALSE(StudyChecks::checkSimulationSettings(entry));
    entry.timeStepMs = 2001;
    auto refusal = StudyChecks::checkSimulationSettings(entry);
    EXPECT_EQ(refusal->message, "Please enter an integer between 10 and 2000.");
    EXPECT_EQ(refusal->controlId, 1009);
    entry.timeStepMs = 10;
    EXPECT_FALSE(StudyChecks::checkSimulationSettings(entry));
}

TEST(SimulationSettingsChecks, LaneCountsOfTheFileAndTheRoad)
{
    auto entry = validEntry();
    entry.fileLanesDir1 = 0;
    entry.fileLanesDir2 = 0;
    auto refusal = StudyChecks::checkSimulationSettings(entry);
    EXPECT_EQ(refusal->message, "There cannot be zero lanes in both directions");
    EXPECT_EQ(refusal->controlId, 1010);

    entry = validEntry();
    entry.fileLanesDir1 = 3;
    refusal = StudyChecks::checkSimulationSettings(entry);
    EXPECT_EQ(refusal->message, "The number of simulation lanes must not \nbe less than that of the traffic file.");
    EXPECT_EQ(refusal->controlId, 1005);

    // File 2 + 0 lanes, road 2 + 1: direction 2 would stay empty.
    entry = validEntry();
    entry.fileLanesDir2 = 0;
    refusal = StudyChecks::checkSimulationSettings(entry);
    EXPECT_EQ(refusal->message,
              "For this direction, there will be no vehicles \nsince there are no lanes in the traffic file");
    EXPECT_EQ(refusal->controlId, 1006);
    entry.lanesDir2 = 0;
    EXPECT_FALSE(StudyChecks::checkSimulationSettings(entry));

    entry = validEntry();
    entry.lanesDir1 = 4;
    EXPECT_FALSE(StudyChecks::checkSimulationSettings(entry));
    entry.lanesDir1 = 5;
    EXPECT_EQ(StudyChecks::checkSimulationSettings(entry)->controlId, 1005);
}

TEST(SimulationSettingsChecks, OutputDetectorsMustLieOnTheRoad)
{
    auto entry = validEntry();
    entry.outputDetectorLocation2 = entry.roadLength;
    EXPECT_FALSE(StudyChecks::checkSimulationSettings(entry));
    entry.outputDetectorLocation2 = entry.roadLength + 1;
    auto refusal = StudyChecks::checkSimulationSettings(entry);
    EXPECT_EQ(refusal->message, "The output dector must be located on the road \n- please check the road length");
    EXPECT_EQ(refusal->controlId, 1014);
}

TEST(RoadFeatureChecks, ReversedEndsAreSwappedAndEndsMustLieOnTheRoad)
{
    std::vector<std::unique_ptr<CRoadFeature>> features;
    features.push_back(speedLimitKmh(80, 2000, 1500));
    EXPECT_FALSE(checkFeatures(features));
    EXPECT_EQ(features[0]->getStart(), 1500);
    EXPECT_EQ(features[0]->getEnd(), 2000);

    features[0]->setEnd(3000);
    EXPECT_FALSE(checkFeatures(features));
    features[0]->setEnd(3001);
    auto refusal = checkFeatures(features);
    EXPECT_EQ(refusal->message, "Feature 1: Starts or ends outside the road length.");
    EXPECT_EQ(refusal->controlId, 1010);
}

TEST(RoadFeatureChecks, SpeedLimitsAndGradientsWithinTheConfiguredLimits)
{
    const auto single = [](std::unique_ptr<CRoadFeature> f) {
        std::vector<std::unique_ptr<CRoadFeature>> list;
        list.push_back(std::move(f));
        return checkFeatures(list);
    };
    EXPECT_EQ(single(speedLimitKmh(9))->message,
              "Feature 1: Speed limit specified is smaller \nthan the minimum of 10 km/h.");
    EXPECT_FALSE(single(speedLimitKmh(10)));
    EXPECT_FALSE(single(speedLimitKmh(199)));
    // 200 km/h stored with the decimal factor comes back slightly above 200.
    EXPECT_EQ(single(speedLimitKmh(200))->message,
              "Feature 1: Speed limit specified is greater \nthan the maximum of 200 km/h.");
    EXPECT_TRUE(single(speedLimitKmh(201)));
    EXPECT_FALSE(single(feature(CRoadFeature::gradient, true, 0, 1000, 15.0)));
    EXPECT_EQ(single(feature(CRoadFeature::gradient, true, 0, 1000, 15.5))->message,
              "Feature 1: Gradient specified is greater \nthan the maximum of 15%.");
    EXPECT_FALSE(single(feature(CRoadFeature::gradient, true, 0, 1000, -20.0)));
}

TEST(RoadFeatureChecks, AValueTooLargeToHoldIsRefused)
{
    std::vector<std::unique_ptr<CRoadFeature>> features;
    features.push_back(feature(CRoadFeature::gradient, true, 0, 1000, -HUGE_VAL));
    auto refusal = checkFeatures(features);
    ASSERT_TRUE(refusal);  // the gradient has no lower limit, but -inf is no gradient
    EXPECT_EQ(refusal->message, "Feature 1: The value is not a finite number (-inf).");
    EXPECT_EQ(refusal->controlId, StudyChecks::gridControl);
    features[0] = speedLimitKmh(NAN);
    EXPECT_EQ(checkFeatures(features)->message, "Feature 1: The value is not a finite number (nan).");
}

TEST(NonFiniteNumbers, AreFoundWithTheirPlaceInFeaturesAndParameterSets)
{
    std::vector<std::unique_ptr<CRoadFeature>> features;
    features.push_back(speedLimitKmh(80));
    std::array<CIDMParameterSet, 5> sets;
    for (int k = 0; k < 5; ++k)
        sets[static_cast<std::size_t>(k)].setVehicleClass(k);
    EXPECT_FALSE(StudyChecks::findNonFiniteNumber(features, sets));

    sets[2].getParamV0().getDistribution().setScale(HUGE_VAL);
    EXPECT_EQ(StudyChecks::findNonFiniteNumber(features, sets),
              "Vehicle class 2 (Large Truck), Desired velocity, v0 (km/h): The scale is not a finite number (inf).");
    features.push_back(feature(CRoadFeature::gradient, false, 0, 1000, -HUGE_VAL));
    EXPECT_EQ(StudyChecks::findNonFiniteNumber(features, sets), "Feature 2: The value is not a finite number (-inf).");
}

TEST(RoadFeatureChecks, OverlapsOfTheSameTypeAndDirection)
{
    std::vector<std::unique_ptr<CRoadFeature>> features;
    features.push_back(speedLimitKmh(80, 0, 1000));
    features.push_back(speedLimitKmh(60, 500, 1500));
    auto refusal = checkFeatures(features);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, "Feature 1 overlaps with Feature 2 \n- change start and end points.");

    features[1]->setDirectionPositive(false);
    EXPECT_FALSE(checkFeatures(features));
    features[1]->setDirectionPositive(true);
    features[1]->setType(CRoadFeature::gradient);
    features[1]->setValue(5.0);
    EXPECT_FALSE(checkFeatures(features));

    features[1] = speedLimitKmh(60, 1000, 2000);
    EXPECT_FALSE(checkFeatures(features)) << "sections that only touch";
    features[1] = speedLimitKmh(60, 0, 1000);
    EXPECT_FALSE(checkFeatures(features)) << "identical ranges pass";
}

TEST(StatDetectorChecks, LocationsAndIntervals)
{
    RecordingMessages messages;
    std::vector<std::unique_ptr<CStatDetector>> detectors;
    detectors.push_back(detector(CStatDetector::flowAndDensity, 60, 1000));
    detectors.push_back(detector(CStatDetector::headway, 0, 1000));
    detectors.push_back(detector(CStatDetector::composition, 60, 3500));
    auto refusal = StudyChecks::checkStatDetectors(detectors, 3000, messages);
    EXPECT_EQ(refusal->message, "Detector 2: The time interval must not be zero.");
    detectors[1]->setInterval(10);
    refusal = StudyChecks::checkStatDetectors(detectors, 3000, messages);
    EXPECT_EQ(refusal->message, "Detector 3: must be located on the road.\nPlease check its location.");
    detectors[2]->setLocation(3000);
    EXPECT_FALSE(StudyChecks::checkStatDetectors(detectors, 3000, messages));
    EXPECT_TRUE(messages.questions.empty());
    EXPECT_TRUE(messages.warnings.empty());
}

TEST(StatDetectorChecks, ASmallIntervalIsKeptOnlyWhenTheUserSaysSo)
{
    std::vector<std::unique_ptr<CStatDetector>> detectors;
    detectors.push_back(detector(CStatDetector::flowAndDensity, 5, 1000));
    RecordingMessages no;
    auto refusal = StudyChecks::checkStatDetectors(detectors, 3000, no);
    ASSERT_EQ(no.questions.size(), 1u);
    EXPECT_EQ(no.questions[0], "Detector 1: The time interval is very small and may cause problems.\n"
                               "Are you sure you want to keep this value?");
    EXPECT_EQ(refusal->message, "Detector 1: Change the time interval.");

    RecordingMessages yes;
    yes.answer = true;
    EXPECT_FALSE(StudyChecks::checkStatDetectors(detectors, 3000, yes));
}

TEST(StatDetectorChecks, ALargeLaneChangeStepOnlyWarns)
{
    std::vector<std::unique_ptr<CStatDetector>> detectors;
    detectors.push_back(detector(CStatDetector::laneChanges, 60, 1500));
    RecordingMessages messages;
    EXPECT_FALSE(StudyChecks::checkStatDetectors(detectors, 3000, messages));
    ASSERT_EQ(messages.warnings.size(), 1u);
    EXPECT_EQ(messages.warnings[0], "Detector 1: The lane change detector step is very large and may cause problems.");

    // The same location for a flow-density detector on a 1000 m road is off the road.
    detectors[0]->setKind(CStatDetector::flowAndDensity);
    EXPECT_TRUE(StudyChecks::checkStatDetectors(detectors, 1000, messages));
    detectors[0]->setKind(CStatDetector::laneChanges);
    detectors[0]->setLocation(1000);
    RecordingMessages quiet;
    EXPECT_FALSE(StudyChecks::checkStatDetectors(detectors, 1000, quiet));
    EXPECT_TRUE(quiet.warnings.empty()) << "a step of exactly 1000 m passes without remark";
}

// The grids take a minus sign: a detector or feature before the road's start was let through.
TEST(StatDetectorChecks, NegativeLocationsAndIntervalsAreRefusedAsTheDialogsOthers)
{
    RecordingMessages messages;
    std::vector<std::unique_ptr<CStatDetector>> detectors;
    detectors.push_back(detector(CStatDetector::flowAndDensity, 60, -5000));
    EXPECT_EQ(StudyChecks::checkStatDetectors(detectors, 3000, messages)->message,
              "Detector 1: must be located on the road.\nPlease check its location.");
    detectors[0]->setLocation(0);
    detectors[0]->setInterval(-60);
    EXPECT_EQ(StudyChecks::checkStatDetectors(detectors, 3000, messages)->message,
              "Detector 1: The time interval must be above zero.");

    std::vector<std::unique_ptr<CRoadFeature>> features;
    features.push_back(speedLimitKmh(80, -500, 1000));
    EXPECT_EQ(checkFeatures(features)->message, "Feature 1: Starts or ends outside the road length.");
    features[0]->setStart(1000);
    features[0]->setEnd(-500);  // swapped first, then refused the same
    EXPECT_EQ(checkFeatures(features)->message, "Feature 1: Starts or ends outside the road length.");
}
