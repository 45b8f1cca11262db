#include "IDMFixtures.h"

#include "config/CConfigData.h"
#include "config/CIDMParameterSet.h"
#include "vehicles/Gradient.h"
#include "vehicles/SegmentRule.h"
#include "vehicles/SpeedLimit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(IDMGradient, FourPercentUphillAndDownhill)
{
    IDM up = workedIDM();
    up.enterGradient(4.0);
    EXPECT_TRUE(up.isGradientActive());
    EXPECT_NEAR(up.getT(), 1.9, 1e-12);
    EXPECT_NEAR(up.getA(), 0.6, 1e-12);
    EXPECT_NEAR(up.getB(), 2.4, 1e-12);
    EXPECT_NEAR(up.getV0(), workedIDM().getV0() - 20.0 * kmhFactor, 1e-9);
    up.leaveGradient();
    EXPECT_FALSE(up.isGradientActive());
    EXPECT_EQ(up.getT(), 1.5);
    EXPECT_EQ(up.getA(), 1.0);
    EXPECT_EQ(up.getB(), 2.0);
    EXPECT_EQ(up.getV0(), workedIDM().getV0());

    IDM down = workedIDM();
    down.enterGradient(-4.0);
    EXPECT_NEAR(down.getT(), 1.9, 1e-12);
    EXPECT_NEAR(down.getA(), 1.4, 1e-12);
    EXPECT_EQ(down.getB(), 2.0);
    EXPECT_EQ(down.getV0(), workedIDM().getV0());
}

TEST(IDMGradient, FloorsOnAccelerationAndSpeed)
{
    IDM steep = workedIDM();
    steep.setV0(30.0);
    steep.enterGradient(12.0);
    EXPECT_EQ(steep.getA(), 0.1);
    EXPECT_EQ(steep.getV0(), 0.1);
}

TEST(IDMGradient, InsideASpeedLimitTheSlowerOfBothApplies)
{
    IDM model = workedIDM();  // v0 30 m/s
    model.enterSpeedLimit(20.0);
    model.enterGradient(4.0);
    EXPECT_EQ(model.getV0(), 20.0);  // 30 m/s less 20 km/h is still faster
    model.leaveGradient();
    model.enterGradient(14.0);  // 70 km/h less than 108 km/h
    EXPECT_NEAR(model.getV0(), workedIDM().getV0() - 70.0 * kmhFactor, 1e-9);
}

TEST(IDMSpeedLimit, SavesAndRestoresOneSlot)
{
    IDM model = workedIDM();
    model.enterSpeedLimit(22.0);
    EXPECT_TRUE(model.isSpeedLimitActive());
    EXPECT_EQ(model.getV0(), 22.0);
    model.leaveSpeedLimit();
    EXPECT_FALSE(model.isSpeedLimitActive());
    EXPECT_EQ(model.getV0(), workedIDM().getV0());

    model.enterSpeedLimit(22.0);
    model.resetDesiredVelocity();
    EXPECT_EQ(model.getV0(), workedIDM().getV0());
    EXPECT_TRUE(model.isSpeedLimitActive());
}

// Leaving a section never entered must not hand the driver the empty saved slots.
TEST(IDMSections, LeavingWithoutEnteringChangesNothing)
{
    IDM model = workedIDM();
    model.leaveSpeedLimit();
    model.leaveGradient();
    EXPECT_EQ(model.getV0(), workedIDM().getV0());
    EXPECT_EQ(model.getA(), 1.0);
    EXPECT_EQ(model.getT(), 1.5);
    model.setVelocity(10.0);
    EXPECT_GT(model.getAcceleration(0.0, 500.0), 0.0);
}

// Nonsense steps in the configuration would make the changes infinite.
TEST(IDMGradient, NonPositiveStepsChangeNothing)
{
    const double headwayStep = theConfigData.gradientHeadwayStep;
    const double speedStep = theConfigData.gradientSpeedStep;
    theConfigData.gradientHeadwayStep = 0.0;
    theConfigData.gradientSpeedStep = 0.0;
    IDM model;
    theConfigData.gradientHeadwayStep = headwayStep;
    theConfigData.gradientSpeedStep = speedStep;
    model.setT(1.5);
    model.setA(1.0);
    model.setB(2.0);
    model.setV0(100.0);
    model.enterGradient(0.0);
    model.enterGradient(5.0);
    EXPECT_EQ(model.getT(), 1.5);
    EXPECT_EQ(model.getV0(), 100.0 * kmhFactor);
}

class SpeedLimitSection : public ::testing::Test
{
protected:
    SpeedLimitSection() : limit(100, 300, 80.0 * kmhFactor, true)
    {
        trucks.setVehicleClass(2);
        trucks.getParamV0().getDistribution().setLocation(100.0);
        limit.setParameterSet(2, &trucks);
    }

    double desiredKmhAfterEntry(double desiredKmh, short vehicleClass = 2)
    {
        IDM model = workedIDM();
        model.setV0(desiredKmh);
        auto v = vehicleAt(100.0, 20.0, 5.0, model);
        v->vehicleClass = vehicleClass;
        limit.enter(*v);
        EXPECT_TRUE(v->idm.isSpeedLimitActive());
        return v->getDesiredVelocity() / kmhFactor;
    }

    CIDMParameterSet trucks;
    SpeedLimit limit;
};

TEST_F(SpeedLimitSection, DriversKeepTheirRatioToTheClass)
{
    EXPECT_NEAR(desiredKmhAfterEntry(120.0), 96.0, 1e-6);
    EXPECT_NEAR(desiredKmhAfterEntry(100.0), 80.0, 1e-6);
    // At or below the limit the desired velocity stays, but the limit is still recorded.
    EXPECT_NEAR(desiredKmhAfterEntry(70.0), 70.0, 1e-6);
}

TEST_F(SpeedLimitSection, ClassSetsAndTheirAbsence)
{
    EXPECT_EQ(limit.getParameterSet(2), &trucks);
    EXPECT_EQ(limit.getParameterSet(0), nullptr);
    CIDMParameterSet cars;
    cars.getParamV0().getDistribution().setLocation(200.0);
    limit.setParameterSet(0, &cars);
    EXPECT_EQ(limit.getParameterSet(7), &cars);
    EXPECT_EQ(limit.getParameterSet(-1), &cars);
    EXPECT_NEAR(desiredKmhAfterEntry(120.0, 9), 48.0, 1e-6);
    // Without a set the driver keeps to the limit.
    limit.setParameterSet(0, nullptr);
    EXPECT_NEAR(desiredKmhAfterEntry(120.0, 0), 80.0, 1e-6);
}

// A class slower than the limit must not speed its drivers up inside it.
TEST_F(SpeedLimitSection, NeverRaisesTheDesiredVelocity)
{
    trucks.getParamV0().getDistribution().setLocation(60.0);
    EXPECT_NEAR(desiredKmhAfterEntry(90.0), 90.0, 1e-6);
    trucks.getParamV0().getDistribution().setLocation(0.0);
    EXPECT_NEAR(desiredKmhAfterEntry(90.0), 80.0, 1e-6);
}

// Logs the rule's calls so that it can be checked without a lane or a driver.
class LoggingSegment : public RoadSegment
{
public:
    LoggingSegment(std::string segmentName, int segmentStart, int segmentEnd, std::string& events)
        : RoadSegment(segmentStart, segmentEnd, true), name(std::move(segmentName)), log(events)
    {
    }
    void enter(Vehicle&) override { log += "+" + name; }
    void leave(Vehicle&) override { log += "-" + name; }

private:
    std::string name;
    std::string& log;
};

class SegmentRule : public ::testing::Test
{
protected:
    std::string applied(double xBefore, double xAfter)
    {
        events.clear();
        applySegmentRule(segments, xBefore, xAfter, vehicle.get());
        return events;
    }
    void add(const char* name, int start, int end)
    {
        owned.push_back(std::make_unique<LoggingSegment>(name, start, end, events));
        segments.push_back(owned.back().get());
    }

    std::string events;
    std::vector<std::unique_ptr<LoggingSegment>> owned;
    std::vector<RoadSegment*> segments;
    std::unique_ptr<Vehicle> vehicle = vehicleAt(0.0, 20.0);
};

TEST_F(SegmentRule, BoundariesAreCrossedOnce)
{
    add("A", 100, 200);
    EXPECT_EQ(applied(80.0, 99.9), "");
    EXPECT_EQ(applied(80.0, 100.0), "+A");   // landing on the start enters
    EXPECT_EQ(applied(100.0, 120.0), "");    // and the next move does not enter again
    EXPECT_EQ(applied(100.0, 100.0), "");    // nor does standing on it
    EXPECT_EQ(applied(180.0, 200.0), "-A");  // landing on the end leaves
    EXPECT_EQ(applied(200.0, 220.0), "");
}

TEST_F(SegmentRule, LeavingOneAndEnteringTheNext)
{
    add("A", 0, 100);
    add("B", 100, 200);
    EXPECT_EQ(applied(90.0, 110.0), "-A+B");
}

TEST_F(SegmentRule, LeavingReappliesACoveringSegment)
{
    add("G", 50, 400);
    add("S", 100, 200);
    EXPECT_EQ(applied(190.0, 210.0), "-S+G");
}

TEST_F(SegmentRule, LeavingTheLastSegmentResetsTheDesiredVelocity)
{
    add("A", 100, 200);
    vehicle->idm.enterSpeedLimit(5.0);
    EXPECT_EQ(applied(190.0, 210.0), "-A");
    EXPECT_EQ(vehicle->getDesiredVelocity(), workedIDM().getV0());
}

TEST_F(SegmentRule, SegmentPassedWithinOneMoveHasNoEffect)
{
    add("A", 100, 120);
    add("Z", 150, 150);
    EXPECT_EQ(applied(90.0, 160.0), "");
}

TEST_F(SegmentRule, VehicleReleasedInsideASegmentEntersOnItsFirstMove)
{
    add("A", 0, 100);
    EXPECT_EQ(applied(0.0, 0.0), "");
    EXPECT_EQ(applied(0.0, 2.0), "+A");
    EXPECT_EQ(applied(2.0, 4.0), "");
}

TEST_F(SegmentRule, NoVehicleNoEffect)
{
    add("A", 0, 100);
    events.clear();
    applySegmentRule(segments, 0.0, 50.0, nullptr);
    EXPECT_EQ(events, "");
}

// A speed limit inside a gradient, both left in turn: nothing outlasts the sections.
TEST(SegmentOverlap, SpeedLimitWithinAGradientLeavesNoLastingChange)
{
    CIDMParameterSet trucks;
    trucks.getParamV0().getDistribution().setLocation(100.0);
    Gradient hill(100, 500, 4.0, true);
    SpeedLimit limit(200, 300, 60.0 * kmhFactor, true);
    for (RoadSegment* segment : {static_cast<RoadSegment*>(&hill), static_cast<RoadSegment*>(&limit)})
        for (int k = 0; k < RoadSegment::classCount; ++k)
            segment->setParameterSet(k, &trucks);
    const std::vector<RoadSegment*> sorted = {&hill, &limit};

    IDM model = workedIDM();
    model.setV0(100.0);
    auto v = vehicleAt(0.0, 20.0, 5.0, model);
    const auto move = [&](double from, double to) { applySegmentRule(sorted, from, to, v.get()); };

    move(90.0, 110.0);
    EXPECT_NEAR(v->idm.getT(), 1.9, 1e-12);
    EXPECT_NEAR(v->getDesiredVelocity() / kmhFactor, 80.0, 1e-6);
    move(190.0, 210.0);
    EXPECT_NEAR(v->getDesiredVelocity() / kmhFactor, 48.0, 1e-6);
    move(290.0, 310.0);
    EXPECT_NEAR(v->idm.getT(), 1.9, 1e-12);
    EXPECT_NEAR(v->idm.getA(), 0.6, 1e-12);
    EXPECT_NEAR(v->getDesiredVelocity() / kmhFactor, 80.0, 1e-6);
    move(490.0, 510.0);
    EXPECT_EQ(v->idm.getT(), 1.5);
    EXPECT_EQ(v->idm.getA(), 1.0);
    EXPECT_EQ(v->idm.getB(), 2.0);
    EXPECT_EQ(v->getDesiredVelocity(), 100.0 * kmhFactor);
    EXPECT_FALSE(v->idm.isGradientActive());
    EXPECT_FALSE(v->idm.isSpeedLimitActive());
}

// The other order: a gradient starting inside a speed limit and ending beyond it.
TEST(SegmentOverlap, GradientStartingInsideASpeedLimit)
{
    CIDMParameterSet trucks;
    trucks.getParamV0().getDistribution().setLocation(100.0);
    SpeedLimit limit(100, 300, 60.0 * kmhFactor, true);
    Gradient hill(200, 500, 4.0, true);
    limit.setParameterSet(0, &trucks);
    const std::vector<RoadSegment*> sorted = {&limit, &hill};

    IDM model = workedIDM();
    model.setV0(100.0);
    auto v = vehicleAt(0.0, 20.0, 5.0, model);
    const auto move = [&](double from, double to) { applySegmentRule(sorted, from, to, v.get()); };

    move(90.0, 110.0);
    move(190.0, 210.0);
    EXPECT_NEAR(v->getDesiredVelocity() / kmhFactor, 60.0, 1e-6);
    move(290.0, 310.0);  // the limit ends: the gradient alone applies
    EXPECT_NEAR(v->idm.getT(), 1.9, 1e-12);
    EXPECT_NEAR(v->idm.getB(), 2.4, 1e-12);
    EXPECT_NEAR(v->getDesiredVelocity() / kmhFactor, 80.0, 1e-6);
    move(490.0, 510.0);
    EXPECT_EQ(v->idm.getT(), 1.5);
    EXPECT_EQ(v->idm.getB(), 2.0);
    EXPECT_EQ(v->getDesiredVelocity(), 100.0 * kmhFactor);
}
