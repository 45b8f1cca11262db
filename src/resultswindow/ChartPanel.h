#pragma once
// One chart of the Results window with its controls: the value under the pointer, a button that
// shows the whole chart again after zooming or panning, the size of the exported picture (px),
// and save as PNG, save as SVG and copy at that size.

#include "charts/ResultCharts.h"

#include <QSize>
#include <QWidget>

struct ResultsDialogs;
class NavigableChartView;
class QLabel;
class QPushButton;
class QSpinBox;

class ChartPanel : public QWidget
{
    Q_OBJECT

public:
    // fileStem: start of the suggested file names, e.g. "/runs/a/metrics/FD_All_Pos_1500".
    ChartPanel(ResultChart chart, QString fileStem, const ResultsDialogs& dialogs, QWidget* parent = nullptr);
    ~ChartPanel() override;

    QChart& chart() const;
    NavigableChartView& view() const { return *chartView; }
    const QString& name() const { return chartName; }

    // The size (px) of the pictures saved and copied; each side within the boxes' range.
    QSize exportSize() const;
    void setExportSize(QSize size);
    // The text that tells the value under the pointer.
    QString pointerText() const;

    void savePng();
    void saveSvg();
    void copy();

    static constexpr int smallestExportSide = 100;
    static constexpr int largestExportSide = 10000;

private:
    QString suggestion(const QString& extension) const;
    QSpinBox* newSideBox(int value, const QString& name, const QString& tip);

    NavigableChartView* chartView = nullptr;
    QLabel* pointerValue = nullptr;
    QPushButton* resetButton = nullptr;
    QSpinBox* exportWidth = nullptr;
    QSpinBox* exportHeight = nullptr;
    QString chartName;
    QString stem;
    const ResultsDialogs& dialogs;
};
