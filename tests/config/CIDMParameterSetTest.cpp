#include "config/CIDMParameterSet.h"

#include <gtest/gtest.h>

namespace {
void makeConstant(CParameter& parameter, double value)
{
    parameter.getDistribution().setType(CDistribution::constant);
    parameter.getDistribution().setLocation(value);
}
}

TEST(CIDMParameterSetTest, NewSetHasTheDefaultParametersInOrder)
{
    const CIDMParameterSet set;
    EXPECT_EQ(set.getVehicleClass(), 0);
    const CParameter* members[] = {
        &set.getParamT(),  &set.getParamA(),     &set.getParamB(), &set.getParamS0(),         &set.getParamS1(),
        &set.getParamV0(), &set.getParamDelta(), &set.getParamP(), &set.getParamDeltaAbias(), &set.getParamDeltaAth()};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(members[i]->getId(), 300 + i);
    EXPECT_EQ(set.getParamDelta().getDistribution().getType(), CDistribution::constant);
    EXPECT_EQ(set.getParamDelta().getDistribution().getLocation(), 4.0);
    EXPECT_EQ(set.getParamV0().getDistribution().getType(), CDistribution::normal);
    EXPECT_EQ(set.getParamV0().getDistribution().getLocation(), 80.0);
    EXPECT_EQ(set.getParamV0().getDistribution().getScale(), 3.0);
    EXPECT_EQ(CIDMParameterSet(3).getVehicleClass(), 3);
}

TEST(CIDMParameterSetTest, AssignCopiesParametersAndClass)
{
    CIDMParameterSet source(4);
    makeConstant(source.getParamA(), 0.5);
    CIDMParameterSet target(1);
    target.assign(source);
    EXPECT_EQ(target.getVehicleClass(), 4);
    EXPECT_EQ(target.getParamA().getDistribution().getType(), CDistribution::constant);
    EXPECT_EQ(target.getParamA().getDistribution().getLocation(), 0.5);
    const CIDMParameterSet copy(source);
    EXPECT_EQ(copy.getVehicleClass(), 4);
}
