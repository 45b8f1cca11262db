#include "IDMFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>

// The trace switch is read once per process: each case runs in a freshly started child that
// turns it on first, and the whole of the child's stderr must be the expected lines.
class TraceLinesDeathTest : public ::testing::Test
{
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(TraceLinesDeathTest, HardBrakingWritesOneLineAndKeepsTheValue)
{
    EXPECT_EXIT(
        {
            setenv("ROADFLUX_TRACE", "1", 1);
            IDM model = workedIDM();
            model.setVelocity(0.0);
            // Free term 1, interaction -(2 m / 0.4 m)² = -25: -24 m/s².
            const double acc = model.getAcceleration(0.0, 0.4);
            model.setVelocity(20.0);
            model.getAcceleration(0.0, 50.0);  // ordinary braking: no line
            std::exit(acc == 1.0 - 25.0 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "^\\*\\* ACCEL: -24\\.000000\n$");
}

TEST_F(TraceLinesDeathTest, LeavingSectionsNotEntered)
{
    EXPECT_EXIT(
        {
            setenv("ROADFLUX_TRACE", "1", 1);
            IDM model = workedIDM();
            model.leaveSpeedLimit();
            model.leaveGradient();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "^\\*\\*\\*SL: Removed but not in\n\\*\\*\\*Grad: Removed but not in\n$");
}
