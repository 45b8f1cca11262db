#include "trafficfiles/DORIVFile.h"
#include "trafficfiles/RecordFormat.h"
#include "trafficfiles/TALVORFile.h"
#include "trafficfiles/VORKFile.h"
#include "vehicles/Car.h"
#include "vehicles/Truck.h"

#include "trafficfiles/TrafficFileFixture.h"

#include "files/FullDisk.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// A value right-aligned in its column.
std::string column(int value, std::size_t width, char fill = ' ')
{
    const std::string text = std::to_string(value);
    return std::string(width > text.size() ? width - text.size() : 0, fill) + text;
}

// Two-axle records whose GVW column holds the given value.
std::string talvorRecord(int gvwColumn, int second = 0)
{
    // clang-format off
    return "1001" " 1" " 1" " 0" " 0" " 0" + column(second, 2) + " 0" "200" + column(gvwColumn, 4) +
           " 45" "2" "1" "1" " 25" " 10" "25" " 10" " 0" "  0" " 0" "  0" " 0" "  0" " 0" "  0" " 0" "  0" " 0"
           "  0" " 0" "  0";
    // clang-format on
}

std::string vorkRecord(int gvwColumn)
{
    // clang-format off
    return "00017" "12345" "05" "03" "21" "14" "30" "15" "42" "080" + column(gvwColumn, 4, '0') + "045" "2"
           "017" "25" "018";
    // clang-format on
}

std::string dorivRecord(int gvwColumn)
{
    // clang-format off
    std::string record = talvorRecord(gvwColumn).substr(0, 28) + " 2" "0" "1" " 25" " 10" " 25" " 10" "  0";
    // clang-format on
    for (int i = 2; i < 20; ++i)
        record += i == 19 ? "  0" : "  0  0";
    return record;
}

using Owned = std::vector<std::unique_ptr<Vehicle>>;

Owned readAll(FileHandler& handler)
{
    Owned vehicles;
    while (std::unique_ptr<Vehicle> vehicle = handler.readNextVehicle())
        vehicles.push_back(std::move(vehicle));
    return vehicles;
}

}  // namespace

using FileHandlerTest = TrafficFileFixture;

TEST_F(FileHandlerTest, EachFormatWritesBackWhatItRead)
{
    const std::string talvor = talvorRecord(350, 1) + "\n" + talvorRecord(20, 2) + "\n";
    const std::string vork = vorkRecord(35) + "\n" + vorkRecord(350) + "\n";
    const std::string doriv = dorivRecord(350) + "\n" + dorivRecord(20) + "\n";
    {
        TALVORFile talvorFile(writeFile("in.tal", talvor), path("out.tal"));
        VORKFile vorkFile(writeFile("in.vork", vork), path("out.vork"));
        DORIVFile dorivFile(writeFile("in.dor", doriv), path("out.dor"));
        for (FileHandler* handler : std::vector<FileHandler*>{&talvorFile, &vorkFile, &dorivFile})
            for (auto& vehicle : readAll(*handler))
                handler->writeVehicle(vehicle.get());
    }
    std::string expectedTalvor = talvor;
    expectedTalvor.replace(31, 3, " 20").replace(78 + 31, 3, " 20");
    EXPECT_EQ(readFile(path("out.tal")), expectedTalvor);
    std::string expectedVork = vork;
    expectedVork.replace(5, 5, "20005").replace(44 + 5, 5, "20005");
    EXPECT_EQ(readFile(path("out.vork")), expectedVork);
    std::string expectedDoriv = doriv;
    expectedDoriv.replace(32, 3, " 20").replace(153 + 32, 3, " 20");
    EXPECT_EQ(readFile(path("out.dor")), expectedDoriv);
}

TEST_F(FileHandlerTest, TheRawGVWColumnChoosesCarOrTruck)
{
    struct Case
    {
        int carLimit;
        int gvwColumn;
        bool talvorCar;
        bool vorkCar;
    };
    for (const Case& c :
         {Case{35, 34, true, true}, Case{35, 35, false, false}, Case{100, 98, true, true}, Case{100, 99, false, true}})
    {
        CarLimitGuard limit(c.carLimit);
        TALVORFile talvor(writeFile("t", talvorRecord(c.gvwColumn) + "\n"), path("t.out"));
        DORIVFile doriv(writeFile("d", dorivRecord(c.gvwColumn) + "\n"), path("d.out"));
        VORKFile vork(writeFile("v", vorkRecord(c.gvwColumn) + "\n"), path("v.out"));
        for (FileHandler* handler : std::vector<FileHandler*>{&talvor, &doriv, &vork})
        {
            const std::unique_ptr<Vehicle> vehicle = handler->readNextVehicle();
            ASSERT_TRUE(vehicle);
            const bool expectCar = handler == &vork ? c.vorkCar : c.talvorCar;
            EXPECT_EQ(dynamic_cast<Car*>(vehicle.get()) != nullptr, expectCar)
                << "limit " << c.carLimit << ", column " << c.gvwColumn;
            EXPECT_EQ(dynamic_cast<Truck*>(vehicle.get()) != nullptr, !expectCar);
        }
    }
}

TEST_F(FileHandlerTest, PercentReadFollowsTheLines)
{
    const std::string record = talvorRecord(350);
    TALVORFile handler(writeFile("in", record + "\n" + record + "\n" + record + "\n"), path("out"));
    std::vector<int> percents{handler.getPercentRead()};
    for (int i = 0; i < 3; ++i)
    {
        handler.readNextVehicle();
        percents.push_back(handler.getPercentRead());
    }
    EXPECT_EQ(percents, (std::vector<int>{0, 33, 67, 100}));
}

TEST_F(FileHandlerTest, PercentReadNeverPassesAHundredNorDividesByZero)
{
    const std::string record = talvorRecord(350);
    {
        TALVORFile handler(writeFile("one", record), path("out"));
        EXPECT_EQ(handler.getPercentRead(), 0);
        handler.readNextVehicle();
        EXPECT_EQ(handler.getPercentRead(), 100);
    }
    {
        TALVORFile handler(writeFile("two", record + "\n" + record), path("out"));
        EXPECT_EQ(readAll(handler).size(), 2u);
        EXPECT_EQ(handler.getPercentRead(), 100);
    }
    {
        TALVORFile handler(writeFile("empty", ""), path("out"));
        EXPECT_EQ(handler.readNextVehicle(), nullptr);
        EXPECT_EQ(handler.getPercentRead(), 0);
    }
}

TEST_F(FileHandlerTest, AnEmptyLineEndsTheInputForGood)
{
    const std::string record = talvorRecord(350);
    {
        TALVORFile handler(writeFile("first", "\n" + record + "\n"), path("out"));
        EXPECT_EQ(handler.readNextVehicle(), nullptr);
        EXPECT_EQ(handler.readNextVehicle(), nullptr);
    }
    {
        TALVORFile handler(writeFile("middle", record + "\r\n\r\n" + record + "\r\n"), path("out"));
        EXPECT_EQ(readAll(handler).size(), 1u);
        EXPECT_EQ(handler.readNextVehicle(), nullptr);
        EXPECT_EQ(handler.getPercentRead(), 33);
    }
}

TEST_F(FileHandlerTest, EachVehicleKnowsTheLineItWasReadFrom)
{
    const std::string talvor = talvorRecord(350);
    const std::string vork = vorkRecord(35);
    const std::string doriv = dorivRecord(350);
    TALVORFile talvorFile(writeFile("talvor", talvor + "\r\n" + talvor + "\r\n" + talvor), path("out1"));
    VORKFile vorkFile(writeFile("vork", vork + "\n" + vork + "\n" + vork + "\n"), path("out2"));
    DORIVFile dorivFile(writeFile("doriv", doriv + "\n" + doriv + "\n" + doriv + "\n"), path("out3"));
    for (FileHandler* handler : std::vector<FileHandler*>{&talvorFile, &vorkFile, &dorivFile})
    {
        const Owned vehicles = readAll(*handler);
        ASSERT_EQ(vehicles.size(), 3u);
        for (std::size_t i = 0; i < vehicles.size(); ++i)
            EXPECT_EQ(vehicles[i]->inputLine, static_cast<long long>(i + 1));
    }
}

TEST_F(FileHandlerTest, ReadVehiclesPadsWithNullsAfterTheEnd)
{
    const std::string record = talvorRecord(350);
    TALVORFile handler(writeFile("in", record + "\n" + record + "\n" + record + "\n" + record + "\n"), path("out"));
    const std::vector<std::unique_ptr<Vehicle>> vehicles = handler.readVehicles(10);
    ASSERT_EQ(vehicles.size(), 10u);
    for (std::size_t i = 0; i < vehicles.size(); ++i)
        EXPECT_EQ(vehicles[i] != nullptr, i < 4) << i;
}

TEST_F(FileHandlerTest, CarriageReturnsBeforeLineFeedsAreNotPartOfTheRecord)
{
    const std::string record = talvorRecord(350);
    {
        TALVORFile handler(writeFile("in", record + "\r\n" + record.substr(0, 77 - 3) + "\r\n"), path("out"));
        for (auto& vehicle : readAll(handler))
            handler.writeVehicle(vehicle.get());
    }
    const std::string out = readFile(path("out"));
    ASSERT_EQ(out.size(), 2 * 78u);
    EXPECT_EQ(out.find('\r'), std::string::npos);
}

TEST_F(FileHandlerTest, AFileWithCarriageReturnsOnlyReadsAsItsRecords)
{
    const std::string record = talvorRecord(350);
    TALVORFile handler(writeFile("in", record + "\r" + record + "\r" + record + "\r"), path("out"));
    EXPECT_EQ(readAll(handler).size(), 3u);
    EXPECT_EQ(handler.getPercentRead(), 100);
}

TEST_F(FileHandlerTest, RecordsLongerThanAnyFormatAndLongFilesReadWhole)
{
    // Lines that straddle the reader's internal buffer and one far longer than any record.
    std::string content;
    const std::string record = talvorRecord(350);
    for (int i = 0; i < 3000; ++i)
        content += record + "\n";
    content += record + std::string(200000, 'x') + "\n" + record + "\n";
    TALVORFile handler(writeFile("in", content), path("out"));
    const Owned vehicles = readAll(handler);
    ASSERT_EQ(vehicles.size(), 3002u);
    EXPECT_EQ(vehicles[3000]->gvw, vehicles.back()->gvw);
    EXPECT_EQ(handler.getPercentRead(), 100);
}

TEST_F(FileHandlerTest, TheOutputIsEmptiedAtConstruction)
{
    const std::string output = writeFile("out", "old contents\n");
    {
        TALVORFile handler(writeFile("in", talvorRecord(350) + "\n"), output);
        EXPECT_EQ(readFile(output), "");
    }
    EXPECT_EQ(readFile(output), "");
}

TEST_F(FileHandlerTest, MissingFilesGiveNoVehiclesAndWritesWithoutEffect)
{
    TALVORFile handler(path("no such file"), path("no such folder/out"));
    EXPECT_EQ(handler.readNextVehicle(), nullptr);
    EXPECT_EQ(handler.getPercentRead(), 0);
    EXPECT_FALSE(handler.isOutputOpen());
    EXPECT_FALSE(handler.writeFailed());

    Truck truck;
    readTALVOR(truck, talvorRecord(350));
    handler.writeVehicle(&truck);
    handler.writeVehicle(nullptr);
    EXPECT_TRUE(handler.writeFailed());
    EXPECT_FALSE(handler.flushOutput());
}

TEST_F(FileHandlerTest, AnOutputNamingTheInputLeavesTheInputIntact)
{
    const std::string content = talvorRecord(350) + "\n";
    const std::string input = writeFile("in", content);
    TALVORFile handler(input, input);
    EXPECT_FALSE(handler.isOutputOpen());
    EXPECT_EQ(readFile(input), content);
    EXPECT_EQ(readAll(handler).size(), 1u);
}

TEST_F(FileHandlerTest, ADiskFullOutputIsReported)
{
    TALVORFile handler(writeFile("in", talvorRecord(350) + "\n"), writeFile("out", ""));
    ASSERT_TRUE(handler.isOutputOpen());
    const std::unique_ptr<Vehicle> vehicle = handler.readNextVehicle();
    handler.writeVehicle(vehicle.get());
    EXPECT_FALSE(handler.writeFailed()) << "nothing has reached the disk yet";
    const FullDisk full(0);
    EXPECT_FALSE(handler.flushOutput());
    EXPECT_TRUE(handler.writeFailed());
}

TEST_F(FileHandlerTest, WritingLeavesTheVehicleUnchanged)
{
    TALVORFile handler(writeFile("in", talvorRecord(350) + "\n"), path("out"));
    const std::unique_ptr<Vehicle> vehicle = handler.readNextVehicle();
    std::string before;
    writeTALVOR(*vehicle, before);
    handler.writeVehicle(vehicle.get());
    std::string after;
    writeTALVOR(*vehicle, after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(vehicle->axles.size(), 2u);
}
