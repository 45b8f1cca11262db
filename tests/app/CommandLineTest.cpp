// The desktop program's command line, as the menu entry and the manual page use it.

#include "app/CCommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLine, ReadsOptionsInAnyOrderAndTheFirstOtherArgumentAsTheStudy)
{
    const CCommandLine menu = CCommandLine::parse({"--from-menu", "/home/u/a study.rfx", "second.rfx"});
    EXPECT_TRUE(menu.fromMenu);
    EXPECT_EQ(menu.study, "/home/u/a study.rfx");
    EXPECT_FALSE(menu.runAtStart || menu.helpWanted || menu.versionWanted);

    const CCommandLine run = CCommandLine::parse({"--time-warp", "50", "s.rfx", "--run", "--results"});
    EXPECT_TRUE(run.runAtStart);
    EXPECT_TRUE(run.showResults);
    EXPECT_FALSE(menu.showResults);
    EXPECT_DOUBLE_EQ(run.timeWarp, 50.0);
    EXPECT_EQ(run.study, "s.rfx");
    EXPECT_FALSE(run.fromMenu);

    EXPECT_TRUE(CCommandLine::parse({"-h"}).helpWanted);
    EXPECT_TRUE(CCommandLine::parse({"s.rfx", "--help"}).helpWanted);
    EXPECT_TRUE(CCommandLine::parse({"--version"}).versionWanted);
}

// The manual page is made from the help text: an option missing there is missing from the page.
TEST(CommandLine, HelpNamesEveryOptionAndVersionReadsAsHelp2manExpects)
{
    const QString help = CCommandLine::helpText();
    EXPECT_TRUE(help.startsWith("Usage: roadflux "));
    for (const char* option : {"--run", "--time-warp N", "--results", "--from-menu", "-h, --help", "--version"})
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
    EXPECT_EQ(CCommandLine::versionText("1.2.3"), "roadflux 1.2.3\n");
}
