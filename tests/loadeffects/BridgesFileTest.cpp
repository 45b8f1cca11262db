// The bridges file: reading in any column order, messages that name the file, line and field,
// names that cannot be file names or that would share output files, the checks against the
// road of a run, and a written set that reads back equal.

#include "loadeffects/BridgesFile.h"
#include "document/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace {
const std::string header = "name,start_m,span_m,effect,directions,interval_s\n";

bool mentions(const std::vector<std::string>& problems, const std::string& part)
{
    for (const std::string& problem : problems)
        if (problem.find(part) != std::string::npos)
            return true;
    return false;
}

std::string allOf(const std::vector<std::string>& problems)
{
    std::string text;
    for (const std::string& problem : problems)
        text += problem + "\n";
    return text;
}
}

TEST(BridgesFile, ReadsEveryFieldInAnyColumnOrder)
{
    TemporaryFolder folder;
    folder.write("line.csv", "0,0\n30,1\n60,0\n");
    const std::string path =
        folder.write("study.bridges", "directions,name,effect,span_m,start_m,lane_factors,interval_s\r\n"
                                      "both,Main-1,midspan-moment,20,100,1:1.0;2:0.9,3600\r\n"
                                      "\r\n"
                                      "2,viaduct.B,file:line.csv,60,1500,,\r\n"
                                      "1,Over_C,continuous-support-moment,35,2000,1:1,86400\r\n");
    const BridgesFileResult read = BridgesFile::read(path);
    ASSERT_TRUE(read.ok()) << allOf(read.problems);
    ASSERT_EQ(read.set.bridges.size(), 3u);
    EXPECT_EQ(read.lineOfBridge, (std::vector<std::size_t>{2, 4, 5}));

    const Bridge& first = read.set.bridges[0];
    EXPECT_EQ(first.name, "Main-1");
    EXPECT_EQ(first.start, 100.0);
    EXPECT_EQ(first.span, 20.0);
    EXPECT_EQ(first.effect, BridgeEffect::midspanMoment);
    EXPECT_EQ(first.directions, BridgeDirections::both);
    EXPECT_EQ(first.interval, 3600.0);
    EXPECT_EQ(first.laneFactor(2), 0.9);
    EXPECT_EQ(first.laneFactor(3), 1.0);

    const Bridge& second = read.set.bridges[1];
    EXPECT_EQ(second.effect, BridgeEffect::influenceFile);
    EXPECT_EQ(second.influenceFile, "line.csv");
    EXPECT_EQ(second.directions, BridgeDirections::negative);
    EXPECT_EQ(second.interval, Bridge::defaultInterval);
    EXPECT_TRUE(second.laneFactors.empty());
    EXPECT_EQ(read.set.bridges[2].length(), 70.0);
    EXPECT_TRUE(read.set.bridges[2].carries(1));
    EXPECT_FALSE(read.set.bridges[2].carries(2));
}

TEST(BridgesFile, EachBadFieldIsNamedWithItsFileAndLine)
{
    TemporaryFolder folder;
    const std::string path = folder.write("b.bridges", header + "A,x,20,midspan-moment,both,86400\n"
                                                                "B,10,-5,midspan-moment,both,86400\n"
                                                                "C,10,20,moment,both,86400\n"
                                                                "D,10,20,support-shear,3,86400\n"
                                                                "E,10,20,support-shear,1,0\n"
                                                                "F,10,20,file:missing.csv,1,60\n"
                                                                "G,10,20,support-shear,1,60,extra\n"
                                                                "H,10,20,support-shear,1,1e12\n");
    const std::vector<std::string> problems = BridgesFile::read(path).problems;
    EXPECT_TRUE(mentions(problems, path + ": line 2: start_m: \"x\" is not a number")) << allOf(problems);
    EXPECT_TRUE(mentions(problems, path + ": line 3: span_m: the span must be more than 0 m"));
    EXPECT_TRUE(mentions(problems, path + ": line 4: effect: \"moment\" is not midspan-moment"));
    EXPECT_TRUE(mentions(problems, path + ": line 5: directions: \"3\" is not 1, 2 or both"));
    EXPECT_TRUE(mentions(problems, path + ": line 6: interval_s: the interval must be more than 0 s"));
    EXPECT_TRUE(mentions(problems, path + ": line 8: the line has 7 fields, the header 6"));
    EXPECT_TRUE(
        mentions(problems, path + ": line 9: interval_s: the interval must be more than 0 s and at most 1e+09 s"));
}

TEST(BridgesFile, AFileInfluenceLineThatCannotBeReadIsNamedAtItsBridge)
{
    TemporaryFolder folder;
    const std::string path = folder.write("b.bridges", header + "F,10,20,file:missing.csv,1,60\n");
    const std::vector<std::string> problems = BridgesFile::read(path).problems;
    EXPECT_TRUE(mentions(problems, path + ": line 2: effect: " + folder.file("missing.csv") +
                                       ": the influence line file cannot be read"))
        << allOf(problems);
}

TEST(BridgesFile, HeaderProblems)
{
    TemporaryFolder folder;
    EXPECT_TRUE(mentions(BridgesFile::read(folder.write("a", "name,start_m,span_m,effect,directions\n")).problems,
                         "line 1: interval_s: the header line lacks this column"));
    EXPECT_TRUE(mentions(
        BridgesFile::read(folder.write("b", "name,start_m,span_m,effect,directions,interval_s,colour\n")).problems,
        "line 1: \"colour\" is not a column of a bridges file"));
    EXPECT_TRUE(mentions(
        BridgesFile::read(folder.write("c", "name,name,start_m,span_m,effect,directions,interval_s\n")).problems,
        "line 1: name: the column is named twice"));
    EXPECT_TRUE(mentions(BridgesFile::read(folder.write("d", "\n\n")).problems, "there is no header line"));
    EXPECT_TRUE(mentions(BridgesFile::read(folder.file("none")).problems, "the bridges file cannot be read"));
    EXPECT_TRUE(BridgesFile::read(folder.write("e", header)).ok());
}

TEST(BridgesFile, LaneFactorsMustBeLaneColonFactor)
{
    TemporaryFolder folder;
    const std::string columns = "name,start_m,span_m,effect,directions,interval_s,lane_factors\n";
    for (const std::string factors : {"1=0.9", "0:1", "1:-0.5", "1:1;1:0.9", "1.5:1", "a:b", "1:1e308", "1:inf"})
    {
        const auto problems =
            BridgesFile::read(folder.write("f", columns + "A,0,20,midspan-moment,both,60," + factors + "\n")).problems;
        EXPECT_TRUE(mentions(problems, "line 2: lane_factors: ")) << factors;
    }
}

// Names become file names: nothing that leaves the metrics folder or that two bridges would share.
TEST(BridgesFile, NamesThatAreNoSafeFileNamesOrThatClashAreRefused)
{
    TemporaryFolder folder;
    for (const std::string name : {"", "../up", "a/b", "a\\b", ".hidden", "with space", "semi;colon"})
    {
        const auto problems =
            BridgesFile::read(folder.write("n", header + name + ",0,20,midspan-moment,both,60\n")).problems;
        EXPECT_TRUE(mentions(problems, "line 2: name: ")) << name;
    }
    const auto twice = BridgesFile::read(folder.write("t", header + "Span,0,20,midspan-moment,both,60\n"
                                                                    "span,40,20,midspan-moment,both,60\n"))
                           .problems;
    EXPECT_TRUE(mentions(twice, "line 3: name: \"span\" clashes with the bridge \"Span\"")) << allOf(twice);
    const auto events = BridgesFile::read(folder.write("u", header + "A,0,20,midspan-moment,both,60\n"
                                                                     "A_events,40,20,midspan-moment,both,60\n"))
                            .problems;
    EXPECT_TRUE(
        mentions(events, "line 3: name: \"A_events\" clashes with the bridge \"A\": both would write LE_A_events.csv"))
        << allOf(events);
}

TEST(BridgeSet, ChecksAgainstTheRoadOfARun)
{
    BridgeSet set;
    Bridge beyond;
    beyond.name = "beyond";
    beyond.start = 2990.0;
    beyond.span = 20.0;
    set.bridges.push_back(beyond);
    Bridge oneWay = beyond;
    oneWay.name = "oneWay";
    oneWay.start = 100.0;
    oneWay.directions = BridgeDirections::negative;
    oneWay.laneFactors = {{1, 1.0}, {5, 1.0}};
    oneWay.interval = 0.05;
    set.bridges.push_back(oneWay);

    const std::vector<BridgeProblem> problems = set.checkOn(RoadLayout{3000.0, 2, 0, 0.1});
    auto has = [&](std::size_t bridge, const std::string& field, const std::string& part) {
        for (const BridgeProblem& problem : problems)
            if (problem.bridge == bridge && problem.field == field && problem.message.find(part) != std::string::npos)
                return true;
        return false;
    };
    EXPECT_TRUE(has(0, "span_m", "the bridge ends at 3010 m, beyond the road's end at 3000 m"));
    EXPECT_TRUE(has(1, "directions", "the road has no lane in direction 2"));
    EXPECT_TRUE(has(1, "lane_factors", "lane 1 is in direction 1, which the bridge does not carry"));
    EXPECT_TRUE(has(1, "lane_factors", "lane 5: the road has 2 lanes"));
    EXPECT_TRUE(has(1, "interval_s", "shorter than the time step of 0.1 s"));
    EXPECT_EQ(problems.size(), 5u);
    EXPECT_TRUE(set.bridges.empty() || BridgeSet{{set.bridges[0]}}.checkOn(RoadLayout{3010.0, 2, 2, 0.1}).empty());
}

TEST(BridgesFile, AWrittenSetReadsBackEqual)
{
    TemporaryFolder folder;
    folder.write("il.csv", "0,0\n5,1\n10,0\n");
    BridgeSet set;
    Bridge a;
    a.name = "A";
    a.start = 123.456;
    a.span = 0.1 + 0.2;  // a number with a long decimal form
    a.laneFactors = {{1, 1.0}, {3, 0.85}};
    a.interval = 900.0;
    Bridge b;
    b.name = "B";
    b.start = 10.0;
    b.span = 10.0;
    b.effect = BridgeEffect::influenceFile;
    b.influenceFile = "il.csv";
    b.directions = BridgeDirections::positive;
    set.bridges = {a, b};
    const std::string path = folder.file("study.bridges");
    ASSERT_TRUE(BridgesFile::write(path, set));
    const BridgesFileResult read = BridgesFile::read(path);
    ASSERT_TRUE(read.ok()) << allOf(read.problems);
    EXPECT_EQ(read.set, set);
    EXPECT_FALSE(BridgesFile::write(folder.file("no/such/folder/x.bridges"), set));
}

TEST(BridgesFile, TheStudysBridgesFileSitsBesideIt)
{
    EXPECT_EQ(BridgesFile::besideStudy("runs/study.rfx"), "runs/study.bridges");
    EXPECT_EQ(BridgesFile::besideStudy("study"), "study.bridges");
}
