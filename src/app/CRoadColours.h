#pragma once
// The drawing colours a view copies from the configuration record when it is constructed.

#include "config/CConfigData.h"

#include <QColor>

struct CRoadColours
{
    QColor classColour[5];
    QColor backgroundColour;
    QColor roadColour;
    QColor roadLineColour;
    QColor tickColour;
    QColor tickTextColour;
    QColor textColour;
    QColor outputDetectorColour;
    QColor flowDensityDetectorColour;
    QColor headwayDetectorColour;
    QColor compositionDetectorColour;
    QColor speedLimitColour;
    QColor gradientColour;

    static CRoadColours fromConfig(const CConfigData& config);
    // 0x00BBGGRR as stored in the configuration.
    static QColor toQColor(Colour colour);
    // Class 0 to 4; any other class is drawn as a car.
    const QColor& forClass(int vehicleClass) const;
};
