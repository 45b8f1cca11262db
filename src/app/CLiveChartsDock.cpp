#include "app/CLiveChartsDock.h"

#include "app/CLiveFigures.h"
#include "charts/LiveTimeChart.h"

#include <QBoxLayout>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLegend>
#include <QMainWindow>
#include <QStackedWidget>
#include <QTabWidget>

namespace {
const char* const noRunText = "The flow, density and speed at the study's flow and density detectors show here "
                              "while a run goes.";
const char* const noDetectorText = "The study has no flow and density detector (Configuration, Traffic Flow "
                                   "Metrics).";

QString valueTitle(CLiveChartsDock::Quantity quantity)
{
    switch (quantity)
    {
    case CLiveChartsDock::flow: return QStringLiteral("Flow (veh/h)");
    case CLiveChartsDock::density: return QStringLiteral("Density (veh/km)");
    case CLiveChartsDock::speed: break;
    }
    return QStringLiteral("Space-mean speed (km/h)");
}

double valueOf(const FlowDensityFigures& figures, CLiveChartsDock::Quantity quantity)
{
    switch (quantity)
    {
    case CLiveChartsDock::flow: return figures.flow;
    case CLiveChartsDock::density: return figures.density;
    case CLiveChartsDock::speed: break;
    }
    return figures.speed;
}

// A small chart: the tab names the detector and the axis the quantity.
QChart* newCompactChart()
{
    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}
}  // namespace

CLiveChartsDock::CLiveChartsDock(CLiveFigures& liveFigures, QWidget* parent)
    : QDockWidget(QStringLiteral("Live Charts"), parent), figures(liveFigures)
{
    setObjectName(QStringLiteral("liveCharts"));
    setAllowedAreas(Qt::AllDockWidgetAreas);
    pages = new QStackedWidget(this);
    placeholder = new QLabel(QString::fromLatin1(noRunText), pages);
    placeholder->setWordWrap(true);
    placeholder->setAlignment(Qt::AlignCenter);
    placeholder->setMinimumSize(240, 120);
    detectorTabs = new QTabWidget(pages);
    pages->addWidget(placeholder);
    pages->addWidget(detectorTabs);
    setWidget(pages);
    connect(this, &QDockWidget::dockLocationChanged, this, &CLiveChartsDock::placeCharts);
    connect(detectorTabs, &QTabWidget::currentChanged, this, &CLiveChartsDock::drawTab);
}

CLiveChartsDock::~CLiveChartsDock() = default;

LiveTimeChart& CLiveChartsDock::chart(int detector, Quantity quantity) const
{
    return *charts.at(static_cast<std::size_t>(detector)).at(quantity);
}

void CLiveChartsDock::showEvent(QShowEvent* event)
{
    QDockWidget::showEvent(event);
    refresh();
}

void CLiveChartsDock::refresh()
{
    // Hidden, the dock leaves the figures waiting and the run pays nothing for it.
    if (!isVisible())
        return;
    if (figures.getRunNumber() != shownRun)
        startRun();
    const std::vector<CLiveFigures::Interval> intervals = figures.takeNew();
    if (intervals.empty())
        return;
    for (const CLiveFigures::Interval& interval : intervals)
    {
        if (interval.detector >= charts.size())
            continue;
        if (charts[interval.detector][flow])
            add(interval.detector, interval);
        else
            waiting[interval.detector].push_back(interval);
    }
    drawTab(detectorTabs->currentIndex());
}

void CLiveChartsDock::add(std::size_t detector, const CLiveFigures::Interval& interval)
{
    for (Quantity quantity : {flow, density, speed})
    {
        LiveTimeChart& target = *charts[detector][quantity];
        for (std::size_t group = 0; group < interval.groups.size(); ++group)
            target.add(static_cast<int>(group), interval.time, valueOf(interval.groups[group], quantity));
    }
}

void CLiveChartsDock::drawTab(int index)
{
    // The other tabs keep their points queued until shown: only what shows is redrawn.
    if (index < 0 || index >= static_cast<int>(charts.size()))
        return;
    // A tab's charts are made when it first shows: a run with many detectors starts at once.
    if (!charts[static_cast<std::size_t>(index)][flow])
        buildCharts(static_cast<std::size_t>(index));
    for (auto& quantityChart : charts[static_cast<std::size_t>(index)])
        quantityChart->flush();
}

void CLiveChartsDock::startRun()
{
    shownRun = figures.getRunNumber();
    // The views own the charts; the builders go first, then the pages with the views.
    charts.clear();
    chartRows.clear();
    waiting.clear();
    while (detectorTabs->count() > 0)
    {
        QWidget* page = detectorTabs->widget(0);
        detectorTabs->removeTab(0);
        delete page;
    }
    shownDetectors = figures.getDetectors();
    shownRunStart = figures.getRunStart();
    charts.resize(shownDetectors.size());
    waiting.resize(shownDetectors.size());
    for (const CLiveFigures::Detector& detector : shownDetectors)
    {
        auto* page = new QWidget;
        auto* row = new QBoxLayout(QBoxLayout::LeftToRight, page);
        row->setContentsMargins(0, 0, 0, 0);
        chartRows.push_back(row);
        // A tab's text takes & as a mnemonic.
        const int tab = detectorTabs->addTab(
            page, QString::fromStdString(detector.shortTitle).replace(QLatin1Char('&'), QStringLiteral("&&")));
        detectorTabs->setTabToolTip(tab, QString::fromStdString(detector.title));
    }
    placeholder->setText(QString::fromLatin1(shownDetectors.empty() ? noDetectorText : noRunText));
    pages->setCurrentWidget(shownDetectors.empty() ? static_cast<QWidget*>(placeholder) : detectorTabs);
    if (auto* frame = qobject_cast<QMainWindow*>(parentWidget()))
        placeCharts(frame->dockWidgetArea(this));
    drawTab(detectorTabs->currentIndex());
}

void CLiveChartsDock::buildCharts(std::size_t index)
{
    const CLiveFigures::Detector& detector = shownDetectors[index];
    QStringList groups;
    for (int lane = 1; lane <= detector.laneCount; ++lane)
        groups << QStringLiteral("Lane %1").arg(lane);
    groups << QStringLiteral("Totals");
    QWidget* page = detectorTabs->widget(static_cast<int>(index));
    for (Quantity quantity : {flow, density, speed})
    {
        QChart* chart = newCompactChart();
        charts[index][quantity] = std::make_unique<LiveTimeChart>(*chart, valueTitle(quantity), groups, shownRunStart,
                                                                  detector.intervalSeconds);
        auto* view = new QChartView(chart, page);
        view->setMinimumSize(200, 160);
        chartRows[index]->addWidget(view);
    }
    for (const CLiveFigures::Interval& interval : waiting[index])
        add(index, interval);
    waiting[index].clear();
    waiting[index].shrink_to_fit();
}

void CLiveChartsDock::placeCharts(Qt::DockWidgetArea area)
{
    // Side by side under or over the road, one above the other beside it.
    const bool beside = area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea;
    for (QBoxLayout* row : chartRows)
        row->setDirection(beside ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
}
