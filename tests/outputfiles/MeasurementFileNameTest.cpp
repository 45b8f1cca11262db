#include "outputfiles/MeasurementFileName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(MeasurementFileName, ReadsEveryDetectorFileName)
{
    auto flows = MeasurementFileName::parse("FD_All_Pos_1500.csv");
    ASSERT_TRUE(flows);
    EXPECT_EQ(flows->kind, MeasurementKind::flowDensity);
    EXPECT_EQ(flows->vehicleTypes, "All");
    EXPECT_TRUE(flows->directionPositive);
    EXPECT_EQ(flows->location, 1500);
    EXPECT_EQ(flows->title(), "Flow & Density, all vehicles, direction 1, at 1500 m");

    auto headways = MeasurementFileName::parse("Head_Trucks_Neg_250.csv");
    ASSERT_TRUE(headways);
    EXPECT_EQ(headways->kind, MeasurementKind::headway);
    EXPECT_FALSE(headways->directionPositive);
    EXPECT_EQ(headways->shortTitle(), "Headway 250 m dir 2 trucks");

    auto rates = MeasurementFileName::parse("LC_Rate_LL_Neg.csv");
    ASSERT_TRUE(rates);
    EXPECT_EQ(rates->kind, MeasurementKind::laneChangeRates);
    EXPECT_EQ(rates->vehicleTypes, "LL");
    EXPECT_FALSE(rates->location);
    EXPECT_EQ(rates->title(), "Lane Changes, low-loaders, direction 2, rates by location and time");

    EXPECT_EQ(MeasurementFileName::parse("LC_All_All_Pos.csv")->kind, MeasurementKind::laneChangeEvents);
    EXPECT_EQ(MeasurementFileName::parse("LC_Comp_Trucks_Pos.csv")->kind, MeasurementKind::laneChangeComposition);
    EXPECT_EQ(MeasurementFileName::parse("LC_ST_Car_Neg.csv")->kind, MeasurementKind::laneChangeSpaceTime);
    EXPECT_EQ(MeasurementFileName::parse("Comp_Trucks_Pos_2500.csv")->kind, MeasurementKind::composition);
}

TEST(MeasurementFileName, RefusesOtherNames)
{
    for (const char* name :
         {"output.txt", "FD_All_Pos_1500.txt", "FD_All_Up_1500.csv", "FD_Bus_Pos_1500.csv", "FD_All_Pos_.csv",
          "FD_All_Pos_15x.csv", "FD_All_Pos.csv", "LC_ST_All_Pos_100.csv", "summary.csv", ".csv"})
        EXPECT_FALSE(MeasurementFileName::parse(name)) << name;
}

TEST(MeasurementFileName, OrdersByKindThenDirectionThenLocation)
{
    std::vector<std::string> names = {"LC_Rate_All_Pos.csv", "FD_All_Neg_100.csv", "Head_All_Pos_5.csv",
                                      "FD_All_Pos_900.csv", "FD_All_Pos_1000.csv"};
    std::vector<MeasurementFileName> parsed;
    for (const std::string& name : names)
        parsed.push_back(*MeasurementFileName::parse(name));
    std::sort(parsed.begin(), parsed.end());
    std::vector<std::string> titles;
    for (const MeasurementFileName& name : parsed)
        titles.push_back(name.shortTitle());
    EXPECT_EQ(titles, (std::vector<std::string>{"Flow & Density 900 m dir 1", "Flow & Density 1000 m dir 1",
                                                "Flow & Density 100 m dir 2", "Headway 5 m dir 1",
                                                "Lane changes rates dir 1"}));
}
