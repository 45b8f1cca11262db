// The runner's release order: the option, the study's options file beside the study (which the
// option overrides and the run does not write over), and the summary's words about it.

#include "cli/CliHarness.h"
#include "cli/RunSummary.h"
#include "document/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {
bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// A study of a 2 + 1 lane road and five minutes of traffic dense enough to hold lanes up.
class ReleaseOrderRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(runConfigured({"generate", folder.file("traffic.txt"), "--duration", "5m", "--flow", "1800",
                                 "--lanes1", "2", "--lanes2", "1", "--seed", "9"})
                      .status,
                  0);
        const auto made =
            runConfigured({"new", study, "--input", folder.file("traffic.txt"), "--output", folder.file("output.txt"),
                           "--metrics", folder.file("metrics"), "--no-detectors"});
        ASSERT_EQ(made.status, 0) << made.err;
    }

    CliResult run(std::vector<std::string> extra = {})
    {
        std::vector<std::string> args{"run", study, "--seed", "3"};
        args.insert(args.end(), extra.begin(), extra.end());
        return runConfigured(args);
    }

    TemporaryFolder folder;
    std::string study = folder.file("study.rfx");
    std::string options = folder.file("study.options");
};
}

TEST_F(ReleaseOrderRun, TheOptionChoosesTheOrderAndTheSummaryNamesIt)
{
    const CliResult byFile = run();
    ASSERT_EQ(byFile.status, 0) << byFile.err;
    EXPECT_TRUE(contains(byFile.out, "\nRelease order:       file\n")) << byFile.out;
    const std::string fileOutput = TemporaryFolder::read(folder.file("output.txt"));

    const CliResult perLane = run({"--release-order", "per-lane"});
    ASSERT_EQ(perLane.status, 0) << perLane.err;
    EXPECT_TRUE(contains(perLane.out, "\nRelease order:       per-lane\n")) << perLane.out;
    // Some lane of this traffic is held up in file order, so the two runs part.
    EXPECT_TRUE(TemporaryFolder::read(folder.file("output.txt")) != fileOutput);

    const CliResult wrong = run({"--release-order", "fast"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_TRUE(contains(wrong.err, "--release-order")) << wrong.err;
    EXPECT_TRUE(contains(wrong.err, "\"fast\" is not a release order; it is file or per-lane")) << wrong.err;
}

TEST_F(ReleaseOrderRun, TheStudysOptionsFileIsReadAndTheOptionOverridesIt)
{
    folder.write("study.options", "release-order = per-lane\n");
    const CliResult fromFile = run();
    ASSERT_EQ(fromFile.status, 0) << fromFile.err;
    EXPECT_TRUE(contains(fromFile.out, "Release order:       per-lane\n")) << fromFile.out;

    const CliResult overridden = run({"--release-order", "file"});
    ASSERT_EQ(overridden.status, 0) << overridden.err;
    EXPECT_TRUE(contains(overridden.out, "Release order:       file\n")) << overridden.out;

    // The run reads the file: it may not write its output into it.
    const CliResult intoOptions = run({"--output", options});
    EXPECT_EQ(intoOptions.status, 1);
    EXPECT_EQ(TemporaryFolder::read(options), "release-order = per-lane\n");
}

TEST_F(ReleaseOrderRun, ABadOptionsFileRefusesTheRunNamingTheLine)
{
    folder.write("study.options", "# hand-made\nrelease-order = lanes\n");
    const CliResult refused = run({"--release-order", "per-lane"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(contains(refused.err, options + ": line 2: release-order: \"lanes\" is not a release order; it is "
                                                "file or per-lane"))
        << refused.err;
    EXPECT_FALSE(std::filesystem::exists(folder.file("output.txt")));
}

TEST(ReleaseOrderSummary, SaysWhenReleaseDelaysDominateAndWhatToTry)
{
    const auto printed = [](double meanDelay, ReleaseOrder order) {
        RunStatistics statistics;
        statistics.releaseDelays.released = 10;
        statistics.releaseDelays.meanSeconds = meanDelay;
        RunSummary summary(statistics, 1.0, "out.txt", "metrics");
        summary.setReleaseOrder(order);
        std::ostringstream out;
        summary.print(out);
        return out.str();
    };
    EXPECT_FALSE(contains(printed(10.0, ReleaseOrder::file), "dominate"));
    const std::string file = printed(10.5, ReleaseOrder::file);
    EXPECT_TRUE(contains(file, "Release delays dominate this run")) << file;
    EXPECT_TRUE(contains(file, "--release-order per-lane")) << file;
    const std::string perLane = printed(10.5, ReleaseOrder::perLane);
    EXPECT_TRUE(contains(perLane, "Release delays dominate this run even per lane")) << perLane;
    EXPECT_FALSE(contains(perLane, "--release-order")) << perLane;
}
