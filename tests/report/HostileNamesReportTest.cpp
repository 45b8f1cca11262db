#include "charts/ChartsTestSupport.h"
#include "replications/RunFolders.h"

#include "charts/CompareCharts.h"
#include "report/CompareReport.h"

#include <QFile>
#include <QProcess>
#include <QScatterSeries>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

// The page read as XML: its ids, its links within the page, the text cells of its tables and
// the summary. Fails the test where a name became markup.
struct Page
{
    QStringList ids, hrefs, cells;
    QString summary;
};

Page checkedPage(const QString& html)
{
    EXPECT_FALSE(html.contains(QStringLiteral("<img")) || html.contains(QStringLiteral("<script")) ||
                 html.contains(QStringLiteral("<i>")));
    Page page;
    QXmlStreamReader reader(html);
    QString* text = nullptr;  // the cell or summary being read
    while (!reader.atEnd())
    {
        reader.readNext();
        if (reader.isCharacters() && text != nullptr)
            *text += reader.text();
        else if (reader.isEndElement())
            text = nullptr;
        if (!reader.isStartElement())
            continue;
        for (const QXmlStreamAttribute& attribute : reader.attributes())
        {
            EXPECT_FALSE(attribute.name().startsWith(QStringLiteral("on")))
                << attribute.name().toString().toStdString();
            if (attribute.name() == QStringLiteral("id"))
                page.ids << attribute.value().toString();
            else if (attribute.name() == QStringLiteral("href") && attribute.value().startsWith(QLatin1Char('#')))
                page.hrefs << attribute.value().mid(1).toString();
        }
        if (reader.name() == QStringLiteral("pre"))
            text = &page.summary;
        else if (reader.name() == QStringLiteral("td") && reader.attributes().isEmpty())
            text = &page.cells.emplace_back();
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString() << " at line " << reader.lineNumber();
    const QSet<QString> unique(page.ids.begin(), page.ids.end());
    EXPECT_EQ(unique.size(), page.ids.size());
    for (const QString& href : page.hrefs)
        EXPECT_TRUE(unique.contains(href)) << href.toStdString();
    return page;
}

const std::string imageName = "x\"><img src=x onerror=alert(1)>";

}  // namespace

// The program on a run folder whose own name, summary, bridges' file names and a broken file's
// content hold quotes, tags, '&', control characters and bytes that are not UTF-8.
TEST(HostileNames, TheReportShowsEveryNameAsTextWithItsOwnAnchor)
{
    QTemporaryDir folder;
    const std::filesystem::path run = std::filesystem::path(folder.path().toStdString()) / "run \"<i>&amp;";
    std::filesystem::create_directories(run / "metrics");
    // A name that is not UTF-8 cannot be removed by QTemporaryDir.
    struct RemovedAfterwards
    {
        std::filesystem::path path;
        ~RemovedAfterwards() { std::filesystem::remove_all(path); }
    } removed{run};
    const char summary[] = "Steps: <script>alert(1)</script>\n\x1b[0m\0end";
    writeTextFile(run / "summary.txt", std::string(summary, sizeof summary - 1));
    writeTextFile(run / "metrics" / "FD_All_Pos_1500.csv", threeIntervalFlows);
    // Names equal after case folding or once made ids, a bridge named like another's chart, a
    // very long one, one over two lines, one that is not UTF-8 (shown replaced).
    const QStringList names = {QString::fromStdString(imageName),
                               QStringLiteral("<script src=x>alert('&') & co"),
                               QStringLiteral("Deck"),
                               QStringLiteral("deck"),
                               QStringLiteral("Deck-gumbel"),
                               QStringLiteral("a b"),
                               QStringLiteral("a_b"),
                               QStringLiteral("two\nlines"),
                               QString(200, QLatin1Char('L')),
                               QStringLiteral("bad\uFFFD")};
    for (const QString& name : names.mid(0, names.size() - 1))
        writeTextFile(run / "metrics" / ("LE_" + name.toStdString() + ".csv"),
                      "interval,end_time_s,maximum,time_of_maximum_s,minimum,time_of_minimum_s,vehicles,duration_s\n"
                      "1,600,100,500,0,10,3,600\n2,1200,300,900,0,610,5,600\n");
    std::filesystem::copy_file(run / "metrics" / "LE_Deck.csv", run / "metrics" / "LE_bad\xff.csv");
    std::filesystem::copy_file(run / "metrics" / "LE_Deck.csv", run / "metrics" / ".csv");
    writeTextFile(run / "metrics" / ("LE_broken" + imageName + ".csv"), "interval\n<img src=x onerror=alert(2)>\n");

    const QString target = folder.filePath(QStringLiteral("out.html"));
    QProcess program;
    program.start(QStringLiteral(ROADFLUX_REPORT_PATH),
                  {QString::fromStdString(run.string()), QStringLiteral("-o"), target});
    ASSERT_TRUE(program.waitForFinished(60000));
    ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const Page page = checkedPage(QString::fromUtf8(written.readAll()));
    for (const QString& name : names)
        EXPECT_TRUE(page.cells.contains(name)) << name.toStdString();
    EXPECT_EQ(page.hrefs.size(), 1 + names.size());
    EXPECT_TRUE(page.summary.contains(QStringLiteral("<script>alert(1)</script>\n\uFFFD[0m\uFFFDend")));
    // Ordinary names keep their ids.
    EXPECT_TRUE(page.ids.contains(QStringLiteral("LE_Deck")));
    EXPECT_TRUE(page.ids.contains(QStringLiteral("FD_All_Pos_1500-flow-density")));
}

class HostileComparison : public RunFolders
{
};

TEST_F(HostileComparison, RunFolderAndFileNamesStayText)
{
    const std::string file = "FD_" + imageName + "%1.csv";
    CompareRunsOptions options;
    for (const std::string name : {"seed \"<i>1&amp;", "seed <b>2", "Seed <b>2"})
    {
        write(name, file, flowDensity("1,7,600,80,6,600,100,13," + std::to_string(1200 + name.size()) + ",90\n"));
        write(name, "FD_All_Pos_1500.csv", flowDensity("1,7,600,80,6,600,100,13,1200,90\n"));
        write(name, "summary.txt", summary(1000, 1060, 100));
        options.runFolders.push_back(run(name));
    }
    const CompareRunsResult result = compareRuns(options);
    // The legend renders its names as HTML.
    const std::vector<ResultChart> charts = CompareCharts::of(*result.comparison.table(file), result.comparison.runs());
    EXPECT_EQ(seriesOf<QScatterSeries>(*chartNamed(charts, QStringLiteral("flow-density-runs")).chart)[1]->name(),
              QStringLiteral("seed &lt;b&gt;2"));
    const QString html = CompareReport::build(result);
    const Page page = checkedPage(html);
    // The file's own "%1" stays in its name and the runs' count keeps its cell.
    EXPECT_TRUE(page.cells.contains(QString::fromStdString(file) + QStringLiteral(":Totals Flow (veh/hr)")));
    EXPECT_FALSE(html.contains(QStringLiteral("%2")));
    EXPECT_TRUE(page.ids.contains(QStringLiteral("FD_All_Pos_1500-flow-density-runs")));
}
