// The catalogue's promises: every name a writer makes reads back as the same file, and a bad file
// is reported by its name and the line counted from 1.

#include "config/CStatDetector.h"
#include "outputfiles/CsvText.h"
#include "outputfiles/FileLayouts.h"
#include "outputfiles/MeasurementFileName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {
std::string failureOf(const std::function<void()>& read)
{
    try
    {
        read();
    }
    catch (const BadFile& bad)
    {
        return bad.what();
    }
    return "(read)";
}
}

TEST(Catalogue, EveryNameAWriterMakesReadsBackAsTheSameFile)
{
    std::vector<MeasurementFileName> written;
    for (std::uint16_t types = CStatDetector::allVehicles; types <= CStatDetector::lowLoaders; ++types)
        for (bool positive : {true, false})
        {
            for (MeasurementKind kind :
                 {MeasurementKind::flowDensity, MeasurementKind::headway, MeasurementKind::composition})
                for (int roadX : {0, 7, 1500, 100000})
                    written.push_back(MeasurementFileName::ofPointDetector(kind, types, positive, roadX));
            for (const MeasurementFileName& name : laneChangeFiles(types, positive))
                written.push_back(name);
        }
    for (const char* bridge : {"Deck", "a b", "two\nlines", "<img src=x>", "a_b", "LE_x", "seconds"})
        for (const MeasurementFileName& name : bridgeFiles(bridge))
            written.push_back(name);
    for (const MeasurementFileName& name : written)
    {
        const std::optional<MeasurementFileName> parsed = MeasurementFileName::parse(name.text());
        ASSERT_TRUE(parsed) << name.text();
        EXPECT_EQ(*parsed, name) << name.text();
    }
    EXPECT_EQ(laneChangeFiles(CStatDetector::cranes, true).size(), 3u);  // no composition of one class
    EXPECT_EQ(MeasurementFileName::ofPointDetector(MeasurementKind::headway, 999, true, 5).text(),
              "Head_All_Pos_5.csv");
}

TEST(Catalogue, BridgeFilesAreToldApartByTheirEnds)
{
    EXPECT_EQ(MeasurementFileName::parse("LE_Deck_seconds.csv")->kind, MeasurementKind::loadEffectSeconds);
    EXPECT_EQ(MeasurementFileName::parse("LE_Deck_events.csv")->bridge, "Deck");
    EXPECT_EQ(MeasurementFileName::parse("LE_Deck.csv")->kind, MeasurementKind::loadEffectIntervals);
    for (const char* name : {"LE_.csv", "LE__seconds.csv", "LE_a/b.csv", "LE_a\\b.csv", "LE_Deck.txt"})
        EXPECT_FALSE(MeasurementFileName::parse(name)) << name;
}

TEST(Catalogue, TheComparisonTakesAFilesKindFromItsPrefix)
{
    EXPECT_EQ(measurementKindOf("FD_morning.csv"), MeasurementKind::flowDensity);
    EXPECT_EQ(measurementKindOf("LC_Comp_x.csv"), MeasurementKind::laneChangeComposition);
    EXPECT_EQ(measurementKindOf("Comp_x.csv"), MeasurementKind::composition);
    EXPECT_EQ(measurementKindOf("LE_.csv"), MeasurementKind::loadEffectIntervals);
    EXPECT_EQ(measurementKindOf("LE_Deck_events.csv"), MeasurementKind::loadEffectEvents);
    for (const char* name : {"FD_All_Pos_1500.txt", "summary.csv", ".csv", "fd_All_Pos_1.csv"})
        EXPECT_FALSE(measurementKindOf(name)) << name;
}

TEST(Catalogue, ABadFileIsToldByNameAndLineFromOne)
{
    const CsvText text("FD_x.csv", "a, b ,c\r\n\n1,x,\n");
    EXPECT_EQ(text.lineCount(), 3u);
    EXPECT_EQ(text.cells(1), (std::vector<std::string_view>{"a", "b", "c"}));
    EXPECT_TRUE(text.isBlank(2));
    EXPECT_EQ(text.verbatim(1, 2), "a, b ,c\n\n");
    EXPECT_TRUE(std::isnan(text.real(3, "", "the speed")));
    EXPECT_EQ(failureOf([&] { text.real(3, "x", "the speed"); }),
              "FD_x.csv, line 3: expected a number for the speed, found \"x\"");
    EXPECT_EQ(failureOf([&] { text.number(3, "", "the flow"); }),
              "FD_x.csv, line 3: expected a number for the flow, found \"\"");
    EXPECT_EQ(failureOf([&] { text.expectHeader(1, {"a,b"}); }),
              "FD_x.csv, line 1: expected no heading after \"b\", found \"c\"");
    EXPECT_EQ(failureOf([&] { text.expectHeader(1, {"a,b,c,d"}); }),
              "FD_x.csv, line 1: expected the heading \"d\", found \"\"");
    EXPECT_EQ(failureOf([&] {
                  text.expectHeader(3, {"1,x,", "more"});
              }),
              "FD_x.csv, line 4: the file ends before its header is complete");
    EXPECT_EQ(
        failureOf([] { CsvText::load("/nonexistent/roadflux/FD.csv", "FD.csv"); }).rfind("FD.csv: cannot be read", 0),
        0u);
    const BadFile bad("f.csv", 7, "why");
    EXPECT_EQ(bad.file(), "f.csv");
    EXPECT_EQ(bad.line(), 7u);
    EXPECT_EQ(bad.problem(), "why");
}

TEST(Catalogue, ACompleteIntervalIsOneAsLongAsTheIntervalWithinTheFilesRounding)
{
    EXPECT_TRUE(FileLayouts::isCompleteInterval(600.0, 600.0));
    EXPECT_TRUE(FileLayouts::isCompleteInterval(599.999, 600.0));
    EXPECT_FALSE(FileLayouts::isCompleteInterval(599.9, 600.0));
    EXPECT_FALSE(FileLayouts::isCompleteInterval(30.0, 600.0));
}
