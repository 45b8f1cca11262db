#include "trafficfiles/RecordFormat.h"
#include "vehicles/Truck.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A five-axle truck: head, date, time, speed 25.5 m/s, GVW 350 (100 kg), length 16.5 m,
// 5 axles, direction 1, lane 2, auxiliary 25, then nine axle slots.
// clang-format off
const std::string fiveAxleRecord = "1001" " 5" " 3" "21" "14" "30" "15" "42" "255" " 350" "165" "5" "1" "2" " 25"
                                   " 60" "32" " 80" "13" " 70" "60" " 70" "13" " 70" " 0"
                                   "  0" " 0" "  0" " 0" "  0" " 0" "  0";
// clang-format on

std::string written(const Vehicle& vehicle)
{
    std::string out = "stale text";
    writeTALVOR(vehicle, out);
    return out;
}

}  // namespace

TEST(TALVORRecord, ReadsEveryColumnWithItsUnit)
{
    ASSERT_EQ(fiveAxleRecord.size(), 77u);
    Truck truck;
    truck.position = 12.0;
    truck.laneChangeClock = 1.0;
    readTALVOR(truck, fiveAxleRecord);

    EXPECT_EQ(truck.head, 1001);
    EXPECT_EQ(truck.day, 5);
    EXPECT_EQ(truck.month, 3);
    EXPECT_EQ(truck.year, 21);
    EXPECT_EQ(truck.hour, 14);
    EXPECT_EQ(truck.minute, 30);
    EXPECT_EQ(truck.second, 15);
    EXPECT_EQ(truck.hundredths, 42);
    EXPECT_DOUBLE_EQ(truck.velocity, 25.5);
    EXPECT_DOUBLE_EQ(truck.gvw, 343.35);
    EXPECT_DOUBLE_EQ(truck.length, 16.5);
    EXPECT_EQ(truck.axleCount, 5);
    EXPECT_EQ(truck.direction, 1);
    EXPECT_TRUE(truck.directionPositive);
    EXPECT_EQ(truck.lane, 2);
    EXPECT_EQ(truck.auxValue, 2);
    ASSERT_EQ(truck.axles.size(), 5u);
    EXPECT_DOUBLE_EQ(truck.getAxleWeight(0), 60 * 0.981);
    EXPECT_DOUBLE_EQ(truck.getAxleSpacing(0), 3.2);
    EXPECT_DOUBLE_EQ(truck.getAxleSpacing(2), 6.0);
    EXPECT_DOUBLE_EQ(truck.getAxleSpacing(4), 0.0);
    EXPECT_EQ(truck.position, 0.0);
    EXPECT_EQ(truck.roadX, 0.0);
    EXPECT_EQ(truck.laneChangeClock, 0.0);
    // Spacings 3.2, 1.3, 6.0, 1.3, 0 m: peak 6.0 m, so neither crane nor low-loader.
    EXPECT_EQ(truck.vehicleClass, classLargeTruck);
}

TEST(TALVORRecord, WritesBackByteForByteExceptTheAuxiliaryLastDigit)
{
    Truck truck;
    readTALVOR(truck, fiveAxleRecord);
    std::string expected = fiveAxleRecord;
    expected.replace(31, 3, " 20");
    EXPECT_EQ(written(truck), expected);
}

TEST(TALVORRecord, DirectionTwoIsNegative)
{
    std::string record = fiveAxleRecord;
    record[29] = '2';
    Truck truck;
    readTALVOR(truck, record);
    EXPECT_EQ(truck.direction, 2);
    EXPECT_FALSE(truck.directionPositive);
    EXPECT_EQ(written(truck)[29], '2');
}

TEST(TALVORRecord, NineAxlesReadTheLastSpacingAsZero)
{
    // clang-format off
    const std::string record = "1001" " 1" " 1" " 0" " 0" " 0" " 0" " 0" "200" " 450" "180" "9" "1" "1" "  0"
                               " 50" "12" " 50" "12" " 50" "12" " 50" "12" " 50" "12" " 50" "12" " 50" "12"
                               " 50" "12" " 50";
    // clang-format on
    ASSERT_EQ(record.size(), 77u);
    Truck truck;
    readTALVOR(truck, record);
    ASSERT_EQ(truck.axles.size(), 9u);
    EXPECT_DOUBLE_EQ(truck.getAxleWeight(8), 50 * 0.981);
    EXPECT_EQ(truck.getAxleSpacing(8), 0.0);
    EXPECT_EQ(written(truck), record);
}

TEST(TALVORRecord, UnusedAxleSlotsAreWrittenAsZeros)
{
    // clang-format off
    const std::string twoAxles = "1001" " 1" " 1" " 0" " 0" " 0" " 0" " 0" "300" "  20" " 45" "2" "1" "1" "  0"
                                 " 10" "25" " 10" " 0";
    // clang-format on
    Truck car;
    readTALVOR(car, twoAxles);
    EXPECT_EQ(car.vehicleClass, classCar);
    // clang-format off
    EXPECT_EQ(written(car), twoAxles + "  0" " 0" "  0" " 0" "  0" " 0" "  0" " 0" "  0" " 0" "  0" " 0" "  0");
    // clang-format on

    Truck none;
    readTALVOR(none, twoAxles.substr(0, 28) + "0");
    EXPECT_EQ(none.axleCount, 0);
    EXPECT_TRUE(none.axles.empty());
    const std::string out = written(none);
    EXPECT_EQ(out.size(), 77u);
    EXPECT_EQ(out.substr(34), "  0 0  0 0  0 0  0 0  0 0  0 0  0 0  0 0  0");
}

TEST(TALVORRecord, ShortOrEmptyRecordsReadMissingColumnsAsZero)
{
    Truck truck;
    // Cut inside the axle blocks: axle 1's weight is there, its spacing and axle 2 are not.
    readTALVOR(truck, fiveAxleRecord.substr(0, 42));
    ASSERT_EQ(truck.axles.size(), 5u);
    EXPECT_DOUBLE_EQ(truck.getAxleWeight(1), 80 * 0.981);
    EXPECT_DOUBLE_EQ(truck.getAxleSpacing(1), 0.0);
    EXPECT_EQ(truck.getAxleWeight(2), 0.0);

    Truck blank;
    readTALVOR(blank, "x");
    EXPECT_EQ(blank.axleCount, 0);
    EXPECT_EQ(blank.gvw, 0.0);
    EXPECT_EQ(blank.direction, 0);
    EXPECT_FALSE(blank.directionPositive);
}

TEST(TALVORRecord, ReadingIntoAUsedVehicleDoesNotKeepItsOldAxles)
{
    Truck truck;
    readTALVOR(truck, fiveAxleRecord);
    readTALVOR(truck, fiveAxleRecord);
    EXPECT_EQ(truck.axles.size(), 5u);
}

TEST(TALVORRecord, RoundsHalfUpAndWritesOverflowingValuesWhole)
{
    Truck truck;
    readTALVOR(truck, fiveAxleRecord);
    truck.velocity = 12.34;  // 123.4 tenths
    truck.length = 16.55;    // 165.5 tenths
    EXPECT_EQ(written(truck).substr(18, 3), "123");
    EXPECT_EQ(written(truck).substr(25, 3), "166");

    truck.velocity = 100.0;
    truck.lane = 12;
    const std::string out = written(truck);
    EXPECT_EQ(out.size(), 79u);
    EXPECT_EQ(out.substr(18, 4), "1000");
    EXPECT_EQ(out.substr(29, 4), "5112");
}

TEST(TALVORRecord, AVehicleWithFewerAxlesThanItsCountWritesZeros)
{
    Truck truck;
    readTALVOR(truck, fiveAxleRecord);
    truck.axles.resize(1);
    const std::string out = written(truck);
    EXPECT_EQ(out.size(), 77u);
    EXPECT_EQ(out.substr(34, 10), " 6032  0 0");
}
