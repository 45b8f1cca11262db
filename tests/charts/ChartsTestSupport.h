#pragma once
// Small measurement files for the chart and report tests, and ways to look into built charts.

#include "charts/ResultCharts.h"
#include "measurements/MeasurementFolder.h"

#include <QAbstractSeries>
#include <QChart>
#include <QList>
#include <QPointF>

#include <filesystem>
#include <fstream>
#include <string>

inline const std::string twoLaneFlowHeader =
    " ,Lane 1, , ,Lane 2, , ,Totals\n"
    "Interval No.,Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h),Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h),"
    "Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h)\n";

// 60 s intervals. Interval 2 has no vehicle in lane 2: its density, speed and the totals' are empty.
inline const std::string threeIntervalFlows = twoLaneFlowHeader + "1,2,120,60,1,60,60,3,180,60\n"
                                                                  "2,1,60,60,,0,,,60,\n"
                                                                  "3,4,240,60,2,120,60,6,360,60\n";

inline const std::string compositionHeader = "No. Cars,No. Small Trucks,No. Large Trucks,No. Cranes,No. Low-Loaders\n";

inline const std::string rateHeader = "LANE CHANGE - RATES BY LOCATION AND TIME\nTime (s),Location (m)\n,0,500,1000,\n";

inline MeasurementEntry entryOf(const std::string& fileName, const std::string& content)
{
    MeasurementEntry entry;
    entry.path = fileName;
    entry.name = *MeasurementFileName::parse(fileName);
    entry.table = readMeasurementTable(CsvText(fileName, content), entry.name.kind);
    return entry;
}

inline void writeTextFile(const std::filesystem::path& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

// The chart's series of type T, in the order added.
template <typename T>
QList<T*> seriesOf(const QChart& chart)
{
    QList<T*> found;
    for (QAbstractSeries* series : chart.series())
        if (auto* typed = qobject_cast<T*>(series))
            found.append(typed);
    return found;
}

inline const ResultChart& chartNamed(const std::vector<ResultChart>& charts, const QString& name)
{
    for (const ResultChart& chart : charts)
        if (chart.name == name)
            return chart;
    throw std::runtime_error("no chart " + name.toStdString());
}
