#include "trafficfiles/FixedColumns.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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

TEST(AppendColumn, RightAlignsAndWritesOverflowingValuesWhole)
{
    std::string out = "|";
    appendColumn(out, 5, 3, ' ');
    appendColumn(out, 5, 3, '0');
    appendColumn(out, -5, 4, '0');
    appendColumn(out, -5, 4, ' ');
    appendColumn(out, 12345, 3, ' ');
    appendColumn(out, 0, 1, '0');
    EXPECT_EQ(out, "|  5005-005  -5123450");
}

TEST(AppendGeneralColumn, PrintsLikePercentGWithZeroFill)
{
    std::string out;
    appendGeneralColumn(out, 35.0, 4, '0');
    out += '|';
    appendGeneralColumn(out, 34.335, 4, '0');
    out += '|';
    appendGeneralColumn(out, 1234567.0, 4, '0');
    out += '|';
    appendGeneralColumn(out, -3.0, 4, '0');
    out += '|';
    appendGeneralColumn(out, std::numeric_limits<double>::infinity(), 4, '0');
    out += '|';
    appendGeneralColumn(out, 0.0001, 4, '0');
    EXPECT_EQ(out, "0035|34.335|1.23457e+06|-003| inf|0.0001");
}
