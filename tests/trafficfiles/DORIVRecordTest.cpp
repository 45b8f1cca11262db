#include "trafficfiles/RecordFormat.h"
#include "vehicles/Truck.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Twenty empty axle slots after the given count.
std::string zeroSlotsFrom(int first)
{
    std::string slots;
    for (int i = first; i < 20; ++i)
        slots += i == 19 ? "  0" : "  0  0";
    return slots;
}

// Head 2002, 5.3.21 14:30:15.42, 25.5 m/s, GVW 350 (100 kg), 16.5 m, 3 axles, direction
// column 1 (direction 2), lane 2, auxiliary 25, then the axle slots.
// clang-format off
const std::string threeAxleRecord = "2002" " 5" " 3" "21" "14" "30" "15" "42" "255" " 350" "165" " 3" "1" "2" " 25"
                                    "100" "125" "120" " 13" "130" "  0" + zeroSlotsFrom(3);
// clang-format on

std::string written(const Vehicle& vehicle)
{
    std::string out = "stale text";
    writeDORIV(vehicle, out);
    return out;
}

}  // namespace

TEST(DORIVRecord, ReadsEveryColumnWithDirectionsFromZero)
{
    ASSERT_EQ(threeAxleRecord.size(), 152u);
    Truck truck;
    readDORIV(truck, threeAxleRecord);

    EXPECT_EQ(truck.head, 2002);
    EXPECT_EQ(truck.day, 5);
    EXPECT_EQ(truck.hundredths, 42);
    EXPECT_DOUBLE_EQ(truck.velocity, 25.5);
    EXPECT_DOUBLE_EQ(truck.gvw, 343.35);
    EXPECT_DOUBLE_EQ(truck.length, 16.5);
    EXPECT_EQ(truck.axleCount, 3);
    EXPECT_EQ(truck.direction, 2);
    EXPECT_FALSE(truck.directionPositive);
    EXPECT_EQ(truck.lane, 2);
    EXPECT_EQ(truck.auxValue, 2);
    ASSERT_EQ(truck.axles.size(), 3u);
    EXPECT_DOUBLE_EQ(truck.getAxleWeight(0), 100 * 0.981);
    EXPECT_DOUBLE_EQ(truck.getAxleSpacing(0), 12.5);
    EXPECT_DOUBLE_EQ(truck.getAxleSpacing(1), 1.3);
    EXPECT_EQ(truck.vehicleClass, classSmallTruck);
}

TEST(DORIVRecord, WritesBackTwentySlotsByteForByte)
{
    Truck truck;
    readDORIV(truck, threeAxleRecord);
    std::string expected = threeAxleRecord;
    expected.replace(32, 3, " 20");
    EXPECT_EQ(written(truck), expected);

    std::string forward = threeAxleRecord;
    forward[30] = '0';
    readDORIV(truck, forward);
    EXPECT_EQ(truck.direction, 1);
    EXPECT_TRUE(truck.directionPositive);
    EXPECT_EQ(written(truck)[30], '0');
}

TEST(DORIVRecord, TwoDigitAxleCounts)
{
    std::string record = threeAxleRecord;
    record.replace(28, 2, "12");
    Truck truck;
    readDORIV(truck, record);
    EXPECT_EQ(truck.axles.size(), 12u);
    EXPECT_EQ(written(truck).substr(28, 2), "12");

    record.replace(28, 2, " 5");
    readDORIV(truck, record);
    EXPECT_EQ(written(truck).substr(28, 2), " 5");
}

TEST(DORIVRecord, TwentyAxlesReadTheLastSpacingAsZero)
{
    std::string record = threeAxleRecord.substr(0, 28) + "20" + threeAxleRecord.substr(30, 5);
    for (int i = 0; i < 20; ++i)
        record += i == 19 ? " 50" : " 50 14";
    ASSERT_EQ(record.size(), 152u);
    Truck truck;
    readDORIV(truck, record);
    ASSERT_EQ(truck.axles.size(), 20u);
    EXPECT_EQ(truck.getAxleSpacing(19), 0.0);
    EXPECT_EQ(written(truck), record.replace(32, 3, " 20"));
}

TEST(DORIVRecord, MoreThanTwentyAxlesKeepTheirCountButTwentySlots)
{
    Truck truck;
    readDORIV(truck, threeAxleRecord.substr(0, 28) + "22");
    ASSERT_EQ(truck.axles.size(), 22u);
    const std::string out = written(truck);
    EXPECT_EQ(out.size(), 152u);
    EXPECT_EQ(out.substr(28, 2), "22");
}

TEST(DORIVRecord, ANegativeAxleCountReadsAsNoAxles)
{
    Truck truck;
    readDORIV(truck, threeAxleRecord.substr(0, 28) + "-5");
    EXPECT_EQ(truck.axleCount, 0);
    EXPECT_TRUE(truck.axles.empty());
    EXPECT_EQ(written(truck).size(), 152u);
}
