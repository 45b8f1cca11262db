#include "resultswindow/SpaceTimePage.h"

#include "charts/LaneName.h"
#include "charts/SpaceTimeCharts.h"
#include "resultswindow/ChartPanel.h"
#include "resultswindow/FolderRun.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

SpaceTimePage::SpaceTimePage(SpaceTimeSource recorded, QString fileStem, const ResultsDialogs& resultsDialogs,
                             QWidget* parent)
    : QWidget(parent), source(std::move(recorded)), stem(std::move(fileStem)), dialogs(resultsDialogs)
{
    setObjectName(QStringLiteral("spaceTimePage"));
    auto* layout = new QVBoxLayout(this);
    for (int direction : {1, 2})
    {
        auto* group = new QGroupBox(QStringLiteral("Direction %1").arg(direction), this);
        auto* groupLayout = new QVBoxLayout(group);
        auto* boxes = new QHBoxLayout;
        boxes->addWidget(new QLabel(QStringLiteral("Lanes:"), group));
        for (const SpaceTimeSource::Lane& lane : source.lanes)
        {
            if (lane.direction != direction)
                continue;
            auto* box = new QCheckBox(laneName(lane.number, direction), group);
            box->setChecked(true);
            connect(box, &QCheckBox::toggled, this, [this, direction] { showDirection(direction); });
            boxes->addWidget(box);
            laneBoxes[lane.number] = box;
        }
        if (boxes->count() == 1)
        {
            delete boxes;
            delete group;
            continue;
        }
        boxes->addStretch();
        groupLayout->addLayout(boxes);
        layout->addWidget(group);
        directionLayouts[direction] = groupLayout;
        showDirection(direction);
    }
    layout->addStretch();
}

std::vector<int> SpaceTimePage::checkedLanes(int direction) const
{
    std::vector<int> lanes;
    for (const SpaceTimeSource::Lane& lane : source.lanes)
        if (lane.direction == direction && laneBoxes.at(lane.number)->isChecked())
            lanes.push_back(lane.number);
    return lanes;
}

void SpaceTimePage::showDirection(int direction)
{
    std::vector<int> lanes = checkedLanes(direction);
    QStringList names;
    for (int lane : lanes)
        names << laneName(lane, direction);
    QString what = lanes.empty() ? QStringLiteral("direction %1, no lane chosen").arg(direction)
                                 : names.join(QStringLiteral(", "));
    SpaceTimePicture picture = lanes.empty() || !source.picture ? SpaceTimePicture{} : source.picture(lanes);
    delete panels[direction];
    panels[direction] = new ChartPanel(spaceTimeChart(picture, what, direction), stem, dialogs, this);
    directionLayouts.at(direction)->addWidget(panels[direction], 1);
}

QString SpaceTimePage::laneName(int roadLane, int direction) const
{
    return LaneName::ofRoadLane(roadLane, direction == 1, RunJustMade::of(source, {}).lanes);
}

QCheckBox* SpaceTimePage::laneBox(int laneNumber) const
{
    auto found = laneBoxes.find(laneNumber);
    return found == laneBoxes.end() ? nullptr : found->second;
}

ChartPanel* SpaceTimePage::panel(int direction) const
{
    auto found = panels.find(direction);
    return found == panels.end() ? nullptr : found->second;
}
