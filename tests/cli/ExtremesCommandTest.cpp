#include "cli/CliHarness.h"
#include "extremes/PortPirie.h"

#include <gmock/gmock.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

using ::testing::HasSubstr;

namespace {

class ExtremesCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = std::filesystem::temp_directory_path() / ("roadflux-extremes-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(root);
    }
    void TearDown() override { std::filesystem::remove_all(root); }
    std::string path(const std::string& name) const { return (root / name).string(); }

    // A run with one daily interval row per value of each bridge, from day `firstDay` on.
    void writeRun(const std::string& name, const std::map<std::string, std::vector<double>>& bridges,
                  int firstDay = 0) const
    {
        std::filesystem::create_directories(root / name / "metrics");
        for (const auto& [bridge, maxima] : bridges)
        {
            std::ofstream file(root / name / "metrics" / ("LE_" + bridge + ".csv"));
            file << "interval,end_time_s,maximum,time_of_maximum_s,minimum,time_of_minimum_s,vehicles,duration_s\n";
            for (std::size_t i = 0; i < maxima.size(); ++i)
            {
                const double end = (firstDay + static_cast<double>(i) + 1.0) * 86400.0;
                char row[200];
                std::snprintf(row, sizeof row, "%zu,%.2f,%.2f,%.2f,0,%.2f,12,86400\n", i + 1, end, maxima[i],
                              end - 40000.0, end - 1000.0);
                file << row;
            }
        }
    }

    static std::string read(const std::string& file)
    {
        std::ifstream in(file);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // The value cell of the CSV row that starts with `prefix`.
    static double valueOf(const std::string& csv, const std::string& prefix, int column = 10)
    {
        std::istringstream lines(csv);
        for (std::string line; std::getline(lines, line);)
            if (line.rfind(prefix, 0) == 0)
            {
                std::istringstream cells(line);
                std::string cell;
                for (int c = 0; c <= column; ++c)
                    std::getline(cells, cell, ',');
                return std::stod(cell);
            }
        ADD_FAILURE() << "no row " << prefix;
        return 0.0;
    }

    std::filesystem::path root;
};
}

TEST_F(ExtremesCommandTest, FitsDailyMaximaToTheReferenceFiguresAcrossRuns)
{
    // The 65 days split over two runs, given in reverse order.
    writeRun("a", {{"Deck", std::vector<double>(portPirie.begin(), portPirie.begin() + 30)}});
    writeRun("b", {{"Deck", std::vector<double>(portPirie.begin() + 30, portPirie.end())}}, 30);
    const CliResult result = runCli({"extremes", path("b"), path("a"), "--return-blocks", "100", "--csv", path("out")});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.out, HasSubstr("Bridge Deck: 65 whole days from 2 runs in 1 series; 0 partial days left out"));
    EXPECT_THAT(result.out, HasSubstr("Gumbel  3.86944 (0.0255)"));
    EXPECT_THAT(result.out, HasSubstr("deviance 0.2428, p-value 0.622 (65 days): the Gumbel is not rejected"));

    const std::string csv = read(path("out/extremes_Deck.csv"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 65 + 8 + 2 + 2);
    EXPECT_NEAR(valueOf(csv, "fit,,,,,,Gumbel,location"), 3.86944579, 5e-5);
    EXPECT_NEAR(valueOf(csv, "fit,,,,,,Gumbel,scale"), 0.19489081, 5e-5);
    EXPECT_NEAR(valueOf(csv, "fit,,,,,,GEV,location"), 3.87475133, 5e-5);
    EXPECT_NEAR(valueOf(csv, "fit,,,,,,GEV,shape"), -0.05011658, 5e-4);
    EXPECT_NEAR(valueOf(csv, "fit,,,,,,GEV,shape", 11), 0.09825585, 3e-4);
    EXPECT_NEAR(valueOf(csv, "likelihood_ratio,,,,,,Gumbel against GEV,p_value"), 0.62222, 1e-5);
    // The 100-day level of the GEV with its profile-likelihood interval.
    const std::string gevLevel = "return_level,,,,,,GEV,level,";
    EXPECT_NEAR(valueOf(csv, gevLevel), 4.68843583, 1e-4);
    EXPECT_NEAR(valueOf(csv, gevLevel, 12), 4.490655, 1e-3);
    EXPECT_NEAR(valueOf(csv, gevLevel, 13), 5.260706, 1e-3);
    EXPECT_NEAR(valueOf(csv, gevLevel, 9), 100.0, 1e-9);
    // Each block with its day and the time of its maximum.
    EXPECT_THAT(csv, HasSubstr("\nblock,1,0,0,46400,86400,,,,,4.03,"));
    EXPECT_THAT(csv, HasSubstr("\nblock,1,64,5529600,5576000,86400,,,,,4.33,"));
}

TEST_F(ExtremesCommandTest, ReturnPeriodsInYearsAreCountedInBlocksOf365AndAQuarterDays)
{
    writeRun("a", {{"Deck", portPirie}});
    const CliResult days = runCli({"extremes", path("a"), "--csv", path("days")});
    ASSERT_EQ(days.status, 0) << days.err;
    EXPECT_THAT(days.out, HasSubstr("75 years (27393.8 days)"));
    EXPECT_THAT(days.out, HasSubstr("1000 years (365250 days)"));
    EXPECT_NEAR(valueOf(read(path("days/extremes_Deck.csv")), "return_level,,,,,,Gumbel,level,1000,", 9), 365250.0,
                1e-6);
    // 65 days fill 10 whole weeks of the clock (day 70 would end the tenth).
    const CliResult weeks = runCli({"extremes", path("a"), "--block", "week", "--return-period", "75"});
    EXPECT_THAT(weeks.out, HasSubstr("9 whole weeks"));
    EXPECT_THAT(weeks.out, HasSubstr("1 partial week left out"));
    EXPECT_THAT(weeks.out, HasSubstr("75 years (3913.39 weeks)"));
}

TEST_F(ExtremesCommandTest, ABridgeWithTooFewBlocksIsRefusedByNameAndTheOthersAreFitted)
{
    writeRun("a", {{"Deck", portPirie}, {"Short", std::vector<double>(portPirie.begin(), portPirie.begin() + 3)}});
    const CliResult result = runCli({"extremes", path("a"), "--csv", path("out")});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("bridge Short: no Gumbel fit"));
    EXPECT_THAT(result.err, Not(HasSubstr("bridge Deck")));
    EXPECT_THAT(result.out, HasSubstr("Bridge Short: 3 whole days"));
    EXPECT_THAT(result.out, HasSubstr("Gumbel  3.86944"));
    // The short bridge's maxima are written all the same, without fits.
    const std::string shortCsv = read(path("out/extremes_Short.csv"));
    EXPECT_THAT(shortCsv, HasSubstr("block,1,2,"));
    EXPECT_THAT(shortCsv, Not(HasSubstr("fit,")));
}

TEST_F(ExtremesCommandTest, AGevThatCannotBeFittedIsANoteBesideTheGumbelFigures)
{
    // Evenly spaced maxima crowd against an upper end point: the GEV's shape runs to -1.
    writeRun("a", {{"Deck", {1.0, 2.0, 3.0, 4.0, 5.0}}});
    const CliResult result = runCli({"extremes", path("a")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.err, HasSubstr("bridge Deck: note: no GEV fit"));
    EXPECT_THAT(result.out, HasSubstr("Gumbel  "));
}

TEST_F(ExtremesCommandTest, CarelessCommandLinesAndOutputFoldersAreRefused)
{
    writeRun("a", {{"Deck", portPirie}});
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--return-period", "nan"},
                                                 {"--return-period", "-75"},
                                                 {"--return-period", ""},
                                                 {"--return-period", "0x10"},
                                                 {"--return-blocks", "1"},
                                                 {"--block", "month"},
                                                 {"--return-period", "0.001"}})
    {
        std::vector<std::string> line{"extremes", path("a")};
        line.insert(line.end(), args.begin(), args.end());
        const CliResult result = runCli(line);
        EXPECT_EQ(result.status, 2) << args.front() << ' ' << args.back() << ": " << result.err << result.out;
    }
    // The run's own folders would be read back as a run's files.
    for (const char* own : {"a", "a/metrics"})
    {
        const CliResult result = runCli({"extremes", path("a"), "--csv", path(own)});
        EXPECT_EQ(result.status, 1);
        EXPECT_THAT(result.err, HasSubstr("the CSV files go into a folder of their own"));
    }
    EXPECT_FALSE(std::filesystem::exists(root / "a" / "extremes_Deck.csv"));
    const CliResult partial = runCli({"extremes", path("a.partial")});
    EXPECT_EQ(partial.status, 1);
    EXPECT_THAT(partial.err, HasSubstr("a.partial"));
}
