#include "charts/ChartsTestSupport.h"
#include "replications/RunFolders.h"

#include "charts/CompareCharts.h"
#include "config/FigureText.h"
#include "report/CompareReport.h"

#include <QAreaSeries>
#include <QLineSeries>
#include <QProcess>
#include <QScatterSeries>
#include <QXmlStreamReader>

#include <gmock/gmock.h>

#include <cmath>

using ::testing::HasSubstr;

namespace {

class CompareReportTest : public RunFolders
{
protected:
    CompareRunsResult threeRunsCompared() const
    {
        CompareRunsOptions options;
        options.runFolders = threeRuns();
        return compareRuns(options);
    }

    static std::vector<ResultChart> flowDensityCharts(const CompareRunsResult& result)
    {
        const ComparedTable* table = result.comparison.table("FD_All_Pos_1500.csv");
        return table == nullptr ? std::vector<ResultChart>{} : CompareCharts::of(*table, result.comparison.runs());
    }
};

// The cells of the rows of the page's table with id `id`.
std::vector<QStringList> replicationRows(const QString& html, QString& error,
                                         const QString& id = QStringLiteral("replications"))
{
    std::vector<QStringList> rows;
    QXmlStreamReader reader(html);
    bool inTable = false;
    while (!reader.atEnd())
    {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QStringLiteral("table"))
            inTable = reader.attributes().value(QStringLiteral("id")) == id;
        else if (inTable && reader.isStartElement() && reader.name() == QStringLiteral("tbody"))
            rows.clear();
        else if (inTable && reader.isStartElement() && reader.name() == QStringLiteral("tr"))
            rows.emplace_back();
        else if (inTable && reader.isStartElement() && reader.name() == QStringLiteral("td"))
            rows.back() << reader.readElementText();
        else if (reader.isEndElement() && reader.name() == QStringLiteral("table"))
            inTable = false;
    }
    if (reader.hasError())
        error = reader.errorString();
    std::erase_if(rows, [](const QStringList& row) { return row.isEmpty(); });
    return rows;
}

}  // namespace

TEST_F(CompareReportTest, MeanAndBandOfTheTotalsPerIntervalWithGapsWhereNoRunHasAValue)
{
    writeThreeRuns();
    CompareRunsResult result = threeRunsCompared();
    std::vector<ResultChart> charts = flowDensityCharts(result);
    ASSERT_EQ(charts.size(), 4u);

    const QChart& flow = *chartNamed(charts, QStringLiteral("flow-time")).chart;
    QLineSeries* mean = seriesOf<QLineSeries>(flow).first();
    // Interval 2: flows 1200, 1260 and 1320; interval 3: 1140 and 1200 (the third run ended).
    ASSERT_EQ(mean->count(), 3);
    EXPECT_EQ(mean->at(1), QPointF(2.0, 1260.0));
    EXPECT_EQ(mean->at(2), QPointF(3.0, 1170.0));
    QList<QAreaSeries*> bands = seriesOf<QAreaSeries>(flow);
    ASSERT_EQ(bands.size(), 1);
    // t(0.975, 2) = 4.302653; × 60 / √3.
    const double halfWidth = 4.302652729911275 * 60.0 / std::sqrt(3.0);
    EXPECT_NEAR(bands[0]->upperSeries()->at(1).y(), 1260.0 + halfWidth, 1e-6);
    EXPECT_NEAR(bands[0]->lowerSeries()->at(1).y(), 1260.0 - halfWidth, 1e-6);

    // No run has the totals' density of interval 1: the line and the band start at interval 2.
    const QChart& density = *chartNamed(charts, QStringLiteral("density-time")).chart;
    EXPECT_EQ(seriesOf<QLineSeries>(density).first()->at(0).x(), 2.0);
    EXPECT_EQ(seriesOf<QAreaSeries>(density).first()->upperSeries()->at(0).x(), 2.0);
    EXPECT_EQ(chartNamed(charts, QStringLiteral("speed-time")).chart->axes(Qt::Vertical).first()->titleText(),
              QStringLiteral("Space-mean speed (km/h)"));

    const QChart& diagrams = *chartNamed(charts, QStringLiteral("flow-density-runs")).chart;
    QList<QScatterSeries*> runs = seriesOf<QScatterSeries>(diagrams);
    ASSERT_EQ(runs.size(), 3);
    EXPECT_EQ(runs[0]->name(), QStringLiteral("seed1"));
    EXPECT_EQ(runs[0]->points(), QList<QPointF>({{13.0, 1200.0}, {17.0, 1140.0}}));
    EXPECT_EQ(runs[2]->points(), QList<QPointF>({{20.0, 1320.0}}));
}

TEST_F(CompareReportTest, TablesTheReplicationsNeededWithTheCurrentHalfWidth)
{
    writeThreeRuns();
    CompareRunsResult result = threeRunsCompared();
    QString error;
    std::vector<QStringList> rows = replicationRows(CompareReport::build(result), error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    // Every column of the flow-and-density file varies; the totals' flow is the eighth.
    ASSERT_EQ(rows.size(), 9u);
    const ReplicationEstimate& estimate = result.replications[7];
    ASSERT_EQ(estimate.figure.name, "Totals Flow (veh/hr)");
    ASSERT_TRUE(estimate.runsNeeded);
    EXPECT_EQ(rows[7], QStringList({QStringLiteral("FD_All_Pos_1500.csv:Totals Flow (veh/hr)"), QStringLiteral("3"),
                                    QString::fromStdString(figureText(estimate.statistics.mean)),
                                    QString::fromStdString(figureText(estimate.statistics.standardDeviation)),
                                    QString::fromStdString(figureText(estimate.statistics.halfWidth)),
                                    QString::fromStdString(figureText(100.0 * estimate.relativeHalfWidth())),
                                    QStringLiteral("5"), QString::number(*estimate.runsNeeded)}));
}

TEST_F(CompareReportTest, TheHeaderNamesEachRunWithItsSeedAndTheProgram)
{
    writeThreeRuns();
    const QString html = CompareReport::build(threeRunsCompared());
    for (const QString& row :
         {QStringLiteral("<tr><td>%1</td><td>1</td></tr>").arg(QString::fromStdString(run("seed1").string())),
          QStringLiteral("<tr><td>%1</td><td>2</td></tr>").arg(QString::fromStdString(run("seed2").string())),
          QStringLiteral("<tr><td>%1</td><td>not in the run's summary</td></tr>")
              .arg(QString::fromStdString(run("seed3").string()))})
        EXPECT_TRUE(html.contains(row)) << row.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("Written by roadflux-report")));
}

TEST_F(CompareReportTest, FiguresTheInputFixesAreSaidSoAndEveryComparedFileIsCharted)
{
    writeThreeRuns();
    // The traffic file fixes the flows: the same in every run; the bridge's maxima and the second
    // lane's headways vary.
    const std::vector<std::string> maxima = {"100", "130", "190"};
    for (std::size_t i = 0; i < 3; ++i)
    {
        const std::string name = "seed" + std::to_string(i + 1);
        write(name, "FD_All_Pos_1500.csv", flowDensity("1,7,600,80,6,600,100,13,1200,90\n"));
        write(name, "Head_All_Neg_1500.csv",
              "Headways (s)\nLane 1,Lane 2\n10,12\n5," + std::to_string(5 + i) + "\n5,\n");
        write(name, "LE_Deck.csv",
              "interval,end_time_s,maximum,time_of_maximum_s,minimum,time_of_minimum_s,vehicles,duration_s\n"
              "1,1060,90,1050,0,1010,2,60\n2,1120," +
                  maxima[i] + ",1100,0,1090,3,60\n");
    }
    CompareRunsResult result = threeRunsCompared();
    QString error;
    const QString html = CompareReport::build(result);
    const std::vector<QStringList> varying = replicationRows(html, error);
    const std::vector<QStringList> fixed = replicationRows(html, error, QStringLiteral("fixed-figures"));
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    QStringList varyingNames, fixedNames;
    for (const QStringList& row : varying)
        varyingNames << row.front();
    for (const QStringList& row : fixed)
        fixedNames << row.front();
    EXPECT_EQ(varyingNames, QStringList({QStringLiteral("Head_All_Neg_1500.csv:Lane 2 Mean headway (s)"),
                                         QStringLiteral("LE_Deck.csv:maximum")}));
    EXPECT_TRUE(fixedNames.contains(QStringLiteral("FD_All_Pos_1500.csv:Totals Flow (veh/hr)")));
    EXPECT_TRUE(fixedNames.contains(QStringLiteral("Head_All_Neg_1500.csv:Lane 1 Mean headway (s)")));
    EXPECT_EQ(fixed[fixedNames.indexOf(QStringLiteral("FD_All_Pos_1500.csv:Totals Flow (veh/hr)"))].last(),
              QStringLiteral("1200"));
    // The maxima's means 95, 110, 140 ask for the most runs, and the headline says so.
    const ReplicationEstimate* most = mostDemanding(result.replications);
    ASSERT_NE(most, nullptr);
    EXPECT_EQ(most->figure.text(), "LE_Deck.csv:maximum");
    EXPECT_TRUE(html.contains(QStringLiteral("<strong>%1 runs</strong>").arg(*most->runsNeeded)));
    EXPECT_TRUE(html.contains(QStringLiteral("the most demanding is LE_Deck.csv:maximum")));

    const std::vector<ResultChart> deck =
        CompareCharts::of(*result.comparison.table("LE_Deck.csv"), result.comparison.runs());
    const QChart& maximaChart = *chartNamed(deck, QStringLiteral("maxima-time")).chart;
    EXPECT_EQ(maximaChart.axes(Qt::Vertical).first()->titleText(),
              QStringLiteral("Interval maximum of the load effect"));
    EXPECT_EQ(maximaChart.axes(Qt::Horizontal).first()->titleText(), QStringLiteral("Time of day (hh:mm)"));
    // The runs began at 1000 s: the mean at the end of each minute, and each run's own maxima.
    EXPECT_EQ(seriesOf<QLineSeries>(maximaChart).first()->points(), QList<QPointF>({{1060.0, 90.0}, {1120.0, 140.0}}));
    QList<QScatterSeries*> runs = seriesOf<QScatterSeries>(maximaChart);
    ASSERT_EQ(runs.size(), 3);
    EXPECT_EQ(runs[2]->name(), QStringLiteral("seed3"));
    EXPECT_EQ(runs[2]->points(), QList<QPointF>({{1060.0, 90.0}, {1120.0, 190.0}}));

    const std::vector<ResultChart> headways =
        CompareCharts::of(*result.comparison.table("Head_All_Neg_1500.csv"), result.comparison.runs());
    const QChart& meanHeadways = *chartNamed(headways, QStringLiteral("headway-lanes")).chart;
    EXPECT_EQ(meanHeadways.axes(Qt::Vertical).first()->titleText(), QStringLiteral("Mean headway (s)"));
    QScatterSeries* means = seriesOf<QScatterSeries>(meanHeadways).last();
    EXPECT_EQ(means->name(), QStringLiteral("Mean of the runs"));
    EXPECT_EQ(means->points(), QList<QPointF>({{1.0, 5.0}, {2.0, 6.0}}));

    for (const ComparedTable& table : result.comparison.tables())
    {
        const bool charted = !CompareCharts::of(table, result.comparison.runs()).empty();
        EXPECT_EQ(charted, table.fileName != RunComparison::summaryName) << table.fileName;
    }
}

TEST_F(CompareReportTest, TheProgramWritesTheReportAndTheCsvFilesAndRefusesDifferingRunsByName)
{
    writeThreeRuns();
    const QString target = QString::fromStdString((root / "compare.html").string());
    const QString csv = QString::fromStdString((root / "csv").string());
    QStringList arguments{QStringLiteral("--compare")};
    for (const std::filesystem::path& run : threeRuns())
        arguments << QString::fromStdString(run.string());
    QProcess program;
    program.start(QStringLiteral(ROADFLUX_REPORT_PATH),
                  arguments + QStringList{QStringLiteral("-o"), target, QStringLiteral("--csv"), csv});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_THAT(program.readAllStandardOutput().toStdString(), HasSubstr("Runs compared: 3"));
    EXPECT_TRUE(std::filesystem::exists(root / "csv" / "FD_All_Pos_1500.csv"));
    EXPECT_TRUE(std::filesystem::exists(root / "csv" / "replications.csv"));
    EXPECT_THAT(read(target.toStdString()), HasSubstr("FD_All_Pos_1500-flow-density-runs"));

    // A figure and a precision of the user's choice.
    program.start(QStringLiteral(ROADFLUX_REPORT_PATH),
                  arguments + QStringList{QStringLiteral("-o"), target, QStringLiteral("--figure"),
                                          QStringLiteral("summary.txt:Vehicles written"), QStringLiteral("--precision"),
                                          QStringLiteral("10")});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    QString error;
    const std::vector<QStringList> chosen = replicationRows(QString::fromStdString(read(target.toStdString())), error);
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0].front(), QStringLiteral("summary.txt:Vehicles written"));
    EXPECT_EQ(chosen[0][6], QStringLiteral("10"));
    program.start(QStringLiteral(ROADFLUX_REPORT_PATH),
                  {QStringLiteral("--precision"), QStringLiteral("10"), QString::fromStdString(run("seed1").string())});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 2);

    write("seed2", "Head_All_Neg_1500.csv", "Headways (s)\nLane 1\n5\n");
    std::filesystem::remove(target.toStdString());
    program.start(QStringLiteral(ROADFLUX_REPORT_PATH), arguments + QStringList{QStringLiteral("-o"), target});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 1);
    const std::string refusal = program.readAllStandardError().toStdString();
    EXPECT_THAT(refusal, HasSubstr("other detectors"));
    EXPECT_THAT(refusal, HasSubstr("seed2"));
    EXPECT_FALSE(std::filesystem::exists(target.toStdString()));

    program.start(QStringLiteral(ROADFLUX_REPORT_PATH), {QStringLiteral("--compare")});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 2);
}
