#include "resultswindow/ResultsWindow.h"

#include "charts/ResultCharts.h"
#include "charts/SpaceTimeCharts.h"
#include "measurements/MeasurementFolder.h"
#include "resultswindow/ChartPanel.h"
#include "resultswindow/LoadEffectPage.h"
#include "resultswindow/SpaceTimePage.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int chartColumns = 2;

// Messages quote files and folders: shown as plain text, never as HTML.
QLabel* messageLabel(const QString& text)
{
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// A tooltip with tags would be shown as HTML: the path is escaped inside markup that keeps it on one line.
QString pathToolTip(const std::filesystem::path& path)
{
    return QStringLiteral("<nobr>%1</nobr>").arg(QString::fromStdString(path.string()).toHtmlEscaped());
}

}  // namespace

ResultsWindow::ResultsWindow(QWidget* parent) : QWidget(parent, Qt::Window), userDialogs(ResultsDialogs::standard(this))
{
    setObjectName(QStringLiteral("resultsWindow"));
    setWindowTitle(QStringLiteral("Results"));
    folderLabel = new QLabel(this);
    folderLabel->setTextFormat(Qt::PlainText);
    folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* choose = new QPushButton(QStringLiteral("&Folder..."), this);
    choose->setToolTip(QStringLiteral("Show the measurement files of another folder"));
    connect(choose, &QPushButton::clicked, this, &ResultsWindow::chooseFolder);
    auto* again = new QPushButton(QStringLiteral("&Reload"), this);
    again->setToolTip(QStringLiteral("Read the folder's files again"));
    connect(again, &QPushButton::clicked, this, &ResultsWindow::reload);

    auto* top = new QHBoxLayout;
    top->addWidget(folderLabel, 1);
    top->addWidget(choose);
    top->addWidget(again);
    tabWidget = new QTabWidget(this);
    tabWidget->setDocumentMode(true);
    tabWidget->setUsesScrollButtons(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tabWidget, 1);
    resize(1040, 760);
}

ResultsWindow::~ResultsWindow() = default;

void ResultsWindow::showFolder(const QString& folder, const DetectorIntervals& intervals, const BridgeSet& bridges)
{
    currentFolder = folder;
    knownIntervals = intervals;
    knownBridges = bridges;
    reload();
}

void ResultsWindow::reload()
{
    for (int index = tabWidget->count() - 1; index >= 0; --index)
    {
        QWidget* page = tabWidget->widget(index);
        if (extraPages.contains(page))
            continue;
        tabWidget->removeTab(index);
        delete page;
    }
    int position = 0;
    auto addTab = [&](QWidget* page, const QString& title) { return tabWidget->insertTab(position++, page, title); };
    folderLabel->setText(QStringLiteral("Measurement files in %1").arg(QDir::toNativeSeparators(currentFolder)));
    setWindowTitle(QStringLiteral("Results - %1").arg(QDir::toNativeSeparators(currentFolder)));
    MeasurementFolder read = MeasurementFolder::read(currentFolder.toStdString());
    if (!read.error.empty())
    {
        addTab(messageLabel(QString::fromStdString(read.error)), QStringLiteral("No files"));
        return;
    }
    std::vector<BridgeResults> bridges = BridgeResults::readFolder(currentFolder.toStdString());
    BridgeResults::takeUnitsFrom(bridges, knownBridges);
    shownRun = FolderRun::of(read, bridges, recorded ? &*recorded : nullptr);
    folderLabel->setText(folderLabel->text() + QStringLiteral("; ") + shownRun.text());
    if (read.entries.empty() && bridges.empty())
    {
        addTab(messageLabel(QStringLiteral("%1 holds no measurement files. A run writes them into "
                                           "the study's metrics folder.")
                                .arg(QDir::toNativeSeparators(currentFolder))),
               QStringLiteral("No files"));
        return;
    }
    // "&" would mark a shortcut letter.
    auto tabTitle = [](const std::string& text) {
        return QString::fromStdString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
    };
    for (const MeasurementEntry& entry : read.entries)
    {
        int index = addTab(pageFor(entry), tabTitle(entry.name.shortTitle()));
        tabWidget->setTabToolTip(index, pathToolTip(entry.path));
    }
    for (BridgeResults& bridge : bridges)
    {
        QString path = pathToolTip(bridge.seriesPath);
        QString title = tabTitle("Bridge " + bridge.name);
        int index = addTab(pageFor(std::move(bridge)), title);
        tabWidget->setTabToolTip(index, path);
    }
}

QWidget* ResultsWindow::pageFor(BridgeResults bridge)
{
    if (!bridge.isRead())
        return messageLabel(QString::fromStdString(bridge.error->what()));
    QString stem = QString::fromStdString((bridge.seriesPath.parent_path() / bridge.seriesPath.stem()).string());
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setWidget(new LoadEffectPage(std::move(bridge), stem, userDialogs));
    return scroll;
}

QWidget* ResultsWindow::pageFor(const MeasurementEntry& entry)
{
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    auto* heading = new QLabel(QStringLiteral("<b>%1</b><br>%2")
                                   .arg(QString::fromStdString(entry.name.title()).toHtmlEscaped(),
                                        QString::fromStdString(entry.path.filename().string()).toHtmlEscaped()));
    heading->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(heading);
    if (!entry.isRead())
    {
        layout->addWidget(messageLabel(QString::fromStdString(entry.error->what())), 1);
        return content;
    }
    auto* grid = new QGridLayout;
    layout->addLayout(grid, 1);
    std::vector<ResultChart> charts = chartsOf(entry, knownIntervals.of(entry.name), shownRun.context);
    QString stem = QString::fromStdString((entry.path.parent_path() / entry.path.stem()).string());
    int position = 0;
    for (ResultChart& chart : charts)
    {
        auto* panel = new ChartPanel(std::move(chart), stem, userDialogs);
        grid->addWidget(panel, position / chartColumns, position % chartColumns);
        ++position;
    }
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    return scroll;
}

void ResultsWindow::chooseFolder()
{
    QString chosen = userDialogs.chooseFolder(QStringLiteral("Show the Measurement Files of a Folder"), currentFolder);
    if (!chosen.isEmpty())
        showFolder(chosen);
}

void ResultsWindow::addPage(QWidget* page, const QString& title)
{
    for (const QPointer<QWidget>& extra : extraPages)
    {
        int index = extra ? tabWidget->indexOf(extra) : -1;
        if (index >= 0 && tabWidget->tabText(index) == title)
        {
            tabWidget->removeTab(index);
            delete extra.data();
        }
    }
    extraPages.removeAll(nullptr);
    extraPages.append(page);
    tabWidget->addTab(page, title);
}

void ResultsWindow::showSpaceTime(SpaceTimeSource source)
{
    QString stem = QDir(currentFolder).filePath(QStringLiteral("run"));
    recorded = RunJustMade::of(source, currentFolder);
    // The files of the run just made count time from a start only the run itself knows.
    if (!shownRun.context.start && recorded->start)
        reload();
    addPage(new SpaceTimePage(std::move(source), stem, userDialogs), QStringLiteral("Space-time diagram"));
}

QString ResultsWindow::header() const
{
    return folderLabel->text();
}

QList<ChartPanel*> ResultsWindow::panels(int index) const
{
    QWidget* page = tabWidget->widget(index);
    if (page == nullptr)
        return {};
    return page->findChildren<ChartPanel*>();
}
