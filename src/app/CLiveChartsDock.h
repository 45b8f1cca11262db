#pragma once
// The live charts beside the road: flow, density and speed over the time of day at each
// flow-and-density detector of the study, a tab per detector, following the run in progress.
// The figures are taken at the repaint rate, not at every step; the last run's picture stays
// until the next run starts. While the dock is hidden the figures wait for it.

#include "app/CLiveFigures.h"

#include <QDockWidget>

#include <array>
#include <memory>
#include <vector>

class LiveTimeChart;
class QBoxLayout;
class QLabel;
class QStackedWidget;
class QTabWidget;

class CLiveChartsDock : public QDockWidget
{
    Q_OBJECT

public:
    enum Quantity
    {
        flow,
        density,
        speed,
    };

    explicit CLiveChartsDock(CLiveFigures& figures, QWidget* parent = nullptr);
    ~CLiveChartsDock() override;

    // Draws the intervals completed since the last refresh; a new run starts the charts afresh.
    void refresh();

    int detectorCount() const { return static_cast<int>(charts.size()); }
    // Made once its tab has shown.
    LiveTimeChart& chart(int detector, Quantity quantity) const;
    QTabWidget& tabs() const { return *detectorTabs; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void startRun();
    void drawTab(int index);
    void buildCharts(std::size_t index);
    void add(std::size_t detector, const CLiveFigures::Interval& interval);
    void placeCharts(Qt::DockWidgetArea area);

    CLiveFigures& figures;
    int shownRun = 0;
    std::vector<CLiveFigures::Detector> shownDetectors;  // the shown run's
    double shownRunStart = 0.0;                          // s
    QStackedWidget* pages = nullptr;
    QLabel* placeholder = nullptr;
    QTabWidget* detectorTabs = nullptr;
    std::vector<std::array<std::unique_ptr<LiveTimeChart>, 3>> charts;
    std::vector<QBoxLayout*> chartRows;  // one per tab, turned with the dock's side
    // Per detector, the intervals heard before its tab first showed.
    std::vector<std::vector<CLiveFigures::Interval>> waiting;
};
