#pragma once
// Stacked bars of vehicle classes per interval, in the configuration's class colours: what the
// composition file and the lane-change composition file both show. Many intervals (a day of
// minutes) touch, so that each stays visible.

#include "charts/ChartAxes.h"
#include "measurements/CompositionTable.h"

#include <QString>

#include <optional>
#include <vector>

class QChart;

struct ClassBarsAxis
{
    std::vector<double> centres;            // bar centres, in axis units
    double spacing = 1.0;                   // from one interval to the next, in axis units
    QString title;                          // axis title with unit
    std::optional<ChartAxes::Clock> clock;  // a time axis (centres in its values, s); title unused
};

// heights: one ClassCounts per bar. upTitle: the value axis's title.
void addClassBars(QChart& chart, const std::vector<ClassCounts>& counts, const ClassBarsAxis& across,
                  const QString& upTitle);
