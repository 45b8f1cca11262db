#include "measurements/GumbelFigures.h"

#include <gtest/gtest.h>

TEST(GumbelFigures, RoundsEachFigureToTheDigitsItsUncertaintyLeaves)
{
    EXPECT_EQ(roundedText(21749.6, 4000.0), "21,700");
    EXPECT_EQ(roundedText(6234.96, 372.0), "6,230");
    EXPECT_EQ(roundedText(396.675, 16.2), "397");
    EXPECT_EQ(roundedText(0.123456, 0.004), "0.1235");
    EXPECT_EQ(roundedText(-1234567.0, 20000.0), "-1,235,000");
    // Without an uncertainty: four significant digits, no trailing zeros.
    EXPECT_EQ(roundedText(9255.95, 0.0), "9,256");
    EXPECT_EQ(roundedText(7.2e7, 0.0), "72,000,000");
    EXPECT_EQ(roundedText(2.0, 0.0), "2");
    EXPECT_EQ(roundedText(468.388, 0.0), "468.4");
}

TEST(GumbelFigures, GiveTheReturnLevelWithItsIntervalAndWarnFarBeyondTheData)
{
    const std::vector<double> maxima = {5660.66, 6466.94, 7668.17, 9255.95, 6100.0, 5740.91};
    const GumbelFigures far = GumbelFigures::of(maxima, 7.2e7);
    ASSERT_TRUE(far.fitted);
    EXPECT_EQ(far.blocks, 6u);
    EXPECT_GT(far.scaleError, 0.0);
    EXPECT_LT(far.low, far.level);
    EXPECT_GT(far.high, far.level);
    // A 1000-year level from six 5-minute maxima: twelve million times the span observed.
    EXPECT_TRUE(far.farBeyondTheData());
    EXPECT_NE(far.warning().find("72 million intervals, 12 million times the 6 observed"), std::string::npos)
        << far.warning();
    // The level is printed to the digits of its standard error, not to six.
    EXPECT_EQ(far.levelText(), roundedText(far.level, far.levelError));
    EXPECT_LE(far.levelText().size(), 7u);

    const GumbelFigures near = GumbelFigures::of(maxima, 30.0);
    ASSERT_TRUE(near.fitted);
    EXPECT_TRUE(near.warning().empty());
    EXPECT_LT(near.level, far.level);

    const GumbelFigures few = GumbelFigures::of({1.0, 2.0, 3.0}, 100.0);
    EXPECT_FALSE(few.fitted);
    EXPECT_NE(few.noFit.find("at least 5"), std::string::npos) << few.noFit;
    EXPECT_TRUE(few.warning().empty());
}
