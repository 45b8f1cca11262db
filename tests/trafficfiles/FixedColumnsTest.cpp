#include "trafficfiles/FixedColumns.h"
#include "trafficfiles/ColumnWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

TEST(ReadColumn, FollowsAtoiOnTheColumnAlone)
{
    EXPECT_EQ(readColumn("  42xx", 0, 4), 42);
    EXPECT_EQ(readColumn("0042", 0, 4), 42);
    EXPECT_EQ(readColumn(" -7 ", 0, 4), -7);
    EXPECT_EQ(readColumn("+15", 0, 3), 15);
    EXPECT_EQ(readColumn("\t 9", 0, 3), 9);
    EXPECT_EQ(readColumn("1 2", 0, 3), 1);
    EXPECT_EQ(readColumn("  - 5", 0, 5), 0);
    EXPECT_EQ(readColumn("abc", 0, 3), 0);
    EXPECT_EQ(readColumn("    ", 0, 4), 0);
    // The number stops at the column's end, not at the next non-digit.
    EXPECT_EQ(readColumn("123456", 1, 3), 234);
}

TEST(ReadColumn, ColumnsPastTheLineReadWhatIsThereOrZero)
{
    EXPECT_EQ(readColumn("12345", 3, 4), 45);
    EXPECT_EQ(readColumn("12345", 5, 2), 0);
    EXPECT_EQ(readColumn("12345", 500, 2), 0);
    EXPECT_EQ(readColumn("", 0, 4), 0);
}

TEST(RoundHalfUp, AddsHalfAndTruncatesTowardZero)
{
    EXPECT_EQ(roundHalfUp(2.5), 3);
    EXPECT_EQ(roundHalfUp(2.4999), 2);
    EXPECT_EQ(roundHalfUp(-0.7), 0);
    EXPECT_EQ(roundHalfUp(-1.7), -1);
}

TEST(RoundHalfUp, ValuesBeyondAnIntAreClampedAndNaNIsZero)
{
    EXPECT_EQ(roundHalfUp(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(roundHalfUp(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(roundHalfUp(std::numeric_limits<double>::infinity()), std::numeric_limits<int>::max());
    EXPECT_EQ(roundHalfUp(std::nan("")), 0);
}

TEST(ColumnWriter, RightAlignsAndWritesOverflowingValuesWhole)
{
    std::string out = "previous text that is longer than the new one";
    {
        ColumnWriter blanks(out, 4, ' ');
        blanks.integer(5, 3);
        blanks.integer(-5, 4);
        blanks.integer(12345, 3);
        blanks.integer(std::numeric_limits<long long>::min(), 2);
    }
    EXPECT_EQ(out, "  5  -512345-9223372036854775808");
    {
        ColumnWriter zeros(out, 3, '0');
        zeros.integer(5, 3);
        zeros.integer(-5, 4);
        zeros.integer(0, 1);
    }
    EXPECT_EQ(out, "005-0050");
}

TEST(ColumnWriter, MoreColumnsThanAnnouncedStillFit)
{
    std::string out;
    {
        ColumnWriter columns(out, 1, ' ');
        for (int i = 0; i < 100; ++i)
            columns.integer(std::numeric_limits<long long>::max(), 2);
    }
    EXPECT_EQ(out.size(), 1900u);
}

TEST(ColumnWriter, RealsPrintLikePercentGWithZeroFill)
{
    std::string out;
    {
        ColumnWriter columns(out, 7, '0');
        for (double value : {35.0, 34.335, 1234567.0, -3.0, 0.0001, std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()})
            columns.general(value, 4);
    }
    // clang-format off
    EXPECT_EQ(out, "0035" "34.335" "1.23457e+06" "-003" "0.0001" " inf" "-inf");
    // clang-format on
}
