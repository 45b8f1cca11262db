#include "replications/RunFolders.h"
#include "results/ResultsTestSupport.h"

#include "report/CompareReport.h"
#include "report/HtmlReport.h"
#include "report/PageText.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

// What a browser would take from the page as markup rather than text.
struct PageMarkup
{
    QString error;
    QStringList elements;    // names of elements that should never be there
    QStringList handlers;    // on... attributes
    QStringList ids;         // in page order
    QStringList hrefs;       // the targets of "#..." links
    QStringList firstCells;  // of each table row, as text
    QString summary;
};

PageMarkup markupOf(const QString& html)
{
    PageMarkup page;
    QXmlStreamReader reader(html);
    while (reader.readNext() != QXmlStreamReader::Invalid && !reader.atEnd())
    {
        if (!reader.isStartElement())
            continue;
        const QString name = reader.name().toString().toLower();
        if (name == QStringLiteral("img") || name == QStringLiteral("script") || name == QStringLiteral("i") ||
            name == QStringLiteral("b"))
            page.elements << name;
        for (const QXmlStreamAttribute& attribute : reader.attributes())
        {
            const QString attributeName = attribute.name().toString().toLower();
            if (attributeName.startsWith(QStringLiteral("on")))
                page.handlers << attributeName;
            else if (attributeName == QStringLiteral("id"))
                page.ids << attribute.value().toString();
            else if (attributeName == QStringLiteral("href") && attribute.value().startsWith(QLatin1Char('#')))
                page.hrefs << attribute.value().mid(1).toString();
        }
    }
    if (reader.hasError())
    {
        page.error = reader.errorString() + QStringLiteral(" at line %1").arg(reader.lineNumber());
        return page;
    }
    // Again for the text, which reading takes whole elements for.
    QXmlStreamReader text(html);
    while (!text.atEnd())
    {
        text.readNext();
        if (text.isStartElement() && text.name() == QStringLiteral("pre"))
            page.summary += text.readElementText();
        else if (text.isStartElement() && text.name() == QStringLiteral("tr") && text.readNextStartElement() &&
                 text.name() == QStringLiteral("td"))
            page.firstCells << text.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    return page;
}

// Every id once, every link to one of them, nothing but text from the names.
void expectOnlyText(const PageMarkup& page)
{
    ASSERT_TRUE(page.error.isEmpty()) << page.error.toStdString();
    EXPECT_TRUE(page.elements.isEmpty()) << page.elements.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(page.handlers.isEmpty()) << page.handlers.join(QLatin1Char(' ')).toStdString();
    const QSet<QString> unique(page.ids.begin(), page.ids.end());
    EXPECT_EQ(unique.size(), page.ids.size()) << page.ids.join(QLatin1Char(' ')).toStdString();
    for (const QString& href : page.hrefs)
        EXPECT_TRUE(unique.contains(href)) << href.toStdString();
}

const std::string loadEffectRows = "interval,end_time_s,maximum,time_of_maximum_s,minimum,time_of_minimum_s,"
                                   "vehicles,duration_s\n1,600,100,500,0,10,3,600\n2,1200,300,900,0,610,5,600\n";

const std::string imageName = "x\"><img src=x onerror=alert(1)>";
// Without '/' or '\\', which no bridge's name holds.
const std::string scriptName = "<script src=x>alert('&') & co";

class HostileRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        run = std::filesystem::path(folder.path().toStdString()) / "run \"<b>&amp;";
        metrics = run / "metrics";
        std::filesystem::create_directories(metrics);
        const char summary[] = "Steps: 10 <script>alert(1)</script>\n\x1b[0m\0end";
        writeTextFile(run / "summary.txt", std::string(summary, sizeof summary - 1));
        writeTextFile(metrics / "FD_All_Pos_1500.csv", threeIntervalFlows);
        for (const std::string& bridge : {imageName, scriptName, std::string("Deck"), std::string("deck"),
                                          std::string("Deck-gumbel"), std::string("a b"), std::string("a_b"),
                                          std::string("two\nlines"), std::string("bad\xff\xfe"), std::string(200, 'L')})
            writeTextFile(metrics / ("LE_" + bridge + ".csv"), loadEffectRows);
        // Files that are no bridge's and no detector's: left out, without failing the page.
        writeTextFile(metrics / ".csv", loadEffectRows);
        writeTextFile(metrics / "LE_.csv", loadEffectRows);
        // A broken file whose message quotes it.
        writeTextFile(metrics / ("LE_broken" + imageName + ".csv"), "interval\n<img src=x onerror=alert(2)>\n");
    }

    // A name that is not UTF-8 cannot be removed by QTemporaryDir.
    void TearDown() override { std::filesystem::remove_all(folder.path().toStdString()); }

    QTemporaryDir folder;
    std::filesystem::path run;
    std::filesystem::path metrics;
};

}  // namespace

TEST(PageIds, KeepsOrdinaryNamesAndNeverGivesAnIdTwice)
{
    PageIds ids{"figures"};
    EXPECT_EQ(ids.claim(QStringLiteral("FD_All_Pos_1500")), QStringLiteral("FD_All_Pos_1500"));
    EXPECT_EQ(ids.claim(QStringLiteral("LE_Deck.v2-gumbel")), QStringLiteral("LE_Deck.v2-gumbel"));
    EXPECT_EQ(ids.claim(QStringLiteral("figures")), QStringLiteral("figures-2"));
    EXPECT_EQ(ids.claim(QStringLiteral("a b")), QStringLiteral("a_b"));
    EXPECT_EQ(ids.claim(QStringLiteral("a\"b")), QStringLiteral("a_b-2"));
    // A name that looks like a counted id is itself counted on.
    EXPECT_EQ(ids.claim(QStringLiteral("a_b-2")), QStringLiteral("a_b-2-2"));
    EXPECT_EQ(ids.claim(QString()), QStringLiteral("file"));
    EXPECT_EQ(ids.claim(QString(300, QLatin1Char('x'))).size(), 80);
    EXPECT_EQ(ids.claim(QString(301, QLatin1Char('x'))), QString(80, QLatin1Char('x')) + QStringLiteral("-2"));

    EXPECT_EQ(PageText::escaped(std::string("a<b>&\"c\"")), QStringLiteral("a&lt;b&gt;&amp;&quot;c&quot;"));
    const char controls[] = "tab\there\nnul\0\x01\xff";
    EXPECT_EQ(PageText::escaped(std::string(controls, sizeof controls - 1)),
              QStringLiteral("tab\there\nnul\uFFFD\uFFFD\uFFFD"));
}

TEST_F(HostileRun, TheReportShowsEveryNameAsTextWithItsOwnAnchor)
{
    const QString html = HtmlReport::build(HtmlReport::sourcesOf(run));
    EXPECT_FALSE(html.contains(QStringLiteral("<img"), Qt::CaseInsensitive));
    EXPECT_FALSE(html.contains(QStringLiteral("<script"), Qt::CaseInsensitive));
    const PageMarkup page = markupOf(html);
    expectOnlyText(page);

    // Shown as they are, not dropped: equal after case folding or after making an id, quoted,
    // not UTF-8 (replaced), very long.
    for (const std::string& name :
         {imageName, scriptName, std::string("Deck"), std::string("deck"), std::string("Deck-gumbel"),
          std::string("a b"), std::string("a_b"), std::string(200, 'L')})
        EXPECT_TRUE(page.firstCells.contains(QString::fromStdString(name))) << name;
    EXPECT_TRUE(page.firstCells.contains(QStringLiteral("bad\uFFFD\uFFFD")));
    EXPECT_TRUE(page.firstCells.contains(QStringLiteral("two\nlines")));
    EXPECT_TRUE(page.summary.contains(QStringLiteral("<script>alert(1)</script>\n\uFFFD[0m\uFFFDend")));
    // Ordinary names keep their ids; the others get their own.
    EXPECT_TRUE(page.ids.contains(QStringLiteral("LE_Deck")));
    EXPECT_TRUE(page.ids.contains(QStringLiteral("LE_Deck-gumbel")));
    EXPECT_TRUE(page.ids.contains(QStringLiteral("FD_All_Pos_1500-flow-density")));
    // Ten bridges and a broken one each link to their section.
    EXPECT_EQ(page.hrefs.size(), 1 + 10);
}

TEST_F(HostileRun, TheProgramWritesTheSamePageForAHostileFolderName)
{
    const QString target = folder.filePath(QStringLiteral("out.html"));
    QProcess program;
    program.start(QStringLiteral(ROADFLUX_REPORT_PATH),
                  {QString::fromStdString(run.string()), QStringLiteral("-o"), target});
    ASSERT_TRUE(program.waitForFinished(60000));
    ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(written.readAll());
    expectOnlyText(markupOf(html));
    EXPECT_TRUE(html.contains(QStringLiteral("run &quot;&lt;b&gt;&amp;amp;")));
}

class HostileComparison : public RunFolders
{
};

TEST_F(HostileComparison, RunFolderAndFileNamesStayText)
{
    const std::string file = "FD_" + imageName + "%1.csv";
    const std::vector<std::string> names = {"seed \"<i>1</i>&amp;", "seed <b>2", "Seed <b>2"};
    std::vector<std::filesystem::path> folders;
    int flow = 1200;
    for (const std::string& name : names)
    {
        write(name, file, flowDensity("1,7,600,80,6,600,100,13," + std::to_string(flow) + ",90\n"));
        write(name, "FD_All_Pos_1500.csv", flowDensity("1,7,600,80,6,600,100,13,1200,90\n"));
        write(name, "summary.txt", summary(1000, 1060, 100));
        folders.push_back(run(name));
        flow += 60;
    }
    CompareRunsOptions options;
    options.runFolders = folders;
    const QString html = CompareReport::build(compareRuns(options));
    EXPECT_FALSE(html.contains(QStringLiteral("<img"), Qt::CaseInsensitive));
    const PageMarkup page = markupOf(html);
    expectOnlyText(page);
    // The file's own "%1" stays in its name; the runs' count is in its own cell.
    const QString figure = QString::fromStdString(file) + QStringLiteral(":Totals Flow (veh/hr)");
    EXPECT_TRUE(page.firstCells.contains(figure)) << html.toStdString();
    EXPECT_FALSE(html.contains(QStringLiteral("%2")));
    // Two tables, each with its charts, never sharing an id.
    EXPECT_TRUE(page.ids.contains(QStringLiteral("FD_All_Pos_1500-flow-density-runs")));
    EXPECT_EQ(page.ids.filter(QRegularExpression(QStringLiteral("flow-density-runs$"))).size(), 2);
}
