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

// The cells of the replications table's rows.
std::vector<QStringList> replicationRows(const QString& html, QString& error)
{
    std::vector<QStringList> rows;
    QXmlStreamReader reader(html);
    bool inTable = false;
    while (!reader.atEnd())
    {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QStringLiteral("table"))
            inTable = reader.attributes().value(QStringLiteral("id")) == QStringLiteral("replications");
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
    ASSERT_EQ(rows.size(), 1u);
    const ReplicationEstimate& estimate = result.replications.front();
    ASSERT_TRUE(estimate.runsNeeded);
    EXPECT_EQ(rows[0], QStringList({QStringLiteral("FD_All_Pos_1500.csv:Totals Flow (veh/hr)"), QStringLiteral("3"),
                                    QString::fromStdString(figureText(estimate.statistics.mean)),
                                    QString::fromStdString(figureText(estimate.statistics.standardDeviation)),
                                    QString::fromStdString(figureText(estimate.statistics.halfWidth)),
                                    QString::fromStdString(figureText(100.0 * estimate.relativeHalfWidth())),
                                    QStringLiteral("5"), QString::number(*estimate.runsNeeded)}));
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
