#include "vehicles/Car.h"
#include "vehicles/Truck.h"
#include "vehicles/VehicleClass.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <stdexcept>

// A record with the given gross weight (kN) and axle spacings (m), one per axle.
static short classOf(double gvw, std::initializer_list<double> spacings)
{
    Truck vehicle;
    vehicle.gvw = gvw;
    vehicle.axleCount = static_cast<int>(spacings.size());
    EXPECT_EQ(vehicle.createAxles(), vehicle.axleCount);
    int i = 0;
    for (double spacing : spacings)
        vehicle.setAxleSpacing(i++, spacing);
    return vehicle.classify();
}

TEST(VehicleClassification, ExamplesWithDefaultLimits)
{
    EXPECT_EQ(classOf(20.0, {2.5, 0.0}), classCar);
    EXPECT_EQ(classOf(400.0, {3.2, 1.3, 6.0, 1.3, 0.0}), classLargeTruck);
    EXPECT_EQ(classOf(400.0, {1.6, 1.5, 1.6, 1.5, 0.0}), classCrane);
    EXPECT_EQ(classOf(300.0, {6.0, 1.3, 1.3, 0.0}), classCrane);
    EXPECT_EQ(classOf(300.0, {3.0, 8.0, 1.3, 0.0}), classLowLoader);
    EXPECT_EQ(classOf(150.0, {4.0, 4.0, 0.0}), classSmallTruck);
    EXPECT_EQ(classOf(150.0, {4.0, 1.3, 0.0}), classCrane);
}

TEST(VehicleClassification, PeakSpacingIsTheLastRiseNotTheLargest)
{
    // Rises to 9.0 and later to 2.0: the peak is 2.0, so no low-loader; the mean of 2.6 m
    // is too long for a crane.
    EXPECT_EQ(classOf(400.0, {1.0, 9.0, 1.0, 2.0, 0.0}), classLargeTruck);
    // The first spacing is never a rise.
    EXPECT_EQ(classOf(400.0, {9.0, 1.0, 1.0, 1.0, 0.0}), classCrane);
}

TEST(VehicleClassification, Boundaries)
{
    // The car test is strict: exactly at the limit is a small truck.
    EXPECT_EQ(classOf(35 * 0.981, {2.5, 0.0}), classSmallTruck);
    // A light vehicle needs exactly two axles to be a car, whatever object holds it.
    Car light;
    light.gvw = 10.0;
    light.axleCount = 3;
    light.createAxles();
    light.setAxleSpacing(0, 4.0);
    light.setAxleSpacing(1, 4.0);
    EXPECT_EQ(light.getClass(), classCar);
    EXPECT_EQ(light.classify(), classSmallTruck);
    // Two axles are never a crane or a low-loader.
    EXPECT_EQ(classOf(200.0, {9.0, 0.0}), classSmallTruck);
    EXPECT_EQ(classOf(200.0, {0.5, 0.0}), classSmallTruck);
}

TEST(VehicleClassification, RecordsWithoutAxlesAreClassifiedWithoutSpacings)
{
    Truck none;
    none.gvw = 100.0;
    EXPECT_EQ(none.createAxles(), 0);
    EXPECT_EQ(none.classify(), classSmallTruck);

    // An axle count the list does not hold must not read beyond it.
    Truck mismatched;
    mismatched.gvw = 100.0;
    mismatched.axleCount = 6;
    EXPECT_EQ(mismatched.classify(), classLargeTruck);

    Truck negative;
    negative.axleCount = -2;
    EXPECT_EQ(negative.createAxles(), 0);
    EXPECT_TRUE(negative.axles.empty());
}

TEST(VehicleAxles, AccessOutsideTheListThrows)
{
    Truck vehicle;
    vehicle.axleCount = 2;
    vehicle.createAxles();
    vehicle.setAxleWeight(1, 55.5);
    vehicle.setAxleSpacing(0, 3.1);
    EXPECT_EQ(vehicle.getAxleWeight(1), 55.5);
    EXPECT_EQ(vehicle.getAxleSpacing(0), 3.1);
    EXPECT_EQ(vehicle.getAxleWeight(0), 0.0);
    EXPECT_THROW(vehicle.getAxleWeight(2), std::out_of_range);
    EXPECT_THROW(vehicle.setAxleSpacing(-1, 1.0), std::out_of_range);
}
