#include "replications/RunFolders.h"

#include <QProcess>
#include <QXmlStreamReader>

#include <gmock/gmock.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

constexpr double day = 86400.0;

struct Ran
{
    int status = -1;
    std::string out, err;
};

class ExtremesReportTest : public RunFolders
{
protected:
    // A run over `days` days from day `first`, the road empty for its first and last ten minutes.
    void writeRun(const std::string& name, int first, int days, const std::vector<std::string>& bridges)
    {
        write(name, "summary.txt", summary(first * day + 600.0, (first + days) * day - 600.0, 100));
        for (const std::string& bridge : bridges)
            writeBridge(name, bridge, first, days);
    }

    // A bridge's seconds with loads (two a day, the larger drawn from a Gumbel distribution) and the
    // daily interval rows that give its span.
    void writeBridge(const std::string& name, const std::string& bridge, int first, int days)
    {
        const double start = first * day + 600.0;
        const double end = (first + days) * day - 600.0;
        std::string seconds = "second,end_time_s,maximum,minimum\n";
        std::string intervals =
            "interval,end_time_s,maximum,time_of_maximum_s,minimum,time_of_minimum_s,vehicles,duration_s\n";
        for (int d = 0; d < days; ++d)
        {
            const double from = start + d * day;
            const double to = std::min(from + day, end);
            const double largest = nextMaximum();
            const double at = from + 40000.0;
            seconds += row({at - start - 500.0, at - 500.0, 0.6 * largest, -1.0});
            seconds += row({at - start, at, largest, 0.0});
            intervals += row({d + 1.0, to, largest, at, -1.0, at - 500.0, 40.0, to - from});
        }
        write(name, "LE_" + bridge + "_seconds.csv", seconds);
        write(name, "LE_" + bridge + ".csv", intervals);
    }

    static std::string row(const std::vector<double>& cells)
    {
        std::string text;
        for (double cell : cells)
        {
            char number[40];
            std::snprintf(number, sizeof number, "%.10g", cell);
            text += (text.empty() ? "" : ",") + std::string(number);
        }
        return text + '\n';
    }

    // Gumbel maxima (location 5000, scale 400) from a fixed sequence of uniforms.
    double nextMaximum()
    {
        draw = std::fmod(draw * 997.0 + 0.1234567, 1.0);
        const double u = 0.02 + 0.96 * draw;
        return 5000.0 - 400.0 * std::log(-std::log(u));
    }

    Ran report(const QStringList& arguments) const
    {
        QProcess program;
        program.start(QStringLiteral(ROADFLUX_REPORT_PATH), arguments);
        Ran ran;
        if (!program.waitForFinished(120000))
            return ran;
        ran.status = program.exitCode();
        ran.out = program.readAllStandardOutput().toStdString();
        ran.err = program.readAllStandardError().toStdString();
        return ran;
    }

    QString at(const std::string& name) const { return QString::fromStdString(run(name).string()); }

    // Three runs of six days each (days 0 to 17) of the bridges Deck and Pier; Short has three
    // days of the first.
    QStringList threeRuns()
    {
        writeRun("day-0", 0, 6, {"Deck", "Pier"});
        writeBridge("day-0", "Short", 0, 3);
        writeRun("day-6", 6, 6, {"Deck", "Pier"});
        writeRun("day-12", 12, 6, {"Deck", "Pier"});
        return {at("day-0"), at("day-6"), at("day-12")};
    }

    double draw = 0.3;
};

// The page parsed as XML: its ids and the text of each element with an id.
struct Page
{
    std::map<QString, QString> byId;
    QString error;

    bool has(const char* id) const { return byId.contains(QString::fromLatin1(id)); }
    std::string text(const char* id) const
    {
        const auto found = byId.find(QString::fromLatin1(id));
        return found == byId.end() ? std::string() : found->second.toStdString();
    }
};

Page parsed(const std::string& html)
{
    Page page;
    QXmlStreamReader reader(QString::fromStdString(html));
    std::vector<QString> open;  // ids of the elements around the text
    while (!reader.atEnd())
    {
        reader.readNext();
        if (reader.isStartElement())
        {
            const QString id = reader.attributes().value(QStringLiteral("id")).toString();
            open.push_back(id);
            if (!id.isEmpty())
                page.byId[id];
        }
        else if (reader.isEndElement())
            open.pop_back();
        else if (reader.isCharacters())
            for (const QString& id : open)
                if (!id.isEmpty())
                    page.byId[id] += reader.text();
    }
    if (reader.hasError())
        page.error = reader.errorString();
    return page;
}

}  // namespace

TEST_F(ExtremesReportTest, ThePageShowsEachBridgesPlotsFiguresAndWhyABridgeHasNoFit)
{
    const QString target = QString::fromStdString((root / "extremes.html").string());
    const Ran ran = report(QStringList{QStringLiteral("--extremes")} + threeRuns() +
                           QStringList{QStringLiteral("--return-period"), QStringLiteral("1"), QStringLiteral("75"),
                                       QStringLiteral("-o"), target});
    ASSERT_EQ(ran.status, 0) << ran.err;
    EXPECT_THAT(ran.out, HasSubstr("Extremes written to"));
    EXPECT_THAT(ran.err, HasSubstr("bridge Short: no Gumbel fit"));
    const std::string html = read(target.toStdString());
    const Page page = parsed(html);
    ASSERT_TRUE(page.error.isEmpty()) << page.error.toStdString();

    EXPECT_THAT(page.text("provenance"), HasSubstr("roadflux-report"));
    EXPECT_THAT(page.text("provenance"), HasSubstr("Runs read3"));
    EXPECT_THAT(page.text("provenance"), HasSubstr("day (86400 s)"));
    EXPECT_THAT(page.text("provenance"), HasSubstr("1, 75 years"));
    EXPECT_THAT(page.text("runs"), HasSubstr("day-12"));

    for (const char* bridge : {"Deck", "Pier"})
    {
        const std::string id = bridge;
        EXPECT_THAT(page.text(bridge), HasSubstr("18 whole days from 3 runs in 1 series; 0 partial days left out"));
        EXPECT_TRUE(page.has((id + "-probability-plot").c_str())) << bridge;
        EXPECT_TRUE(page.has((id + "-return-levels").c_str())) << bridge;
        EXPECT_THAT(page.text((id + "-fits").c_str()), HasSubstr("Gumbel"));
        EXPECT_THAT(page.text((id + "-levels").c_str()), HasSubstr("27393.8"));  // 75 years in days
    }
    // The figures are those the console gives, six digits and errors to three.
    EXPECT_THAT(page.text("Deck-test"), HasSubstr("deviance "));
    EXPECT_THAT(page.text("Deck-test"), HasSubstr("at the 5 % level"));
    // 75 years are 1522 times the 18 days observed; a year is 20 times.
    EXPECT_THAT(page.text("Deck"), HasSubstr("The 75-year return period is 27393.8 days, 1522 times the 18 days"));
    EXPECT_THAT(page.text("Deck"), HasSubstr("The 1-year return period is 365.25 days, 20 times"));

    EXPECT_THAT(page.text("Short"), HasSubstr("3 whole days from 1 run"));
    EXPECT_THAT(page.text("Short"), HasSubstr("There is no fit of this bridge: no Gumbel fit"));
    EXPECT_FALSE(page.has("Short-return-levels"));
    EXPECT_THAT(page.text("Short-maxima"), HasSubstr("Time of the maximum"));
}

TEST_F(ExtremesReportTest, CarelessCommandLinesAndFoldersAreRefusedByName)
{
    const QStringList runs = threeRuns();
    const QString target = QString::fromStdString((root / "page.html").string());
    // Options of the other pages, the block without --extremes, periods out of range: usage (2).
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("--hour"), QStringLiteral("2")},
          QStringList{QStringLiteral("--csv"), QStringLiteral("x")}, QStringList{QStringLiteral("--compare")},
          QStringList{QStringLiteral("--study"), QStringLiteral("s.rfx")},
          QStringList{QStringLiteral("--block"), QStringLiteral("month")},
          QStringList{QStringLiteral("--return-period"), QStringLiteral("0.001")},
          QStringList{QStringLiteral("--return-period"), QStringLiteral("nan")}})
    {
        const Ran ran = report(QStringList{QStringLiteral("--extremes")} + runs + arguments +
                               QStringList{QStringLiteral("-o"), target});
        EXPECT_EQ(ran.status, 2) << arguments.join(' ').toStdString() << ": " << ran.err;
        EXPECT_THAT(ran.err, HasSubstr(arguments.front().toStdString())) << arguments.join(' ').toStdString();
    }
    EXPECT_EQ(report({QStringLiteral("--extremes")}).status, 2);
    EXPECT_EQ(report({QStringLiteral("--extremes"), runs.front(), QStringLiteral("-o"), QString()}).status, 2);
    EXPECT_EQ(report({QStringLiteral("--block"), QStringLiteral("week"), runs.front()}).status, 2);

    // Folders that are no run with load effects, a file for a run, a truncated file: refused (1).
    write("empty", "summary.txt", summary(0.0, day, 1));
    const std::string file = (root / "notes.txt").string();
    std::ofstream(file) << "not a run\n";
    for (const QString& folder : {at("missing"), at("empty"), QString::fromStdString(file), at("day-0.partial")})
    {
        const Ran ran = report({QStringLiteral("--extremes"), runs.front(), folder, QStringLiteral("-o"), target});
        EXPECT_EQ(ran.status, 1) << folder.toStdString() << ": " << ran.err;
        EXPECT_THAT(ran.err, HasSubstr(std::filesystem::path(folder.toStdString()).filename().string()));
    }
    const std::filesystem::path seconds = run("day-6") / "metrics" / "LE_Deck_seconds.csv";
    const std::string whole = read(seconds);
    // Cut in its last line, after the first two cells.
    write("day-6", "LE_Deck_seconds.csv", whole.substr(0, whole.rfind(',', whole.rfind(',') - 1)));
    const Ran truncated = report(QStringList{QStringLiteral("--extremes")} + runs + QStringList{"-o", target});
    EXPECT_EQ(truncated.status, 1);
    EXPECT_THAT(truncated.err, HasSubstr("LE_Deck_seconds.csv"));
    EXPECT_FALSE(std::filesystem::exists(target.toStdString()));

    // The page may not replace a file it reads.
    write("day-6", "LE_Deck_seconds.csv", whole);
    const Ran over = report(QStringList{QStringLiteral("--extremes")} + runs +
                            QStringList{QStringLiteral("-o"), QString::fromStdString(seconds.string())});
    EXPECT_EQ(over.status, 1);
    EXPECT_THAT(over.err, HasSubstr("LE_Deck_seconds.csv"));
    EXPECT_EQ(read(seconds), whole);
}

TEST_F(ExtremesReportTest, ABridgeNamedLikeMarkupStaysText)
{
    writeRun("a", 0, 8, {"<script>", "x&y"});
    const QString target = QString::fromStdString((root / "page.html").string());
    const Ran ran = report({QStringLiteral("--extremes"), at("a"), QStringLiteral("-o"), target});
    ASSERT_EQ(ran.status, 0) << ran.err;
    const std::string html = read(target.toStdString());
    const Page page = parsed(html);
    ASSERT_TRUE(page.error.isEmpty()) << page.error.toStdString();
    EXPECT_THAT(html, Not(HasSubstr("<script")));
    EXPECT_THAT(html, HasSubstr("Bridge &lt;script&gt;"));
    EXPECT_THAT(page.text("bridges"), HasSubstr("Bridge <script>"));
    EXPECT_THAT(page.text("bridges"), HasSubstr("Bridge x&y"));
}
