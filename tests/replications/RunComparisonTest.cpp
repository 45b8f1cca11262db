#include "RunFolders.h"

#include "outputfiles/BadFile.h"
#include "replications/ComparisonError.h"
#include "replications/ReplicationFigures.h"
#include "replications/RunComparison.h"

#include <gmock/gmock.h>

#include <cmath>

using ::testing::HasSubstr;

namespace {
constexpr double t2 = 4.30265273;  // Student's t, 97.5 %, 2 degrees of freedom
constexpr double t1 = 12.7062047;  // 1 degree of freedom

std::size_t indexOf(const std::vector<std::string>& names, const std::string& name)
{
    const auto it = std::find(names.begin(), names.end(), name);
    EXPECT_NE(it, names.end()) << name;
    return static_cast<std::size_t>(it - names.begin());
}

const SampleStatistics& cell(const ComparedTable& table, const std::string& key, const std::string& column)
{
    return table.cells[indexOf(table.keys, key)][indexOf(table.columns, column)];
}

std::string refusal(const std::vector<std::filesystem::path>& runs)
{
    try
    {
        RunComparison::of(runs);
    }
    catch (const ComparisonError& error)
    {
        return error.what();
    }
    catch (const BadFile& bad)
    {
        return bad.what();
    }
    return "(not refused)";
}
}

using RunComparisonTest = RunFolders;

TEST_F(RunComparisonTest, ThreeRunsPerIntervalAndColumn)
{
    writeThreeRuns();
    const RunComparison comparison = RunComparison::of(threeRuns());
    const ComparedTable* fd = comparison.table("FD_All_Pos_1500.csv");
    ASSERT_NE(fd, nullptr);
    EXPECT_EQ(fd->keyLabel, "Interval No.");
    EXPECT_EQ(fd->keys, (std::vector<std::string>{"1", "2", "3"}));
    ASSERT_EQ(fd->columns.size(), 9u);
    EXPECT_EQ(fd->columns[0], "Lane 1 Density (veh/km)");
    EXPECT_EQ(fd->columns[4], "Lane 2 Flow (veh/hr)");
    EXPECT_EQ(fd->columns[8], "Totals Avg. Vel. (km/h)");

    // Interval 2, lane 1 flow: 600, 660, 720 → mean 660, s = 60.
    const SampleStatistics& flow = cell(*fd, "2", "Lane 1 Flow (veh/hr)");
    EXPECT_EQ(flow.runs, 3u);
    EXPECT_DOUBLE_EQ(flow.mean, 660.0);
    EXPECT_NEAR(flow.standardDeviation, 60.0, 1e-9);
    EXPECT_NEAR(flow.halfWidth, t2 * 60.0 / std::sqrt(3.0), 1e-5);
    // Speeds 80, 90, 100 → 90 ± 24.84; densities 7, 8, 12 → s = √7.
    const SampleStatistics& speed = cell(*fd, "2", "Lane 1 Avg. Vel. (km/h)");
    EXPECT_DOUBLE_EQ(speed.mean, 90.0);
    EXPECT_NEAR(speed.low(), 90.0 - t2 * 10.0 / std::sqrt(3.0), 1e-5);
    EXPECT_NEAR(cell(*fd, "2", "Lane 1 Density (veh/km)").standardDeviation, std::sqrt(7.0), 1e-9);

    // Interval 3 only in two runs: 540 and 600.
    const SampleStatistics& late = cell(*fd, "3", "Lane 1 Flow (veh/hr)");
    EXPECT_EQ(late.runs, 2u);
    EXPECT_DOUBLE_EQ(late.mean, 570.0);
    EXPECT_NEAR(late.halfWidth, t1 * std::sqrt(1800.0) / std::sqrt(2.0), 1e-4);

    const ComparedTable* composition = comparison.table("Comp_All_Pos_2500.csv");
    ASSERT_NE(composition, nullptr);
    EXPECT_DOUBLE_EQ(cell(*composition, "1", "No. Cars").mean, 12.0);
    EXPECT_NEAR(cell(*composition, "1", "No. Cars").standardDeviation, 2.0, 1e-12);
}

TEST_F(RunComparisonTest, EmptyCellsAreMissingValuesNotZeros)
{
    writeThreeRuns();
    const RunComparison comparison = RunComparison::of(threeRuns());
    const ComparedTable& fd = *comparison.table("FD_All_Pos_1500.csv");
    // Interval 1, lane 2: only the second run saw a vehicle.
    const SampleStatistics& speed = cell(fd, "1", "Lane 2 Avg. Vel. (km/h)");
    EXPECT_EQ(speed.runs, 1u);
    EXPECT_DOUBLE_EQ(speed.mean, 72.0);
    EXPECT_TRUE(std::isnan(speed.standardDeviation));
    // Its flow is 0 in two runs, which are zeros, not missing.
    const SampleStatistics& flow = cell(fd, "1", "Lane 2 Flow (veh/hr)");
    EXPECT_EQ(flow.runs, 3u);
    EXPECT_DOUBLE_EQ(flow.mean, 20.0);
    EXPECT_EQ(cell(fd, "1", "Totals Density (veh/km)").runs, 0u);
}

TEST_F(RunComparisonTest, SummaryFiguresByLabelAbsentLinesTolerated)
{
    writeThreeRuns();
    const RunComparison comparison = RunComparison::of(threeRuns());
    const ComparedTable* summary = comparison.table("summary.txt");
    ASSERT_NE(summary, nullptr);
    const SampleStatistics& written = cell(*summary, "Vehicles written", "Value");
    EXPECT_EQ(written.runs, 3u);
    EXPECT_DOUBLE_EQ(written.mean, 100.0);
    EXPECT_NEAR(written.standardDeviation, 10.0, 1e-12);
    const SampleStatistics& delay = cell(*summary, "Release delay (s): mean", "Value");
    EXPECT_EQ(delay.runs, 2u);
    EXPECT_NEAR(delay.mean, 0.8, 1e-12);
    EXPECT_NEAR(cell(*summary, "Release delay (s): maximum", "Value").mean, 2.5, 1e-12);
    EXPECT_NEAR(cell(*summary, "Release delay (s): vehicles waited more than 10 s", "Value").mean, 0.5, 1e-12);
    EXPECT_NEAR(cell(*summary, "Minimum gap (m)", "Value").mean, 22.0, 1e-12);
    EXPECT_NEAR(cell(*summary, "Simulated end", "Value").mean, 1190.0, 1e-9);
    for (const std::string& key : summary->keys)
    {
        EXPECT_THAT(key, ::testing::Not(HasSubstr("Wall time")));
        EXPECT_THAT(key, ::testing::Not(HasSubstr("Output traffic file")));
        // Seeds differ from run to run by design: not a figure whose spread means anything.
        EXPECT_THAT(key, ::testing::Not(HasSubstr("Seed")));
    }
    EXPECT_EQ(comparison.runs()[0].seed, "1");
    EXPECT_EQ(comparison.runs()[2].seed, std::nullopt);
}

TEST_F(RunComparisonTest, ReplicationsOfTheMeanTotalFlow)
{
    writeThreeRuns();
    const RunComparison comparison = RunComparison::of(threeRuns());
    // The runs' mean total flows: 780, 840, 660.
    const ReplicationEstimate flow =
        estimateReplications(comparison, FigureChoice::parse("FD_All_Pos_1500.csv:Totals Flow (veh/hr)"), 0.05);
    EXPECT_EQ(flow.runValues, (std::vector<double>{780.0, 840.0, 660.0}));
    EXPECT_DOUBLE_EQ(flow.statistics.mean, 760.0);
    EXPECT_NEAR(flow.relativeHalfWidth(), t2 * std::sqrt(8400.0 / 3.0) / 760.0, 1e-7);
    EXPECT_EQ(flow.runsNeeded, 25u);

    const ReplicationEstimate written =
        estimateReplications(comparison, FigureChoice::parse("summary.txt:Vehicles written"), 0.10);
    EXPECT_EQ(written.runValues, (std::vector<double>{100.0, 110.0, 90.0}));

    EXPECT_THROW(estimateReplications(comparison, FigureChoice::parse("FD_All_Pos_1500.csv:Flow"), 0.05),
                 ComparisonError);
    EXPECT_THROW(estimateReplications(comparison, FigureChoice::parse("FD_All_Neg_1.csv:Flow"), 0.05), ComparisonError);
    EXPECT_THROW(FigureChoice::parse("FD_All_Pos_1500.csv"), ComparisonError);
}

TEST_F(RunComparisonTest, OneRunHasMeansButNoSpread)
{
    writeThreeRuns();
    const RunComparison comparison = RunComparison::of({run("seed2")});
    const SampleStatistics& flow = cell(*comparison.table("FD_All_Pos_1500.csv"), "2", "Lane 1 Flow (veh/hr)");
    EXPECT_EQ(flow.runs, 1u);
    EXPECT_DOUBLE_EQ(flow.mean, 660.0);
    EXPECT_TRUE(std::isnan(flow.standardDeviation));
    EXPECT_TRUE(std::isnan(flow.halfWidth));
    const ReplicationEstimate estimate = estimateReplications(comparison, defaultFigures(comparison)[0], 0.05);
    EXPECT_FALSE(estimate.runsNeeded);
}

TEST_F(RunComparisonTest, EveryKeyFigureIsEstimatedAndThoseTheInputFixesNeedNoRuns)
{
    writeThreeRuns();
    // Every run passes the same 4 and 2 vehicles in the two lanes, with other gaps; the bridge's
    // maxima differ, its minima do not.
    const std::vector<std::string> headways = {"Headways (s)\nLane 1,Lane 2\n10,12\n4,6\n6,\n5,\n",
                                               "Headways (s)\nLane 1,Lane 2\n10,12\n5,9\n5,\n5,\n",
                                               "Headways (s)\nLane 1,Lane 2\n10,12\n6,12\n4,\n5,\n"};
    const std::vector<std::string> maxima = {"100", "120", "140"};
    const char* events = "LANE CHANGE - VERBOSE OUTPUT OF EVENTS\nTime,Position,From Lane,To Lane,Right/Left,Type\n\n";
    for (std::size_t i = 0; i < 3; ++i)
    {
        const std::string name = "seed" + std::to_string(i + 1);
        write(name, "Head_All_Neg_1500.csv", headways[i]);
        write(name, "LE_Deck.csv",
              "interval,end_time_s,maximum,time_of_maximum_s,minimum,time_of_minimum_s,vehicles,duration_s\n"
              "1,1060,0,0,0,0,0,60\n2,1120," +
                  maxima[i] + ",1100,0,1090,3,60\n3,1150,1,1140,0,1130,1,30\n");
        write(name, "LC_All_All_Pos.csv",
              std::string(events) + (i == 0 ? "" : "1010 ,34 ,2 ,1 ,Right ,Car\n") +
                  (i == 2 ? "1020 ,40 ,1 ,2 ,Left ,Car\n" : ""));
    }
    const RunComparison comparison = RunComparison::of(threeRuns());
    std::vector<std::string> texts;
    for (const FigureChoice& figure : defaultFigures(comparison))
        texts.push_back(figure.text());
    EXPECT_EQ(texts.size(), 9u + 2u + 1u + 1u);
    EXPECT_THAT(texts, ::testing::Contains("FD_All_Pos_1500.csv:Lane 2 Avg. Vel. (km/h)"));
    EXPECT_THAT(texts, ::testing::Contains("FD_All_Pos_1500.csv:Totals Density (veh/km)"));
    EXPECT_THAT(texts, ::testing::Contains("Head_All_Neg_1500.csv:Lane 1 Mean headway (s)"));
    EXPECT_THAT(texts, ::testing::Contains("LC_All_All_Pos.csv:Lane changes"));
    EXPECT_THAT(texts, ::testing::Contains("LE_Deck.csv:maximum"));

    // The first headway is counted from time 0 and left out: lane 1's means are 5 in every run.
    const ReplicationEstimate fixed =
        estimateReplications(comparison, FigureChoice::parse("Head_All_Neg_1500.csv:Lane 1 Mean headway (s)"), 0.05);
    EXPECT_EQ(fixed.runValues, (std::vector<double>{5.0, 5.0, 5.0}));
    EXPECT_TRUE(fixed.sameInEveryRun());
    EXPECT_FALSE(fixed.runsNeeded);
    const ReplicationEstimate lane2 =
        estimateReplications(comparison, FigureChoice::parse("Head_All_Neg_1500.csv:Lane 2 Mean headway (s)"), 0.05);
    EXPECT_EQ(lane2.runValues, (std::vector<double>{6.0, 9.0, 12.0}));
    EXPECT_FALSE(lane2.sameInEveryRun());

    // The complete intervals' maxima only: means 50, 60, 70.
    const ReplicationEstimate deck = estimateReplications(comparison, FigureChoice::parse("LE_Deck.csv:maximum"), 0.05);
    EXPECT_EQ(deck.runValues, (std::vector<double>{50.0, 60.0, 70.0}));
    ASSERT_TRUE(deck.runsNeeded);
    const ReplicationEstimate changes =
        estimateReplications(comparison, FigureChoice::parse("LC_All_All_Pos.csv:Lane changes"), 0.05);
    EXPECT_EQ(changes.runValues, (std::vector<double>{0.0, 1.0, 2.0}));

    std::vector<ReplicationEstimate> estimates{fixed, lane2, deck, changes};
    ASSERT_NE(mostDemanding(estimates), nullptr);
    EXPECT_EQ(mostDemanding(estimates)->figure.text(), "LC_All_All_Pos.csv:Lane changes");
    EXPECT_EQ(mostDemanding({fixed}), nullptr);

    EXPECT_THROW(
        estimateReplications(comparison, FigureChoice::parse("Head_All_Neg_1500.csv:Lane 3 Mean headway (s)"), 0.05),
        ComparisonError);
}

TEST_F(RunComparisonTest, RunsWithOtherDetectorsAreRefusedByName)
{
    writeThreeRuns();
    write("seed2", "Head_All_Neg_1500.csv", "Headways (s)\nLane 1\n5\n");
    const std::string extra = refusal(threeRuns());
    EXPECT_THAT(extra, HasSubstr("other detectors"));
    EXPECT_THAT(extra, HasSubstr("Head_All_Neg_1500.csv"));
    EXPECT_THAT(extra, HasSubstr("seed1"));
    EXPECT_THAT(extra, HasSubstr("seed2"));

    std::filesystem::remove(run("seed2") / "metrics" / "Head_All_Neg_1500.csv");
    write("seed3", "FD_All_Pos_1500.csv",
          " ,Lane 1, , ,Totals\nInterval No.,Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h),"
          "Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h)\n1,,0,,,0,\n");
    const std::string lanes = refusal(threeRuns());
    EXPECT_THAT(lanes, HasSubstr("header of FD_All_Pos_1500.csv"));
    EXPECT_THAT(lanes, HasSubstr("seed3"));
}

TEST_F(RunComparisonTest, RunsWithOtherIntervalsAreRefusedByName)
{
    writeThreeRuns();
    // 120 s intervals: 21 and 20 vehicles give flows that no 60 s interval gives.
    write("long", "FD_All_Pos_1500.csv", flowDensity("1,8,630,80,7,600,90,15,1230,85\n"));
    write("long", "Comp_All_Pos_2500.csv",
          "No. Cars,No. Small Trucks,No. Large Trucks,No. Cranes,No. Low-Loaders\n1,1,0,0,0\n");
    write("long", "summary.txt", summary(1000, 1200, 100));
    const std::string message = refusal({run("seed1"), run("long")});
    EXPECT_THAT(message, HasSubstr("other intervals"));
    EXPECT_THAT(message, HasSubstr("FD_All_Pos_1500.csv"));
    EXPECT_THAT(message, HasSubstr("about 60 s"));
    EXPECT_THAT(message, HasSubstr("about 120 s"));
    EXPECT_THAT(message, HasSubstr("long"));

    // Lane-change files tell their interval in their time column.
    const std::string header = "LANE CHANGE - COMPOSITION OF EVENTS\nTime Interval,Car Changes,SmallTr Changes,"
                               "LargeTr Changes,Crane Changes,LowLoad Changes\n";
    write("a", "LC_Comp_All_Pos.csv", header + "60,1,0,0,0,0\n120,2,0,0,0,0\n");
    write("b", "LC_Comp_All_Pos.csv", header + "300,1,0,0,0,0\n");
    EXPECT_THAT(refusal({run("a"), run("b")}), HasSubstr("60 s in " + run("a").string() + " and of 300 s"));
    // The same interval agrees though one run completed fewer.
    write("b", "LC_Comp_All_Pos.csv", header + "60,4,0,0,0,0\n");
    EXPECT_NO_THROW(RunComparison::of({run("a"), run("b")}));
}

TEST_F(RunComparisonTest, ARunGivenTwiceOrUnreadableIsRefused)
{
    writeThreeRuns();
    EXPECT_THAT(refusal({run("seed1"), run("seed2"), root / "." / "seed1"}), HasSubstr("given twice"));
    EXPECT_THAT(refusal({run("seed1"), run("missing")}), HasSubstr("missing: not a folder"));
    std::filesystem::create_directories(run("empty"));
    EXPECT_THAT(refusal({run("empty")}), HasSubstr("not a run's folder"));
    write("seed2", "Comp_All_Pos_2500.csv",
          "No. Cars,No. Small Trucks,No. Large Trucks,No. Cranes,No. Low-Loaders\n12,2,x,0,1\n");
    EXPECT_THAT(
        refusal(threeRuns()),
        HasSubstr("Comp_All_Pos_2500.csv, line 2: expected a whole number for the Large Truck count, found \"x\""));
    write("seed2", "Comp_All_Pos_2500.csv",
          "No. Cars,No. Small Trucks,No. Large Trucks,No. Cranes,No. Low-Loaders\n12,2\n");
    EXPECT_THAT(refusal(threeRuns()), HasSubstr("line 2: expected 5 cells (one per vehicle class), found 2"));
    // The path tells the run, whose files share their names.
    EXPECT_THAT(refusal(threeRuns()), HasSubstr((run("seed2") / "metrics" / "Comp_All_Pos_2500.csv").string()));
}

TEST_F(RunComparisonTest, RunsInProgressAreRefusedByName)
{
    writeThreeRuns();
    // A sweep's folder of a run still going, with every file a whole run has.
    std::filesystem::copy(run("seed3"), run("seed4.partial"), std::filesystem::copy_options::recursive);
    const std::vector<std::filesystem::path> withPartial = {run("seed1"), run("seed2"), run("seed4.partial")};
    EXPECT_THAT(refusal(withPartial), HasSubstr(run("seed4.partial").string() + ": a run in progress"));
    EXPECT_THAT(refusal({run("seed1"), root / "seed4.partial/"}), HasSubstr("a run in progress"));
    std::filesystem::create_directory_symlink(run("seed4.partial"), run("latest"));
    EXPECT_THAT(refusal({run("seed1"), run("latest")}), HasSubstr("latest: a run in progress"));

    // A run cut short has measurement files but no summary yet.
    std::filesystem::remove(run("seed3") / "summary.txt");
    EXPECT_THAT(refusal(threeRuns()),
                HasSubstr(run("seed3").string() + " has no summary.txt while " + run("seed1").string() + " has"));
    // Folders of measurement files alone are still compared.
    for (const char* name : {"seed1", "seed2"})
        std::filesystem::remove(run(name) / "summary.txt");
    EXPECT_NO_THROW(RunComparison::of(threeRuns()));
}

TEST_F(RunComparisonTest, HeadwaysLaneChangesAndLoadEffects)
{
    // The first headway of a lane is counted from time 0 and left out.
    write("a", "Head_All_Neg_1500.csv", "Headways (s)\nLane 1,Lane 2\n27066.8,27069.9\n4,6\n6, \n");
    write("b", "Head_All_Neg_1500.csv", "Headways (s)\nLane 1,Lane 2\n27000,27001\n8,2\n \n");
    const std::string events =
        "LANE CHANGE - VERBOSE OUTPUT OF EVENTS\nTime,Position,From Lane,To Lane,Right/Left,Type\n\n";
    write("a", "LC_All_All_Pos.csv", events + "12.3 ,480 ,1 ,2 ,Left ,LargeTr\n13 ,500 ,2 ,1 ,Right ,Car\n");
    write("b", "LC_All_All_Pos.csv", events + "12.3 ,480 ,1 ,2 ,Left ,LargeTr\n");
    write("a", "LC_ST_All_Pos.csv", "LANE CHANGE - SPACE TIME OF EVENTS\n");
    write("b", "LC_ST_All_Pos.csv", "LANE CHANGE - SPACE TIME OF EVENTS\n");
    // Load effects: 600 s intervals; the last, shorter one is left out.
    const std::string le =
        "interval,end_time_s,maximum,time_of_maximum_s,minimum,time_of_minimum_s,vehicles,duration_s\n";
    write("a", "LE_span.csv",
          le + "1,1600,100,1500,-5,1400,10,600\n2,2200,300,2100,-7,1900,12,600\n3,2250,900,2240,0,2230,1,50\n");
    write("b", "LE_span.csv", le + "1,1600,200,1500,-3,1400,10,600\n2,2200,500,2100,-9,1900,12,600\n");
    write("a", "LE_span_events.csv", "rank\n");
    write("b", "LE_span_events.csv", "rank\n");
    write("a", "LE_span_seconds.csv", "second,end_time_s,maximum,minimum\n3,3,10,0\n");
    write("b", "LE_span_seconds.csv", "second,end_time_s,maximum,minimum\n5,5,20,0\n");

    const RunComparison comparison = RunComparison::of({run("a"), run("b")});
    const ComparedTable& headways = *comparison.table("Head_All_Neg_1500.csv");
    EXPECT_EQ(headways.keys, (std::vector<std::string>{"Lane 1", "Lane 2"}));
    EXPECT_DOUBLE_EQ(cell(headways, "Lane 1", "Mean headway (s)").mean, 6.5);  // runs: 5 and 8
    EXPECT_DOUBLE_EQ(cell(headways, "Lane 1", "Headways").mean, 1.5);
    EXPECT_DOUBLE_EQ(cell(headways, "Lane 2", "Mean headway (s)").mean, 4.0);  // runs: 6 and 2

    const ComparedTable& changes = *comparison.table("LC_All_All_Pos.csv");
    EXPECT_DOUBLE_EQ(cell(changes, "Lane changes", "Count").mean, 1.5);
    EXPECT_DOUBLE_EQ(cell(changes, "To the right", "Count").mean, 0.5);

    const ComparedTable& load = *comparison.table("LE_span.csv");
    EXPECT_EQ(load.keys, (std::vector<std::string>{"1", "2"}));
    EXPECT_DOUBLE_EQ(cell(load, "2", "maximum").mean, 400.0);
    EXPECT_DOUBLE_EQ(cell(load, "1", "minimum").mean, -4.0);

    EXPECT_EQ(comparison.uncompared(),
              (std::vector<std::string>{"LC_ST_All_Pos.csv", "LE_span_events.csv", "LE_span_seconds.csv"}));
    EXPECT_EQ(comparison.table("summary.txt"), nullptr);
}
