#pragma once
// The space-time diagram of a run in the Results window: for each direction a chart of the
// recorded paths coloured by speed, with a check box per lane choosing the lanes it shows.

#include "recorders/SpaceTimePicture.h"

#include <QWidget>

#include <map>

struct ResultsDialogs;
class ChartPanel;
class QCheckBox;
class QVBoxLayout;

class SpaceTimePage : public QWidget
{
    Q_OBJECT

public:
    // fileStem: start of the suggested file names of saved charts.
    SpaceTimePage(SpaceTimeSource source, QString fileStem, const ResultsDialogs& dialogs, QWidget* parent = nullptr);

    // The check box of a lane; null for a lane the run did not have.
    QCheckBox* laneBox(int laneNumber) const;
    // The chart panel of direction 1 or 2; null when the direction has no lanes.
    ChartPanel* panel(int direction) const;

private:
    void showDirection(int direction);
    std::vector<int> checkedLanes(int direction) const;
    QString laneName(int roadLane, int direction) const;

    SpaceTimeSource source;
    QString stem;
    const ResultsDialogs& dialogs;
    std::map<int, QCheckBox*> laneBoxes;
    std::map<int, QVBoxLayout*> directionLayouts;
    std::map<int, ChartPanel*> panels;
};
