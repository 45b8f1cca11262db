#include "IDMFixtures.h"

#include <gtest/gtest.h>

#include <cmath>

static std::unique_ptr<Vehicle> inspectedVehicle()
{
    IDM model = workedIDM(3.0);
    model.setV0(100.0);
    auto v = vehicleAt(123.46, 25.0, 12.3, model);
    v->lane = 2;
    v->gap = 5.0;
    v->acceleration = 0.5;
    v->gvw = 250.5;
    v->axleCount = 3;
    v->createAxles();
    const double weights[] = {50.0, 100.0, 100.5};
    const double spacings[] = {3.2, 1.3, 0.0};
    for (int i = 0; i < 3; ++i)
    {
        v->setAxleWeight(i, weights[i]);
        v->setAxleSpacing(i, spacings[i]);
    }
    return v;
}

TEST(VehicleData, InspectionTextByteForByte)
{
    const auto v = inspectedVehicle();
    const std::string expected = "Vehicle Data:\n"
                                 "-----------------------------------\n"
                                 "Direction: \tPositive\n"
                                 "Lane:        \t2\n"
                                 "Position:    \t123.5 m\n"
                                 "Gap:\t     \t 5.0 m\n"
                                 "Velocity:    \t90.0 km/h\n"
                                 "Acceleration:\t0.50 m/s^2\n"
                                 "Desired Vel.:\t100.0 km/h\n"
                                 "-----------------------------------\n"
                                 "IDM T: \t\t1.50 s\n"
                                 "IDM A: \t\t1.00 m/s^2\n"
                                 "IDM B: \t\t2.00 m/s^2\n"
                                 "IDM S0:\t\t2.00 m\n"
                                 "IDM S1:\t\t3.00 m\n"
                                 "IDM V0:\t\t27.8 m/s\n"
                                 "IDM Delta:\t4.0\n"
                                 "IDM Polite:\t0.5\n"
                                 "IDM Bias:\t0.3\n"
                                 "IDM DeltaAth:\t0.2\n"
                                 "-----------------------------------\n"
                                 "GVW:         \t250.5 kN\n"
                                 "Length:      \t12.3 m\n"
                                 "No of Axles: \t3\n"
                                 "Axle 1:\t50.0 kN | 3.2 m\n"
                                 "Axle 2:\t100.0 kN | 1.3 m\n"
                                 "Axle 3:\t100.5 kN";
    EXPECT_EQ(v->getVehicleData(), expected);
}

TEST(VehicleData, NegativeDirectionAndNoAxles)
{
    auto v = vehicleAt(0.0, 0.0);
    v->directionPositive = false;
    v->direction = 2;
    v->lane = 1;
    const std::string text = v->getVehicleData();
    EXPECT_NE(text.find("Direction: \tNegative\n"), std::string::npos);
    const std::string tail = "No of Axles: \t0\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(VehicleData, HugeValuesAreWrittenWhole)
{
    auto v = vehicleAt(0.0, 0.0);
    v->gvw = std::ldexp(1.0, 700);  // exact, 211 digits
    const std::string text = v->getVehicleData();
    const std::string label = "GVW:         \t";
    const auto at = text.find(label);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(text.find(".0 kN\n", at), at + label.size() + 211);
}
