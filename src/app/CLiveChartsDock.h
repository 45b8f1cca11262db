#pragma once
// The live charts beside the road: flow, density and speed over the time of day at each
// flow-and-density detector of the study, a tab per detector, following the run in progress.
// The figures are taken at the repaint rate, not at every step; the last run's picture stays
// until the next run starts. While the dock is hidden the figures wait for it.

#include <QDockWidget>

#include <array>
#include <memory>
#include <vector>

class CLiveFigures;
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
    LiveTimeChart& chart(int detector, Quantity quantity) const;
    QTabWidget& tabs() const { return *detectorTabs; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void startRun();
    void placeCharts(Qt::DockWidgetArea area);

    CLiveFigures& figures;
    int shownRun = 0;
    QStackedWidget* pages = nullptr;
    QLabel* placeholder = nullptr;
    QTabWidget* detectorTabs = nullptr;
    std::vector<std::array<std::unique_ptr<LiveTimeChart>, 3>> charts;
    std::vector<QBoxLayout*> chartRows;  // one per tab, turned with the dock's side
};
