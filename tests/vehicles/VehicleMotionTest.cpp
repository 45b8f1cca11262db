#include "IDMFixtures.h"

#include "vehicles/Car.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(VehicleMotion, TrapezoidalStep)
{
    auto v = vehicleAt(100.0, 10.0);
    v->integrate(0.5, 2.0);
    EXPECT_DOUBLE_EQ(v->getVelocity(), 11.0);
    EXPECT_DOUBLE_EQ(v->getPosition(), 100.0 + 0.5 * (10.0 + 11.0) * 0.5);
    EXPECT_EQ(v->getRoadX(), v->getPosition());
    EXPECT_EQ(v->getAcceleration(), 2.0);
}

TEST(VehicleMotion, VelocityIsFlooredButAccelerationIsNot)
{
    auto v = vehicleAt(100.0, 4.0);
    v->integrate(1.0, -30.0);
    EXPECT_EQ(v->getVelocity(), 0.0);
    EXPECT_DOUBLE_EQ(v->getPosition(), 102.0);
    EXPECT_EQ(v->getAcceleration(), -30.0);
    v->integrate(1.0, -5.0);
    EXPECT_EQ(v->getVelocity(), 0.0);
    EXPECT_DOUBLE_EQ(v->getPosition(), 102.0);
}

TEST(VehicleMotion, FreeVehicleDrivesTowardsTheVirtualObstacle)
{
    auto v = vehicleAt(0.0, 0.0);
    v->moveFree(0.1);
    EXPECT_NEAR(v->getAcceleration(), 1.0, 1e-5);
    EXPECT_EQ(v->getGap(), 0.0);

    // Near the obstacle, 1000 m beyond the 5000 m road, it brakes.
    auto late = vehicleAt(5900.0, 25.0);
    IDM reference = workedIDM();
    reference.setVelocity(25.0);
    EXPECT_EQ(late->accelerationFree(), reference.getAcceleration(25.0, 6000.0 - 5900.0));
    late->moveFree(0.1);
    EXPECT_LT(late->getAcceleration(), 0.0);
}

TEST(VehicleMotion, FollowerUsesTheMovedLeaderAndRecordsTheGap)
{
    auto leader = vehicleAt(60.0, 20.0, 10.0);
    auto follower = vehicleAt(0.0, 20.0);
    IDM reference = workedIDM();
    reference.setVelocity(20.0);
    const double expected = reference.getAcceleration(0.0, 50.0);
    EXPECT_DOUBLE_EQ(follower->accelerationBehind(*leader), expected);
    follower->moveBehind(0.5, *leader);
    EXPECT_EQ(follower->getAcceleration(), expected);
    EXPECT_DOUBLE_EQ(follower->getGap(), 60.0 - 10.0 - follower->getPosition());
}

TEST(VehicleMotion, OverlappingLeaderKeepsTheStateFinite)
{
    auto leader = vehicleAt(10.0, 0.0, 12.0);
    auto follower = vehicleAt(5.0, 15.0);
    follower->moveBehind(0.1, *leader);
    EXPECT_TRUE(std::isfinite(follower->getAcceleration()));
    EXPECT_EQ(follower->getVelocity(), 0.0);
    EXPECT_TRUE(std::isfinite(follower->getPosition()));
}

TEST(VehicleMotion, LaneChangeClock)
{
    auto v = vehicleAt(0.0, 10.0);
    EXPECT_FALSE(v->wantsLaneChange());
    for (int step = 0; step < 3; ++step)
        v->moveFree(0.5);
    EXPECT_FALSE(v->wantsLaneChange());
    v->moveFree(0.5);  // 2.0 s reaches the 1.6 s interval
    EXPECT_TRUE(v->wantsLaneChange());
    EXPECT_NEAR(v->laneChangeClock, 0.4, 1e-12);
    v->setWantsLaneChange(false);
    auto leader = vehicleAt(500.0, 10.0);
    for (int step = 0; step < 2; ++step)
        v->moveBehind(0.5, *leader);
    EXPECT_FALSE(v->wantsLaneChange());
    v->moveBehind(0.5, *leader);  // 0.4 + 1.5 s
    EXPECT_TRUE(v->wantsLaneChange());
}

TEST(VehicleSetup, ConstructionAndDriverModel)
{
    Car car;
    EXPECT_EQ(car.getClass(), 0);
    EXPECT_EQ(car.getAcceleration(), 0.0);
    EXPECT_FALSE(car.wantsLaneChange());
    EXPECT_EQ(car.getGap(), 0.0);
    // Usable before a model is drawn: the default model has no desired velocity.
    EXPECT_EQ(car.getDesiredVelocity(), 0.0);
    EXPECT_EQ(car.getDriverModel(), &car.idm);

    car.setDriverModel(workedIDM());
    EXPECT_EQ(car.getDriverModel(), &car.idm);
    EXPECT_DOUBLE_EQ(car.getDesiredVelocity(), workedIDM().getV0());
}

TEST(VehicleSetup, LaneInOwnDirection)
{
    Car car;
    car.setLaneCount(5);
    car.setLane(2);
    EXPECT_EQ(car.getLaneInDirection(), 2);
    car.direction = 2;
    car.directionPositive = false;
    car.setLane(5);
    EXPECT_EQ(car.getLaneInDirection(), 1);
    car.setLane(4);
    EXPECT_EQ(car.getLaneInDirection(), 2);
}

TEST(VehicleMotion, ObstacleTooNearTheEndFallsBackToTheDefault)
{
    // An obstacle closer than the removal point would hold every front vehicle on the road.
    EXPECT_EQ(Vehicle::usableObstacleDistance(0), 1000);
    EXPECT_EQ(Vehicle::usableObstacleDistance(-50), 1000);
    EXPECT_EQ(Vehicle::usableObstacleDistance(99), 1000);
    EXPECT_EQ(Vehicle::usableObstacleDistance(100), 100);
    EXPECT_EQ(Vehicle::usableObstacleDistance(2500), 2500);
}
