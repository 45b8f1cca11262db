#include "charts/ChartsTestSupport.h"

#include "loadeffects/GumbelFit.h"
#include "measurements/GumbelFigures.h"
#include "report/HtmlReport.h"

#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

// The page read as XML: the key-figure rows by file name, the summary, the figures' ids.
struct ParsedReport
{
    QString error;
    QString summary;
    QMap<QString, QStringList> rows;  // file name -> cells after it
    QStringList figures;
    int svgCount = 0;
};

ParsedReport parse(const QString& html)
{
    ParsedReport report;
    QXmlStreamReader reader(html);
    QStringList row;
    bool inFigures = false;
    while (!reader.atEnd())
    {
        reader.readNext();
        if (reader.isStartElement())
        {
            QString id = reader.attributes().value(QStringLiteral("id")).toString();
            if (reader.name() == QStringLiteral("table") && id == QStringLiteral("figures"))
                inFigures = true;
            else if (reader.name() == QStringLiteral("pre") && id == QStringLiteral("summary"))
                report.summary = reader.readElementText();
            else if (reader.name() == QStringLiteral("figure"))
                report.figures << id;
            else if (reader.name() == QStringLiteral("svg"))
                ++report.svgCount;
            else if (inFigures && reader.name() == QStringLiteral("tr"))
                row.clear();
            else if (inFigures && reader.name() == QStringLiteral("td"))
                row << reader.readElementText(QXmlStreamReader::IncludeChildElements);
        }
        else if (reader.isEndElement())
        {
            if (reader.name() == QStringLiteral("table"))
                inFigures = false;
            else if (inFigures && reader.name() == QStringLiteral("tr") && row.size() > 1)
                report.rows.insert(row[1].section(QLatin1Char(' '), 0, 0), row.mid(2));
        }
    }
    if (reader.hasError())
        report.error = reader.errorString() + QStringLiteral(" at line %1").arg(reader.lineNumber());
    return report;
}

class HtmlReportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        run = std::filesystem::path(folder.path().toStdString());
        std::filesystem::create_directories(run / "metrics");
        writeTextFile(run / "summary.txt", "The simulation has finished.\nSteps:               19540\n");
        writeTextFile(run / "metrics" / "FD_All_Pos_1500.csv", threeIntervalFlows);
        writeTextFile(run / "metrics" / "Comp_All_Pos_2500.csv", compositionHeader + "5,1,2,0,0\n3,0,4,1,2\n");
        writeTextFile(run / "metrics" / "LC_Rate_All_Pos.csv", rateHeader + "60,0,240,0\n120,0,,480\n");
        writeTextFile(run / "metrics" / "Head_All_Neg_1500.csv", "Headways (s)\nLane 1\n1\n2\nsoon\n");
    }

    QTemporaryDir folder;
    std::filesystem::path run;
};

}  // namespace

TEST_F(HtmlReportTest, TablesTheKeyFiguresOfEachFile)
{
    ParsedReport report = parse(HtmlReport::build(HtmlReport::sourcesOf(run)));
    ASSERT_TRUE(report.error.isEmpty()) << report.error.toStdString();
    EXPECT_TRUE(report.summary.contains(QStringLiteral("Steps:               19540")));

    // Columns: intervals counted, vehicles counted, mean and maximum interval flow, mean speed,
    // lane changes, rate. Flows of 180, 60 and 360 veh/h in 60 s intervals: 3 + 1 + 6 vehicles,
    // all at 60 km/h.
    EXPECT_EQ(report.rows.value(QStringLiteral("FD_All_Pos_1500.csv")),
              (QStringList{QStringLiteral("3 complete × 60\u00a0s"), QStringLiteral("10"), QStringLiteral("200.0"),
                           QStringLiteral("360.0"), QStringLiteral("60.0"), QStringLiteral("–"), QStringLiteral("–")}));
    EXPECT_EQ(report.rows.value(QStringLiteral("Comp_All_Pos_2500.csv")).value(1), QStringLiteral("18"));
    // In 500 m bins and 60 s intervals one change is 120 per km and hour: 2 + 4 changes in two
    // minutes on 1 km, 180 per km and hour.
    EXPECT_EQ(report.rows.value(QStringLiteral("LC_Rate_All_Pos.csv")),
              (QStringList{QStringLiteral("2 complete × 60\u00a0s"), QStringLiteral("–"), QStringLiteral("–"),
                           QStringLiteral("–"), QStringLiteral("–"), QStringLiteral("6"), QStringLiteral("180.00")}));
    // The broken file has no row but its reason.
    EXPECT_FALSE(report.rows.contains(QStringLiteral("Head_All_Neg_1500.csv")));
}

TEST_F(HtmlReportTest, TotalsSayUpToWhenTheyCountAndWhatTheRunCountedBeyond)
{
    // The run went on 68 s past the flow file's third interval: its vehicles then are in no row.
    writeTextFile(run / "summary.txt", "The simulation has finished.\n"
                                       "Simulated start:     27002.15 s (year 0, month 1, day 1, 07:30:02.15)\n"
                                       "Simulated end:       27250.45 s (year 0, month 1, day 1, 07:34:10.45)\n"
                                       "Vehicles written:    14\n");
    writeTextFile(run / "metrics" / "Head_All_Neg_1500.csv", "Headways (s)\nLane 1\n1\n2\n");
    const QString html = HtmlReport::build(HtmlReport::sourcesOf(run));
    ParsedReport report = parse(html);
    ASSERT_TRUE(report.error.isEmpty()) << report.error.toStdString();
    EXPECT_EQ(report.rows.value(QStringLiteral("FD_All_Pos_1500.csv")).value(0),
              QStringLiteral("3 complete × 60\u00a0s, to 07:33:02"));
    // Without the study the composition file's interval, and so its end, is unknown.
    EXPECT_EQ(report.rows.value(QStringLiteral("Comp_All_Pos_2500.csv")).value(0), QStringLiteral("2 complete"));
    // A headway file lists every passage, the last interval's too.
    EXPECT_EQ(report.rows.value(QStringLiteral("Head_All_Neg_1500.csv")).value(0),
              QStringLiteral("every passage, to 07:34:10"));
    EXPECT_TRUE(html.contains(QStringLiteral("the run ended at 07:34:10")));
    EXPECT_TRUE(html.contains(QStringLiteral("The output traffic file holds 14 vehicles")));
}

TEST_F(HtmlReportTest, TheHeaderNamesWhatMadeTheRunAndThePageUsesFontsEveryBrowserHas)
{
    ReportSources sources = HtmlReport::sourcesOf(run);
    sources.study = QStringLiteral("studies/bridge.rfx");
    sources.inputFile = QStringLiteral("studies/traffic.txt");
    const QString html = HtmlReport::build(sources);
    ASSERT_TRUE(parse(html).error.isEmpty());
    for (const QString& cell : {QStringLiteral("<th>Study</th><td>studies/bridge.rfx</td>"),
                                QStringLiteral("<th>Input traffic file</th><td>studies/traffic.txt</td>"),
                                QStringLiteral("<th>Configuration file</th><td>none: the built-in defaults</td>"),
                                QStringLiteral("<th>Seed</th><td>not in the run's summary</td>"),
                                QStringLiteral("<th>Program</th><td>roadflux-report")})
        EXPECT_TRUE(html.contains(cell)) << cell.toStdString();
    // The charts' text in a sans-serif font the browser has, numbers that do not wrap.
    EXPECT_TRUE(html.contains(QStringLiteral("figure svg text{font-family:'DejaVu Sans',Arial")));
    EXPECT_TRUE(html.contains(QStringLiteral("td.number,th{white-space:nowrap}")));
    // Two charts to a row where the page is wide.
    EXPECT_TRUE(html.contains(QStringLiteral("width:calc(50% - 1em)")));

    // The seed as the runner states it, its words after the colon included.
    for (const char* said : {"42", "none given (from the system, not repeatable)"})
    {
        writeTextFile(run / "summary.txt",
                      std::string("The simulation has finished.\nSeed:                ") + said + "\n");
        const QString seeded = HtmlReport::build(HtmlReport::sourcesOf(run));
        EXPECT_TRUE(seeded.contains(QStringLiteral("<th>Seed</th><td>%1</td>").arg(QString::fromLatin1(said)))) << said;
    }
}

TEST_F(HtmlReportTest, HoldsEveryChartAsInlineSvg)
{
    QString html = HtmlReport::build(HtmlReport::sourcesOf(run));
    ParsedReport report = parse(html);
    ASSERT_TRUE(report.error.isEmpty()) << report.error.toStdString();
    EXPECT_EQ(report.figures.size(), 5 + 1 + 1);
    EXPECT_EQ(report.svgCount, report.figures.size());
    EXPECT_TRUE(report.figures.contains(QStringLiteral("LC_Rate_All_Pos-lane-change-rates")));
    EXPECT_TRUE(html.contains(QStringLiteral("Head_All_Neg_1500.csv, line 5: expected a number")));
    // Self-contained: nothing is fetched.
    EXPECT_FALSE(html.contains(QStringLiteral("http://"), Qt::CaseInsensitive) &&
                 html.contains(QStringLiteral("src=\"http")));
    EXPECT_FALSE(html.contains(QStringLiteral("<script")));
}

TEST_F(HtmlReportTest, TheProgramWritesTheReportWithoutADisplay)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QProcess program;
    program.setProcessEnvironment(environment);
    QString target = folder.filePath(QStringLiteral("out.html"));
    program.start(QStringLiteral(ROADFLUX_REPORT_PATH),
                  {QString::fromStdString(run.string()), QStringLiteral("-o"), target});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_TRUE(QString::fromUtf8(program.readAllStandardOutput()).contains(target));
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(parse(QString::fromUtf8(written.readAll())).error.isEmpty());

    program.start(QStringLiteral(ROADFLUX_REPORT_PATH), {folder.filePath(QStringLiteral("missing"))});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(program.readAllStandardError()).contains(QStringLiteral("missing: no such folder")));
}

namespace {

// The cells of each row of the load-effect table, by bridge name.
QMap<QString, QStringList> loadEffectRows(const QString& html)
{
    QMap<QString, QStringList> rows;
    QXmlStreamReader reader(html);
    bool inTable = false;
    QStringList row;
    while (!reader.atEnd())
    {
        reader.readNext();
        if (reader.isStartElement())
        {
            if (reader.name() == QStringLiteral("table"))
                inTable = reader.attributes().value(QStringLiteral("id")) == QStringLiteral("load-effects");
            else if (inTable && reader.name() == QStringLiteral("tr"))
                row.clear();
            else if (inTable && reader.name() == QStringLiteral("td"))
                row << reader.readElementText(QXmlStreamReader::IncludeChildElements);
        }
        else if (reader.isEndElement() && inTable && reader.name() == QStringLiteral("tr") && !row.isEmpty())
        {
            rows.insert(row.first(), row.mid(1));
        }
        else if (reader.isEndElement() && reader.name() == QStringLiteral("table"))
        {
            inTable = false;
        }
    }
    return rows;
}

const std::string loadEffectHeader =
    "interval,end_time_s,maximum,time_of_maximum_s,minimum,time_of_minimum_s,vehicles,duration_s\n";

}  // namespace

TEST_F(HtmlReportTest, TablesEachBridgesGumbelFitAndHoldsItsCharts)
{
    // Six complete 600 s intervals and a last one cut short, which the fit leaves out.
    writeTextFile(run / "metrics" / "LE_Deck.csv", loadEffectHeader + "1,600,100,500,0,10,3,600\n"
                                                                      "2,1200,300,900,0,610,5,600\n"
                                                                      "3,1800,200,1500,0,1210,4,600\n"
                                                                      "4,2400,250,2100,0,1810,4,600\n"
                                                                      "5,3000,150,2700,0,2410,4,600\n"
                                                                      "6,3600,180,3300,0,3010,4,600\n"
                                                                      "7,3700,900,3650,0,3610,1,100\n");
    // The runner's own fit, to six digits and without an uncertainty, is not shown a second time.
    writeTextFile(run / "summary.txt", "The simulation has finished.\nBridge Deck: largest 900 at 3650 s\n"
                                       "  Gumbel fit: location 171.234, scale 55.6789; 2-year return level 789.012\n");
    ReportSources sources = HtmlReport::sourcesOf(run);
    sources.loadEffects.returnYears = 2.0;
    QString html = HtmlReport::build(sources);
    ASSERT_TRUE(parse(html).error.isEmpty()) << parse(html).error.toStdString();
    QMap<QString, QStringList> rows = loadEffectRows(html);
    ASSERT_TRUE(rows.contains(QStringLiteral("Deck")));
    const QStringList& deck = rows[QStringLiteral("Deck")];
    // 2 years of 2.16e7 s in 600 s intervals: 72000 intervals.
    const GumbelFigures fit = GumbelFigures::of({100, 300, 200, 250, 150, 180}, 72000.0);
    ASSERT_TRUE(fit.fitted);
    EXPECT_EQ(deck.mid(1, 4), QStringList({QStringLiteral("\u2013"), QStringLiteral("600"), QStringLiteral("6"),
                                           QStringLiteral("900")}));
    EXPECT_EQ(deck[5], QString::fromStdString(fit.locationText()));
    EXPECT_EQ(deck[6], QString::fromStdString(fit.scaleText()));
    EXPECT_EQ(deck.mid(7, 2), QStringList({QStringLiteral("2"), QStringLiteral("72,000")}));
    EXPECT_EQ(deck[9], QString::fromStdString(fit.levelText()));
    EXPECT_EQ(deck[10], QString::fromStdString(fit.intervalText()));
    // 72000 intervals from 6: the page warns of the extrapolation, and states each figure once.
    EXPECT_TRUE(html.contains(QStringLiteral("12,000 times the 6 observed")));
    EXPECT_EQ(html.count(QString::fromStdString(fit.levelText())), 1);
    EXPECT_FALSE(html.contains(QStringLiteral("789.012")));
    EXPECT_TRUE(html.contains(QStringLiteral("Bridge Deck: largest 900 at 3650 s")));
    EXPECT_TRUE(parse(html).figures.contains(QStringLiteral("LE_Deck-gumbel")));
    EXPECT_TRUE(parse(html).figures.contains(QStringLiteral("LE_Deck-maxima-histogram")));
    EXPECT_TRUE(parse(html).figures.contains(QStringLiteral("LE_Deck-load-effect-hour")));
    EXPECT_TRUE(parse(html).figures.contains(QStringLiteral("LE_Deck-load-effect-intervals")));
}

TEST_F(HtmlReportTest, TheProgramTakesTheReturnPeriodAndRefusesANonsenseOne)
{
    writeTextFile(run / "metrics" / "LE_Deck.csv", loadEffectHeader + "1,600,100,500,0,10,3,600\n"
                                                                      "2,1200,300,900,0,610,5,600\n");
    QString target = folder.filePath(QStringLiteral("out.html"));
    QProcess program;
    program.start(QStringLiteral(ROADFLUX_REPORT_PATH),
                  {QString::fromStdString(run.string()), QStringLiteral("-o"), target,
                   QStringLiteral("--return-period"), QStringLiteral("50"), QStringLiteral("--hour"),
                   QStringLiteral("1")});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    QString html = QString::fromUtf8(written.readAll());
    EXPECT_EQ(loadEffectRows(html).value(QStringLiteral("Deck")).value(7), QStringLiteral("50"));
    EXPECT_TRUE(html.contains(QStringLiteral("hour 1 of the run")));

    // A bridges file given by name tells the load effect's unit; one that is not there is refused.
    written.close();
    writeTextFile(folder.filePath(QStringLiteral("deck.bridges")).toStdString(),
                  "name,start_m,span_m,effect,directions,interval_s\nDeck,100,20,midspan-moment,both,600\n");
    program.start(QStringLiteral(ROADFLUX_REPORT_PATH),
                  {QString::fromStdString(run.string()), QStringLiteral("-o"), target, QStringLiteral("--bridges"),
                   folder.filePath(QStringLiteral("deck.bridges"))});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(loadEffectRows(QString::fromUtf8(written.readAll())).value(QStringLiteral("Deck")).value(1),
              QStringLiteral("kN m"));
    written.close();
    program.start(
        QStringLiteral(ROADFLUX_REPORT_PATH),
        {QString::fromStdString(run.string()), QStringLiteral("--bridges"), QStringLiteral("absent.bridges")});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(program.readAllStandardError()).contains(QStringLiteral("absent.bridges")));

    // An infinite return period would print an infinite return level.
    for (const QString& bad : {QStringLiteral("--return-period=0"), QStringLiteral("--return-period=ten"),
                               QStringLiteral("--return-period=1e308"), QStringLiteral("--return-period=nan"),
                               QStringLiteral("--hour=0"), QStringLiteral("--hour=99999999")})
    {
        program.start(QStringLiteral(ROADFLUX_REPORT_PATH), {QString::fromStdString(run.string()), bad});
        ASSERT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitCode(), 2) << bad.toStdString();
        EXPECT_TRUE(QString::fromUtf8(program.readAllStandardError()).contains(bad.section(QLatin1Char('='), 0, 0)));
    }
    // A comparison has no hour, return period or study: given one, it would be ignored in silence.
    for (const QString& single :
         {QStringLiteral("--hour=5 x"), QStringLiteral("--return-period=nan"), QStringLiteral("--study=s.rfx")})
    {
        program.start(QStringLiteral(ROADFLUX_REPORT_PATH),
                      {QStringLiteral("--compare"), QString::fromStdString(run.string()),
                       QString::fromStdString(run.string()), single});
        ASSERT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitCode(), 2) << single.toStdString();
        EXPECT_TRUE(QString::fromUtf8(program.readAllStandardError()).contains(QStringLiteral("not with --compare")));
    }
}
