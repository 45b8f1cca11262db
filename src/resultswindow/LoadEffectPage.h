#pragma once
// A bridge's page of the Results window: its load-effect charts, with the hour the time chart
// shows and the return period of the Gumbel plot's return level chosen by the user.

#include "charts/LoadEffectCharts.h"

#include <QWidget>

struct ResultsDialogs;
class ChartPanel;
class QDoubleSpinBox;
class QGridLayout;
class QSpinBox;

class LoadEffectPage : public QWidget
{
    Q_OBJECT

public:
    // fileStem: start of the suggested file names of saved charts.
    LoadEffectPage(BridgeResults bridge, QString fileStem, const ResultsDialogs& dialogs, QWidget* parent = nullptr);

    QSpinBox& hourBox() const { return *hour; }
    QDoubleSpinBox& returnYearsBox() const { return *returnYears; }
    const std::vector<ChartPanel*>& panels() const { return chartPanels; }

private:
    void showCharts();

    BridgeResults bridge;
    QString stem;
    const ResultsDialogs& dialogs;
    QSpinBox* hour = nullptr;
    QDoubleSpinBox* returnYears = nullptr;
    QGridLayout* grid = nullptr;
    std::vector<ChartPanel*> chartPanels;
};
