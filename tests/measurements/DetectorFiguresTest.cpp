#include "measurements/DetectorFigures.h"
#include "measurements/HeadwayHistogram.h"
#include "measurements/RoundStep.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

using ::testing::ElementsAre;

namespace {

const std::string twoLaneHeader =
    " ,Lane 1, , ,Lane 2, , ,Totals\n"
    "Interval No.,Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h),Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h),"
    "Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h)\n";

DetectorFigures figuresOf(MeasurementKind kind, const std::string& content)
{
    return DetectorFigures::of(readMeasurementTable(CsvText("f", content), kind));
}

}  // namespace

TEST(DetectorFigures, FlowDensityCountsVehiclesAndWeighsTheSpeedByVehicle)
{
    // 60 s intervals. Interval 1: lane 1 has 2 vehicles at 60 km/h, lane 2 none. Interval 2: lane
    // 1 has 1 vehicle at 30 km/h, lane 2 has 3 at 90 km/h.
    DetectorFigures figures =
        figuresOf(MeasurementKind::flowDensity, twoLaneHeader + "1,2,120,60,,0,,,120,\n2,2,60,30,2,180,90,4,240,60\n");
    EXPECT_EQ(figures.intervalSeconds, 60.0);
    EXPECT_TRUE(figures.intervalEstimated);
    EXPECT_EQ(figures.intervals, 2);
    EXPECT_EQ(figures.vehiclesCounted, 6);
    EXPECT_EQ(figures.meanFlow, 180.0);
    EXPECT_EQ(figures.maxFlow, 240.0);
    // The harmonic mean of every vehicle's speed: (2 + 1 + 3) / (2/60 + 1/30 + 3/90) = 60 km/h.
    ASSERT_TRUE(figures.meanSpeed);
    EXPECT_NEAR(*figures.meanSpeed, 60.0, 1e-9);
    EXPECT_FALSE(figures.laneChangeRate);
}

TEST(DetectorFigures, AKnownIntervalWinsOverTheEstimate)
{
    // One interval with two vehicles in one lane: 120 veh/h fits 30 s intervals as well as 60 s.
    const std::string rows = twoLaneHeader + "1,2,120,60,,0,,,120,\n";
    EXPECT_EQ(figuresOf(MeasurementKind::flowDensity, rows).vehiclesCounted, 1);
    DetectorFigures known =
        DetectorFigures::of(readMeasurementTable(CsvText("f", rows), MeasurementKind::flowDensity), 60.0);
    EXPECT_EQ(known.vehiclesCounted, 2);
    EXPECT_FALSE(known.intervalEstimated);

    // Composition rows of 5 and 10 vehicles in 300 s intervals: 60 and 120 veh/h.
    DetectorFigures classes =
        DetectorFigures::of(readMeasurementTable(CsvText("c", "No. Cars,No. Small Trucks,No. Large Trucks,No. Cranes,"
                                                              "No. Low-Loaders\n4,1,0,0,0\n10,0,0,0,0\n"),
                                                 MeasurementKind::composition),
                            300.0);
    EXPECT_EQ(classes.meanFlow, 90.0);
    EXPECT_EQ(classes.maxFlow, 120.0);
}

TEST(DetectorFigures, CountsHeadwaysClassesAndLaneChanges)
{
    EXPECT_EQ(figuresOf(MeasurementKind::headway, "Headways (s)\nLane 1,Lane 2\n100,50\n2, \n").vehiclesCounted, 3);
    EXPECT_EQ(figuresOf(MeasurementKind::composition,
                        "No. Cars,No. Small Trucks,No. Large Trucks,No. Cranes,No. Low-Loaders\n5,1,0,0,1\n2,0,0,1,0\n")
                  .vehiclesCounted,
              10);
    // Road of 1000 m in 250 m bins, two 60 s intervals: 4 changes in 2 minutes on 1 km.
    DetectorFigures rates =
        figuresOf(MeasurementKind::laneChangeRates, "LANE CHANGE - RATES BY LOCATION AND TIME\nTime (s),Location (m)\n"
                                                    ",0,250,500,750,1000,\n60,0,240,0,240,0\n120,0,0,480,0,0\n");
    EXPECT_EQ(rates.laneChanges, 4);
    ASSERT_TRUE(rates.laneChangeRate);
    EXPECT_NEAR(*rates.laneChangeRate, 120.0, 1e-9);
    EXPECT_EQ(rates.intervalSeconds, 60.0);
}

TEST(DetectorFigures, AnEmptyRunHasNoFlowsToAverage)
{
    DetectorFigures figures = figuresOf(MeasurementKind::flowDensity, twoLaneHeader);
    EXPECT_EQ(figures.intervals, 0);
    EXPECT_FALSE(figures.meanFlow);
    EXPECT_FALSE(figures.vehiclesCounted);
    figures = figuresOf(MeasurementKind::flowDensity, twoLaneHeader + "1,,0,,,0,,,0,\n");
    EXPECT_EQ(figures.vehiclesCounted, 0);
    EXPECT_EQ(figures.meanFlow, 0.0);
    EXPECT_FALSE(figures.meanSpeed);
}

TEST(HeadwayHistogram, CountsIntoRoundBinsUpToThe98thPercentile)
{
    std::vector<double> headways;
    for (int i = 0; i < 99; ++i)
        headways.push_back(i * 0.5);  // 0 to 49 s
    headways.push_back(5000.0);       // a long gap in light traffic
    HeadwayHistogram histogram = HeadwayHistogram::of(headways);
    EXPECT_EQ(histogram.count, 100);
    EXPECT_NEAR(histogram.mean, (0.5 * 98 * 99 / 2 + 5000.0) / 100, 1e-9);
    // The 98th percentile is 48.5 s: 30 bins would be 1.6 s wide, rounded up to 2 s.
    EXPECT_EQ(histogram.binWidth, 2.0);
    ASSERT_EQ(histogram.bins.size(), 25u);
    EXPECT_EQ(histogram.bins[0], 4);   // 0, 0.5, 1, 1.5
    EXPECT_EQ(histogram.bins[24], 3);  // 48, 48.5, 49
    EXPECT_EQ(histogram.beyond, 1);    // 5000
    EXPECT_EQ(histogram.below, 0);
}

TEST(HeadwayHistogram, LanesAreCountedIntoTheSameBins)
{
    // Alone, lane 1 would get 0.05 s bins and lane 2 1 s bins.
    const std::vector<HeadwayHistogram> lanes =
        HeadwayHistogram::ofLanes({{1.0, 1.2, 1.5}, {2.0, 10.0, 20.0, 25.0}, {}});
    ASSERT_EQ(lanes.size(), 3u);
    EXPECT_EQ(lanes[0].binWidth, lanes[1].binWidth);
    EXPECT_EQ(lanes[0].bins.size(), lanes[1].bins.size());
    EXPECT_EQ(lanes[0].upperEnd(), lanes[2].upperEnd());
    EXPECT_EQ(lanes[0].count, 3);
    EXPECT_EQ(lanes[1].count, 4);
    EXPECT_EQ(lanes[2].count, 0);
    EXPECT_NEAR(lanes[1].mean, 14.25, 1e-12);
    // Every headway is counted once in its own lane: in a bin or beyond.
    long long counted = lanes[0].beyond;
    for (long long bin : lanes[0].bins)
        counted += bin;
    EXPECT_EQ(counted, 3);
}

TEST(HeadwayHistogram, HandlesNoHeadwaysAndNegativeOnes)
{
    HeadwayHistogram none = HeadwayHistogram::of({});
    EXPECT_EQ(none.count, 0);
    EXPECT_TRUE(std::isnan(none.mean));
    EXPECT_TRUE(none.bins.empty());

    HeadwayHistogram odd = HeadwayHistogram::of({-1.0, 0.0, 0.0});
    EXPECT_EQ(odd.below, 1);
    EXPECT_THAT(odd.bins, ElementsAre(2));
}

TEST(HeadwayHistogram, RoundStepsAreOneTwoTwoAndAHalfOrFiveTimesAPowerOfTen)
{
    EXPECT_EQ(roundStep(0.13), 0.2);
    EXPECT_EQ(roundStep(2.2), 2.5);
    EXPECT_EQ(roundStep(3.0), 5.0);
    EXPECT_EQ(roundStep(7.0), 10.0);
    EXPECT_EQ(roundStep(0.0), 1.0);
}
