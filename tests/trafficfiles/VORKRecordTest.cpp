#include "trafficfiles/RecordFormat.h"
#include "vehicles/Truck.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Record 17, head 12345, 5.3.21 14:30:15.42, 8.0 m/s, 35 kN, 4.5 m, two axles of 17 and 18 kN
// 2.5 m apart.
// clang-format off
const std::string twoAxleRecord = "00017" "12345" "05" "03" "21" "14" "30" "15" "42" "080" "0035" "045" "2"
                                  "017" "25" "018";
// clang-format on

std::string written(const Vehicle& vehicle)
{
    std::string out = "stale text";
    writeVORK(vehicle, out);
    return out;
}

}  // namespace

TEST(VORKRecord, ReadsKilonewtonsAndPutsEveryVehicleInDirectionOneLaneOne)
{
    ASSERT_EQ(twoAxleRecord.size(), 43u);
    Truck truck;
    truck.direction = 2;
    truck.lane = 3;
    readVORK(truck, twoAxleRecord);

    EXPECT_EQ(truck.recordNumber, 17);
    EXPECT_EQ(truck.head, 20005);
    EXPECT_EQ(truck.day, 5);
    EXPECT_EQ(truck.month, 3);
    EXPECT_EQ(truck.year, 21);
    EXPECT_EQ(truck.hour, 14);
    EXPECT_EQ(truck.minute, 30);
    EXPECT_EQ(truck.second, 15);
    EXPECT_EQ(truck.hundredths, 42);
    EXPECT_DOUBLE_EQ(truck.velocity, 8.0);
    EXPECT_DOUBLE_EQ(truck.gvw, 35.0);
    EXPECT_DOUBLE_EQ(truck.length, 4.5);
    EXPECT_EQ(truck.direction, 1);
    EXPECT_TRUE(truck.directionPositive);
    EXPECT_EQ(truck.lane, 1);
    ASSERT_EQ(truck.axles.size(), 2u);
    EXPECT_DOUBLE_EQ(truck.getAxleWeight(0), 17.0);
    EXPECT_DOUBLE_EQ(truck.getAxleSpacing(0), 2.5);
    EXPECT_DOUBLE_EQ(truck.getAxleWeight(1), 18.0);
    EXPECT_EQ(truck.getAxleSpacing(1), 0.0);
    // 35 kN is above the car limit of 34.335 kN.
    EXPECT_EQ(truck.vehicleClass, classSmallTruck);
}

TEST(VORKRecord, WritesZeroFilledWithTheVORKHead)
{
    Truck truck;
    readVORK(truck, twoAxleRecord);
    std::string expected = twoAxleRecord;
    expected.replace(5, 5, "20005");
    EXPECT_EQ(written(truck), expected);
}

TEST(VORKRecord, OneAxleHasNoSpacingAndNoAxlesNoBlocks)
{
    const std::string oneAxle = twoAxleRecord.substr(0, 34) + "1" + "017";
    Truck truck;
    readVORK(truck, oneAxle + "99");  // a stray spacing after the last axle is not read
    ASSERT_EQ(truck.axles.size(), 1u);
    EXPECT_EQ(truck.getAxleSpacing(0), 0.0);
    EXPECT_EQ(written(truck).size(), 38u);

    Truck none;
    readVORK(none, twoAxleRecord.substr(0, 34) + "0");
    EXPECT_TRUE(none.axles.empty());
    EXPECT_EQ(written(none).size(), 35u);
}

TEST(VORKRecord, AWeightThatIsNotWholePrintsItsDecimals)
{
    Truck truck;
    readVORK(truck, twoAxleRecord);
    truck.gvw = 34.335;
    truck.velocity = 100.0;
    const std::string out = written(truck);
    EXPECT_EQ(out.substr(24, 10), "100034.335");
    EXPECT_EQ(out.size(), 43u + 1 + 2);
}

TEST(VORKRecord, ShortRecordsReadMissingColumnsAsZero)
{
    Truck truck;
    readVORK(truck, twoAxleRecord.substr(0, 40));
    ASSERT_EQ(truck.axles.size(), 2u);
    EXPECT_DOUBLE_EQ(truck.getAxleSpacing(0), 2.5);
    EXPECT_EQ(truck.getAxleWeight(1), 0.0);

    Truck empty;
    readVORK(empty, "");
    EXPECT_EQ(empty.recordNumber, 0);
    EXPECT_EQ(empty.axleCount, 0);
    EXPECT_EQ(empty.head, 20005);
}
