// Setting up a run from a study: what reaches the Sim and its road, names resolved against the
// study's folder, and the runs that are refused before they can lose or hide anything.

#include "config/CConfigData.h"
#include "config/CRoadFeature.h"
#include "config/CStatDetector.h"
#include "document/RecordingMessages.h"
#include "document/StudyDocument.h"
#include "document/StudyPaths.h"
#include "document/TemporaryFolder.h"
#include "vehicles/RoadSegment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace {
// A two-axle car of the TALVOR format arriving at 08:00:second in the given direction and lane.
std::string carRecord(int second, int direction, int lane)
{
    char record[96];
    std::snprintf(record, sizeof record, "1001 1 1 0 8 0%2d 0250  15 452%d%d  0  827  7 0", second, direction, lane);
    std::string line(record);
    for (int slot = 2; slot < 8; ++slot)
        line += "  0 0";
    return line + "  0\n";
}

class StudySetup : public ::testing::Test
{
protected:
    void SetUp() override
    {
        traffic = folder.write("traffic.txt", carRecord(0, 1, 1) + carRecord(1, 2, 3) + carRecord(2, 1, 2));
        document.setInputFileName("traffic.txt");
        document.setOutputFileName("output.txt");
        ASSERT_EQ(document.saveFile(folder.file("study.rfx")), StudyFileResult::ok);
    }

    void TearDown() override { document.getSim().reset(); }

    int runToTheEnd()
    {
        Sim& sim = document.getSim();
        bool running = true;
        int steps = 0;
        while (running && steps < 100000)
        {
            sim.step(running);
            ++steps;
        }
        sim.reset();
        return steps;
    }

    TemporaryFolder folder;
    StudyDocument document;
    RecordingMessages messages;
    std::string traffic;
};
}

TEST_F(StudySetup, AMissingInputFileRefusesTheRunAndTouchesNothing)
{
    document.setInputFileName("missing.txt");
    EXPECT_FALSE(document.setupSimulation(messages));
    ASSERT_EQ(messages.warnings.size(), 1u);
    // The message names the file it looked for.
    EXPECT_EQ(messages.warnings[0], "The input traffic file does not exist: " + folder.file("missing.txt"));
    Road& road = document.getSim().getRoad();
    EXPECT_EQ(road.getLength(), 0);
    EXPECT_TRUE(road.getSegments1().empty());
    EXPECT_TRUE(road.getDetectors1().empty());
    EXPECT_FALSE(fs::exists(folder.file("output.txt")));
}

TEST_F(StudySetup, ANumberThatIsNotFiniteRefusesTheRunAndTouchesNothing)
{
    CIDMParameterSet cars(0);
    cars.getParamV0().getDistribution().setLocation(HUGE_VAL);
    document.setIDMParameterSet(0, cars);
    EXPECT_FALSE(document.setupSimulation(messages));
    ASSERT_EQ(messages.warnings.size(), 1u);
    EXPECT_EQ(messages.warnings[0],
              "Vehicle class 0 (Car), Desired velocity, v0 (km/h): The location is not a finite number (inf).");
    EXPECT_EQ(document.getSim().getRoad().getLength(), 0);
}

TEST_F(StudySetup, CopiesTheStudyIntoTheRoadInItsOrder)
{
    document.setLanesDir2(2);
    document.setFileLanesDir2(1);
    document.updateLaneTotals(true);
    document.setRoadLength(1000);
    document.setOutputDetectorLocation1(1000);
    document.setOutputDetectorLocation2(300);
    StudyDocument::RoadFeatureList features;
    features.push_back(std::make_unique<CRoadFeature>());
    features[0]->setType(CRoadFeature::gradient);
    features[0]->setDirectionPositive(false);
    features[0]->setStart(100);
    features[0]->setEnd(300);
    features[0]->setValue(4.0);
    document.setRoadFeatures(features);
    StudyDocument::StatDetectorList detectors;
    detectors.push_back(std::make_unique<CStatDetector>());
    detectors[0]->setDirectionPositive(false);
    detectors[0]->setLocation(400);
    document.setStatDetectors(detectors);
    document.setMetricsFolder("metrics");
    fs::create_directory(folder.file("metrics"));

    ASSERT_TRUE(document.setupSimulation(messages));
    EXPECT_TRUE(messages.warnings.empty());
    Road& road = document.getSim().getRoad();
    EXPECT_EQ(road.getLength(), 1000);
    // Mirrored against the road length, which therefore was known first.
    EXPECT_EQ(road.getOutputDetectorLocation2(), 700);
    ASSERT_EQ(road.getSegments2().size(), 1u);
    EXPECT_EQ(road.getSegments2()[0]->getStart(), 700);
    EXPECT_EQ(road.getSegments2()[0]->getEnd(), 900);
    // The segment got the document's parameter sets, which were given before the features.
    EXPECT_EQ(road.getSegments2()[0]->getParameterSet(2), &document.getIDMParameterSet(2));
    EXPECT_EQ(road.getLaneCount(), 4);
    EXPECT_EQ(document.getStatDetectors()[0]->getOutputFolder(), folder.file("metrics") + "/");

    EXPECT_GT(runToTheEnd(), 1);
    EXPECT_TRUE(fs::exists(folder.file("metrics/FD_All_Neg_400.csv")));
}

TEST_F(StudySetup, RelativeNamesAreTheStudyFoldersWhateverTheCurrentDirectory)
{
    StudyDocument loaded;
    ASSERT_EQ(loaded.openFile(folder.file("study.rfx")), StudyFileResult::ok);
    EXPECT_EQ(loaded.resolvedInputFileName(), traffic);
    ASSERT_TRUE(loaded.setupSimulation(messages));
    Sim& sim = loaded.getSim();
    bool running = true;
    while (running)
        sim.step(running);
    EXPECT_EQ(sim.getStatistics().recordsWritten, 3);
    sim.reset();

    std::string output = TemporaryFolder::read(folder.file("output.txt"));
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 3);
}

TEST_F(StudySetup, SavedIntoAnotherFolderTheStudyStillFindsItsFiles)
{
    document.setMetricsFolder("metrics/");
    fs::create_directories(folder.file("elsewhere/deeper"));
    // A run refuses a missing metrics folder, so the one the study names exists.
    fs::create_directories(folder.file("metrics"));
    ASSERT_EQ(document.saveFile(folder.file("elsewhere/deeper/copy.rfx")), StudyFileResult::ok);
    EXPECT_EQ(document.getInputFileName(), "../../traffic.txt");
    EXPECT_EQ(document.getMetricsFolder(), "../../metrics/");

    StudyDocument copy;
    ASSERT_EQ(copy.openFile(folder.file("elsewhere/deeper/copy.rfx")), StudyFileResult::ok);
    EXPECT_EQ(StudyPaths::fullPath(copy.resolvedInputFileName()), traffic);
    EXPECT_EQ(StudyPaths::fullPath(copy.resolvedOutputFileName()), folder.file("output.txt"));
    EXPECT_EQ(StudyPaths::fullPath(copy.resolvedMetricsFolder()), folder.file("metrics") + "/");
    EXPECT_TRUE(copy.setupSimulation(messages)) << messages.warnings.at(0);
    copy.getSim().reset();
    // Refusals name the place they looked, without the ".." of the stored name.
    fs::remove_all(folder.file("metrics"));
    EXPECT_FALSE(copy.setupSimulation(messages));
    EXPECT_EQ(messages.warnings.at(0), "The metrics folder " + folder.file("metrics") +
                                           "/ does not exist: the measurement files cannot be written");

    // Saved back beside its files, the names are short again; a failed save keeps them.
    ASSERT_EQ(copy.saveFile(folder.file("again.rfx")), StudyFileResult::ok);
    EXPECT_EQ(copy.getInputFileName(), "traffic.txt");
    EXPECT_EQ(copy.saveFile(folder.file("no/such/folder/study.rfx")), StudyFileResult::saveFailed);
    EXPECT_EQ(copy.getInputFileName(), "traffic.txt");
}

TEST_F(StudySetup, TheInputIsNeverEmptiedByWritingTheOutputOverIt)
{
    document.setOutputFileName("./traffic.txt");
    EXPECT_FALSE(document.setupSimulation(messages));
    EXPECT_EQ(messages.warnings.at(0), "The output traffic file must not be the input traffic file");
    EXPECT_EQ(TemporaryFolder::read(traffic).size(), 3 * carRecord(0, 1, 1).size());
}

TEST_F(StudySetup, AnOutputThatCannotBeCreatedRefusesTheRun)
{
    document.setOutputFileName("no/such/folder/output.txt");
    EXPECT_FALSE(document.setupSimulation(messages));
    EXPECT_EQ(messages.warnings.at(0).rfind("The output traffic file cannot be created (", 0), 0u)
        << messages.warnings.at(0);
    EXPECT_NE(messages.warnings.at(0).find(folder.file("no/such/folder/output.txt")), std::string::npos)
        << messages.warnings.at(0);
    EXPECT_EQ(document.getSim().getRoad().getLength(), 0);
}

TEST_F(StudySetup, AFolderIsNotAnInputFile)
{
    document.setInputFileName(".");
    EXPECT_FALSE(document.setupSimulation(messages));
    EXPECT_EQ(messages.warnings.at(0), "The input traffic file cannot be read");
}

TEST_F(StudySetup, ABinaryFileIsNotTakenForTraffic)
{
    // Bytes that would read as one car, behind a zero byte that no traffic file holds.
    folder.write("binary.txt", std::string("\x01\x00\x7F", 3) + carRecord(0, 1, 1));
    document.setInputFileName("binary.txt");
    EXPECT_FALSE(document.setupSimulation(messages));
    EXPECT_EQ(messages.warnings.at(0), "The input traffic file is not a text file");
}

TEST_F(StudySetup, ATrafficFileWithoutVehiclesIsRefused)
{
    folder.write("empty.txt", "");
    document.setInputFileName("empty.txt");
    EXPECT_FALSE(document.setupSimulation(messages));
    EXPECT_EQ(messages.warnings.at(0), "The input traffic file has no vehicle that can drive on this road");
    // Reset again, so that the next run can be set up.
    EXPECT_EQ(document.getSim().getRoad().getLaneCount(), 0);
    document.setInputFileName("traffic.txt");
    EXPECT_TRUE(document.setupSimulation(messages));
}

TEST_F(StudySetup, AMissingMetricsFolderRefusesTheRunBeforeItLosesTheMeasurements)
{
    document.setMetricsFolder("absent");
    EXPECT_FALSE(document.setupSimulation(messages));
    EXPECT_EQ(messages.warnings.at(0), "The metrics folder " + folder.file("absent") +
                                           "/ does not exist: the measurement files cannot be written");
    EXPECT_FALSE(fs::exists(folder.file("absent")));
    EXPECT_FALSE(fs::exists(folder.file("output.txt")));
    // Without detectors no measurement file is asked for, and the folder does not matter.
    document.setStatDetectors({});
    EXPECT_TRUE(document.setupSimulation(messages));
}

TEST_F(StudySetup, DamagedSettingsThatWouldCrashOrHangTheEngineAreRefused)
{
    // After the arrays, the parameter sets, the names "traffic.txt", "output.txt" and "", and
    // the format: the file lanes, then the lane totals, lane counts, length, side and step.
    const std::size_t settings = 37 + 42 + 5 * 284 + (1 + 11) + (1 + 10) + 1 + 2;
    const auto damaged = [&](std::size_t offset, std::vector<std::uint8_t> value) {
        auto bytes = TemporaryFolder::read(folder.file("study.rfx"));
        std::copy(value.begin(), value.end(), bytes.begin() + static_cast<long>(offset));
        return folder.write("damaged.rfx", bytes);
    };
    struct Case
    {
        std::size_t offset;
        std::vector<std::uint8_t> value;
        const char* message;
    };
    for (const Case& c : std::vector<Case>{
             {settings + 12,
              {9, 0, 0, 0},
              "The study's lane counts must be 0 to 4 in each direction and add up to its total lanes"},
             {settings + 16, {0xFF, 0xFF, 0xFF, 0xFF}, "The study's lane counts must be 0 to 4"},
             {settings + 24, {0, 0, 0, 0}, "The study's road length must be between 500 and 100000 m"},
             {settings + 32, {0, 0, 0, 0, 0, 0, 0, 0}, "The study's time step must be between 10 and 2000 ms"},
         })
    {
        StudyDocument study;
        ASSERT_EQ(study.openFile(damaged(c.offset, c.value)), StudyFileResult::ok);
        RecordingMessages refused;
        EXPECT_FALSE(study.setupSimulation(refused));
        ASSERT_EQ(refused.warnings.size(), 1u);
        EXPECT_EQ(refused.warnings[0].rfind(c.message, 0), 0u) << refused.warnings[0];
        EXPECT_EQ(study.getSim().getRoad().getLaneCount(), 0);
    }
}

// Only a study edited by hand or written elsewhere holds these: the run would write nothing
// ("Vehicles written: 0") or index outside the road, so it is refused, the item named.
TEST_F(StudySetup, DetectorsAndFeaturesOffTheRoadRefuseTheRun)
{
    const int length = document.getRoadLength();
    const std::string extent = " is off the road (0 to " + std::to_string(length) + " m).";
    const auto detector = [](std::uint16_t kind, int location, int interval) {
        auto made = std::make_unique<CStatDetector>();
        made->setKind(kind);
        made->setLocation(location);
        made->setInterval(interval);
        return made;
    };
    const auto feature = [](int start, int end) {
        auto made = std::make_unique<CRoadFeature>();
        made->setStart(start);
        made->setEnd(end);
        return made;
    };
    struct Case
    {
        int output1;
        int output2;
        std::unique_ptr<CStatDetector> detector;
        std::unique_ptr<CRoadFeature> feature;
        std::string message;
    };
    std::vector<Case> cases;
    cases.push_back({-5000, 0, nullptr, nullptr, "The output detector of direction 1 at -5000 m" + extent});
    cases.push_back({0, 0, detector(CStatDetector::flowAndDensity, -5000, 60), nullptr,
                     "Detector 1 (Flow & Density) at -5000 m" + extent});
    cases.push_back({0, 0, detector(CStatDetector::headway, 2147483647, 60), nullptr,
                     "Detector 1 (Headway) at 2147483647 m" + extent});
    cases.push_back({0, 0, detector(CStatDetector::composition, 100, -60), nullptr,
                     "Detector 1 (Composition): the time interval -60 s is not above 0."});
    cases.push_back({0, 0, nullptr, feature(-500, 1000), "Feature 1 (Speed Limit) from -500 to 1000 m" + extent});
    cases.push_back({0, 0, nullptr, feature(1000, length + 1),
                     "Feature 1 (Speed Limit) from 1000 to " + std::to_string(length + 1) + " m" + extent});
    for (Case& c : cases)
    {
        StudyDocument::StatDetectorList detectors;
        if (c.detector)
            detectors.push_back(std::move(c.detector));
        StudyDocument::RoadFeatureList features;
        if (c.feature)
            features.push_back(std::move(c.feature));
        document.setOutputDetectorLocation1(c.output1);
        document.setOutputDetectorLocation2(c.output2);
        document.setStatDetectors(detectors);
        document.setRoadFeatures(features);
        RecordingMessages refused;
        EXPECT_FALSE(document.setupSimulation(refused)) << c.message;
        ASSERT_EQ(refused.warnings.size(), 1u) << c.message;
        EXPECT_EQ(refused.warnings[0], c.message);
        EXPECT_FALSE(fs::exists(folder.file("output.txt")));
    }
    // At the road's very ends, and a lane-change detector whose number is a step, they run.
    document.setOutputDetectorLocation1(0);
    document.setOutputDetectorLocation2(length);
    StudyDocument::StatDetectorList detectors;
    detectors.push_back(detector(CStatDetector::laneChanges, 2147483647, 60));
    document.setStatDetectors(detectors);
    StudyDocument::RoadFeatureList features;
    features.push_back(feature(length, 0));
    document.setRoadFeatures(features);
    EXPECT_TRUE(document.setupSimulation(messages)) << (messages.warnings.empty() ? "" : messages.warnings[0]);
}

TEST_F(StudySetup, DriverParametersNoDrawCouldUseRefuseTheRun)
{
    const auto refusal = [this](int vehicleClass, const std::function<void(CIDMParameterSet&)>& change) {
        CIDMParameterSet set(vehicleClass);
        change(set);
        document.setIDMParameterSet(vehicleClass, set);
        RecordingMessages refused;
        const bool started = document.setupSimulation(refused);
        document.getSim().reset();
        document.setIDMParameterSet(vehicleClass, CIDMParameterSet(vehicleClass));
        return started ? std::string() : refused.warnings.at(0);
    };
    EXPECT_EQ(refusal(0, [](CIDMParameterSet& set) { set.getParamV0().getDistribution().setLocation(-10.0); }),
              "Vehicle class 0 (Car), Desired velocity, v0 (km/h): the location -10 is not above 0.");
    EXPECT_EQ(refusal(2, [](CIDMParameterSet& set) { set.getParamT().getDistribution().setScale(-0.5); }),
              "Vehicle class 2 (Large Truck), Safe time headway, T (s): the scale -0.5 is below 0.");
    EXPECT_EQ(refusal(1,
                      [](CIDMParameterSet& set) {
                          set.getParamA().getDistribution().setType(CDistribution::constant);
                          set.getParamA().getDistribution().setLocation(0.0);
                      }),
              "Vehicle class 1 (Small Truck), Maximum acceleration, a (m/s^2): the location 0 is not above 0.");
    // A log-normal law's location is a logarithm; a constant's scale is not used; a parameter
    // that may be negative (politeness) may be centred below 0.
    EXPECT_EQ(refusal(0,
                      [](CIDMParameterSet& set) {
                          set.getParamV0().getDistribution().setType(CDistribution::logNormal);
                          set.getParamV0().getDistribution().setLocation(-1.0);
                          set.getParamV0().getDistribution().setScale(0.1);
                          set.getParamDelta().getDistribution().setScale(-1.0);
                          set.getParamP().getDistribution().setLocation(-0.5);
                      }),
              "");
}

// Once a lane's first vehicle has left, its last position stays near the road's end: a longer
// entry gap is never free and the run never ends. The configuration's line is named.
TEST_F(StudySetup, AnEntryGapLongerThanTheRoadRefusesTheRun)
{
    const double kept = theConfigData.entryGap;
    theConfigData.entryGap = 3001.0;
    const bool started = document.setupSimulation(messages);
    theConfigData.entryGap = kept;
    EXPECT_FALSE(started);
    ASSERT_EQ(messages.warnings.size(), 1u);
    EXPECT_NE(messages.warnings[0].find(": entryGap 3001 m is longer than the road (3000 m)"), std::string::npos)
        << messages.warnings[0];
    EXPECT_FALSE(fs::exists(folder.file("output.txt")));
}
