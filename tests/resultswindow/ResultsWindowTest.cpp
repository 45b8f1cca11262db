#include "charts/ChartsTestSupport.h"

#include "resultswindow/ChartPanel.h"
#include "resultswindow/ResultsWindow.h"

#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Answers the window's questions without dialogs and keeps its warnings.
struct AnsweringDialogs
{
    QString saveAs;
    QString folder;
    QStringList warnings;
    QString suggested;

    void install(ResultsWindow& window)
    {
        window.dialogs().chooseSaveFile = [this](const QString&, const QString&, const QString& suggestion) {
            suggested = suggestion;
            return saveAs;
        };
        window.dialogs().chooseFolder = [this](const QString&, const QString&) { return folder; };
        window.dialogs().warn = [this](const QString& text) { warnings << text; };
    }
};

QString tabTexts(const QTabWidget& tabs)
{
    QStringList texts;
    for (int i = 0; i < tabs.count(); ++i)
        texts << tabs.tabText(i);
    return texts.join(QStringLiteral(" | "));
}

QString pageText(const QTabWidget& tabs, int index)
{
    QStringList texts;
    for (QLabel* label : tabs.widget(index)->findChildren<QLabel*>())
        texts << label->text();
    if (auto* label = qobject_cast<QLabel*>(tabs.widget(index)))
        texts << label->text();
    return texts.join(QLatin1Char('\n'));
}

}  // namespace

TEST(ResultsWindow, ShowsATabPerFileWithItsChartsAndTheReasonForBrokenOnes)
{
    QTemporaryDir folder;
    std::filesystem::path path = folder.path().toStdString();
    writeTextFile(path / "FD_All_Pos_1500.csv", threeIntervalFlows);
    writeTextFile(path / "Comp_Trucks_Neg_200.csv", compositionHeader + "0,1,2,0,0\n");
    writeTextFile(path / "Head_All_Pos_10.csv", "Headways (s)\nLane 1\nsoon\n");
    ResultsWindow window;
    window.showFolder(folder.path());

    QTabWidget& tabs = window.tabs();
    EXPECT_EQ(tabTexts(tabs), QStringLiteral("Flow && Density 1500 m dir 1 | Headway 10 m dir 1 | "
                                             "Composition 200 m dir 2 trucks"));
    EXPECT_EQ(window.panels(0).size(), 5);
    EXPECT_EQ(window.panels(2).size(), 1);
    EXPECT_TRUE(window.panels(1).isEmpty());
    EXPECT_TRUE(pageText(tabs, 1).contains(QStringLiteral("Head_All_Pos_10.csv, line 3: expected a number")));
    EXPECT_TRUE(pageText(tabs, 2).contains(QStringLiteral("Composition, trucks, direction 2, at 200 m")));
    EXPECT_TRUE(window.windowTitle().contains(QStringLiteral("Results")));

    // The files change on disk: Reload reads them again.
    std::filesystem::remove(path / "Head_All_Pos_10.csv");
    window.reload();
    EXPECT_EQ(tabs.count(), 2);
}

TEST(ResultsWindow, SaysWhenAFolderHoldsNothingAndOffersAnother)
{
    QTemporaryDir empty, other;
    writeTextFile(std::filesystem::path(other.path().toStdString()) / "LC_Rate_All_Pos.csv",
                  rateHeader + "60,0,240,0\n");
    ResultsWindow window;
    AnsweringDialogs dialogs;
    dialogs.install(window);
    window.showFolder(empty.path());
    ASSERT_EQ(window.tabs().count(), 1);
    EXPECT_TRUE(pageText(window.tabs(), 0).contains(QStringLiteral("holds no measurement files")));

    window.showFolder(empty.path() + QStringLiteral("/missing"));
    EXPECT_TRUE(pageText(window.tabs(), 0).contains(QStringLiteral("missing")));

    dialogs.folder = other.path();
    window.chooseFolder();
    EXPECT_EQ(window.folder(), other.path());
    EXPECT_EQ(window.tabs().tabText(0), QStringLiteral("Lane changes rates dir 1"));

    // Another page (a space-time diagram) goes after the files' tabs.
    window.addPage(new QLabel(QStringLiteral("diagram")), QStringLiteral("Space-time"));
    EXPECT_EQ(window.tabs().tabText(1), QStringLiteral("Space-time"));
}

TEST(ResultsWindow, SavesAChartWhereTheUserChoosesAndWarnsWhenItCannot)
{
    QTemporaryDir folder;
    writeTextFile(std::filesystem::path(folder.path().toStdString()) / "FD_All_Pos_1500.csv", threeIntervalFlows);
    ResultsWindow window;
    AnsweringDialogs dialogs;
    dialogs.install(window);
    window.showFolder(folder.path());
    ChartPanel* panel = window.panels(0).first();

    dialogs.saveAs = folder.filePath(QStringLiteral("saved.png"));
    panel->savePng();
    EXPECT_EQ(dialogs.suggested, folder.filePath(QStringLiteral("FD_All_Pos_1500-flow-density.png")));
    EXPECT_FALSE(QImage(dialogs.saveAs).isNull());

    dialogs.saveAs = folder.filePath(QStringLiteral("saved.svg"));
    panel->saveSvg();
    EXPECT_TRUE(QFile::exists(dialogs.saveAs));

    dialogs.saveAs = folder.filePath(QStringLiteral("no/such/folder.svg"));
    panel->saveSvg();
    ASSERT_EQ(dialogs.warnings.size(), 1);
    EXPECT_TRUE(dialogs.warnings[0].contains(QStringLiteral("could not be saved")));

    // Cancelled: nothing is written, nothing is said.
    dialogs.saveAs.clear();
    panel->savePng();
    EXPECT_EQ(dialogs.warnings.size(), 1);
}

namespace {

// Text that a label, tooltip or chart would take for markup.
bool holdsMarkup(const QString& text)
{
    return text.contains(QStringLiteral("<img"), Qt::CaseInsensitive) ||
           text.contains(QStringLiteral("<script"), Qt::CaseInsensitive) ||
           text.contains(QStringLiteral("<i>"), Qt::CaseInsensitive);
}

}  // namespace

TEST(ResultsWindow, ShowsNamesAndMessagesFromFilesAsText)
{
    QTemporaryDir root;
    const std::filesystem::path folder = std::filesystem::path(root.path().toStdString()) / "runs <i>1";
    std::filesystem::create_directories(folder);
    // A name that is not UTF-8 cannot be removed by QTemporaryDir.
    struct RemovedAfterwards
    {
        std::filesystem::path path;
        ~RemovedAfterwards() { std::filesystem::remove_all(path); }
    } removed{folder};
    const std::string rows = "interval,end_time_s,maximum,time_of_maximum_s,minimum,time_of_minimum_s,vehicles,"
                             "duration_s\n1,600,100,500,0,10,3,600\n2,1200,300,900,0,610,5,600\n";
    writeTextFile(folder / "LE_x\"><img src=x onerror=alert(1)>.csv", rows);
    writeTextFile(folder / "LE_<script>alert(1) & co.csv", rows);
    writeTextFile(folder / "LE_broken <img src=y>.csv", "interval\n<img src=z>\n");
    writeTextFile(folder / "LE_bad\xff.csv", rows);
    ResultsWindow window;
    window.showFolder(QString::fromStdString(folder.string()));
    QTabWidget& tabs = window.tabs();
    ASSERT_EQ(tabs.count(), 4);

    for (QLabel* label : window.findChildren<QLabel*>())
        EXPECT_TRUE(label->textFormat() == Qt::PlainText || !holdsMarkup(label->text())) << label->text().toStdString();
    for (int i = 0; i < tabs.count(); ++i)
    {
        EXPECT_FALSE(holdsMarkup(tabs.tabToolTip(i))) << tabs.tabToolTip(i).toStdString();
        for (ChartPanel* panel : window.panels(i))
            EXPECT_FALSE(holdsMarkup(panel->chart().title())) << panel->chart().title().toStdString();
    }
    // Shown, not dropped: the names as tab titles (plain text), a byte that is not UTF-8 replaced.
    const QString titles = tabTexts(tabs);
    EXPECT_TRUE(titles.contains(QStringLiteral("<script>alert(1) && co"))) << titles.toStdString();
    EXPECT_TRUE(titles.contains(QStringLiteral("bad\uFFFD"))) << titles.toStdString();
    EXPECT_TRUE(pageText(tabs, 2).contains(QStringLiteral("LE_broken <img src=y>.csv")));
}
