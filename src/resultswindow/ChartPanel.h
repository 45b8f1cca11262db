#pragma once
// One chart of the Results window with its buttons: save as PNG, save as SVG, copy.

#include "charts/ResultCharts.h"

#include <QWidget>

struct ResultsDialogs;
class QChartView;
class QPushButton;

class ChartPanel : public QWidget
{
    Q_OBJECT

public:
    // fileStem: start of the suggested file names, e.g. "/runs/a/metrics/FD_All_Pos_1500".
    ChartPanel(ResultChart chart, QString fileStem, const ResultsDialogs& dialogs, QWidget* parent = nullptr);
    ~ChartPanel() override;

    QChart& chart() const;
    QChartView& view() const { return *chartView; }
    const QString& name() const { return chartName; }

    void savePng();
    void saveSvg();
    void copy();

private:
    QString suggestion(const QString& extension) const;

    QChartView* chartView = nullptr;
    QString chartName;
    QString stem;
    const ResultsDialogs& dialogs;
};
