#include "config/FigureText.h"

#include <gtest/gtest.h>

TEST(FigureText, RoundsATieToTheEvenDigitEverywhere)
{
    // 1295.625 is exact in binary: one rule decides it, and the comparison's page and its CSV
    // files print the same digits.
    EXPECT_EQ(figureText(1295.625), "1295.62");
    EXPECT_EQ(figureText(0.125, 2), "0.12");
    EXPECT_EQ(figureText(0.375, 2), "0.38");
    EXPECT_EQ(figureText(2.5, 1), "2");
    EXPECT_EQ(figureText(1e6), "1e+06");
    EXPECT_EQ(figureText(-0.000123456789), "-0.000123457");
    EXPECT_EQ(figureText(3.0, 0), "3");
}
