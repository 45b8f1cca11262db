// The detectors write the names and header lines of the catalogue of output files, which the
// readers expect: a file whose name or header drifted from it would no longer be read back.

#include "TempFolder.h"
#include "detectors/LaneChangeDetector.h"
#include "detectors/MetricsDetector.h"
#include "outputfiles/FileLayouts.h"
#include "outputfiles/MeasurementFileName.h"

#include <gtest/gtest.h>

namespace {
std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}
}

TEST(CatalogueWriters, PointDetectorsWriteTheCataloguesNamesAndHeaders)
{
    TempFolder folder;
    const std::vector<std::pair<short, std::string>> headers = {
        {Detector::kindFlowDensity, joined(FileLayouts::flowDensityHeader(3))},
        {Detector::kindHeadway, joined(FileLayouts::headwayHeader(3))},
        {Detector::kindComposition, joined(FileLayouts::compositionHeader())}};
    for (const auto& [kind, header] : headers)
    {
        // Direction 2 at 700 m of its own direction is road x 1300 on a 2000 m road.
        std::string name;
        {
            MetricsDetector detector(folder.withSlash(), kind, false, 3, Detector::vehicleTypesTrucks, 60, 700, 2000);
            name = detector.fileName();
            detector.finish();
        }
        const std::optional<MeasurementFileName> parsed = MeasurementFileName::parse(name);
        ASSERT_TRUE(parsed) << name;
        EXPECT_EQ(parsed->vehicleTypes, "Trucks");
        EXPECT_FALSE(parsed->directionPositive);
        EXPECT_EQ(parsed->location, 1300);
        EXPECT_EQ(folder.read(name), header) << name;
    }
}

TEST(CatalogueWriters, LaneChangeDetectorsWriteTheCataloguesNamesAndHeaders)
{
    TempFolder folder;
    {
        LaneChangeDetector detector(folder.withSlash(), 60.0, 500, 1200, true, Detector::vehicleTypesAll);
        detector.finish();
        EXPECT_EQ(detector.getBinLocations(), (std::vector<int>{0, 500, 1000, 1200}));
    }
    const std::vector<MeasurementFileName> names = laneChangeFiles(Detector::vehicleTypesAll, true);
    ASSERT_EQ(names.size(), 4u);
    const std::vector<std::string> headers = {joined(FileLayouts::laneChangeEventsHeader()),
                                              joined(FileLayouts::laneChangeCompositionHeader()),
                                              joined(FileLayouts::laneChangeSpaceTimeHeader()),
                                              joined(FileLayouts::laneChangeRatesHeader({0, 500, 1000, 1200}))};
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(folder.read(names[i].text()), headers[i]) << names[i].text();
    EXPECT_EQ(LaneChangeDetector::fileNamesFor(Detector::vehicleTypesCars, false),
              (std::vector<std::string>{"LC_All_Car_Neg.csv", "LC_ST_Car_Neg.csv", "LC_Rate_Car_Neg.csv"}));
}
