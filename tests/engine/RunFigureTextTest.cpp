// The words of the release-delay and minimum-gap figures, which the runner's summary, the
// trajectories' side file and the desktop program's message share.

#include "engine/RunFigureText.h"

#include <gtest/gtest.h>

TEST(RunFigureText, SaysWhatTheFiguresAreAndWhenThereAreNone)
{
    ReleaseDelayFigures delays;
    EXPECT_EQ(releaseDelayText(delays), "no vehicle was released");
    delays.released = 2;
    delays.meanSeconds = 0.7;
    delays.percentile95Seconds = 1.4;
    delays.maximumSeconds = 1.4;
    EXPECT_EQ(releaseDelayText(delays),
              "mean 0.70, 95th percentile 1.40, maximum 1.40; 0 vehicles waited more than 10 s");
    delays.waitedOverTenSeconds = 1;
    EXPECT_EQ(releaseDelayText(delays),
              "mean 0.70, 95th percentile 1.40, maximum 1.40; 1 vehicle waited more than 10 s");

    GapFigures gaps;
    EXPECT_EQ(minimumGapText(gaps), "none: no vehicle followed another");
    gaps.minimumGap = -0.256;
    gaps.nonPositiveGaps = 1;
    EXPECT_EQ(minimumGapText(gaps), "-0.26; 1 vehicle-step with a gap of 0 m or less");

    EXPECT_EQ(summaryLine(releaseDelayLabel, "x"), "Release delay (s):   x\n");
    EXPECT_EQ(summaryLine(minimumGapLabel, "y"), "Minimum gap (m):     y\n");
}
