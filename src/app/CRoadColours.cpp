#include "app/CRoadColours.h"

QColor CRoadColours::toQColor(Colour colour)
{
    return QColor(static_cast<int>(colour & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
                  static_cast<int>((colour >> 16) & 0xFFu));
}

CRoadColours CRoadColours::fromConfig(const CConfigData& config)
{
    CRoadColours colours;
    for (int k = 0; k < 5; ++k)
        colours.classColour[k] = toQColor(config.classColour[k]);
    colours.backgroundColour = toQColor(config.backgroundColour);
    colours.roadColour = toQColor(config.roadColour);
    colours.roadLineColour = toQColor(config.roadLineColour);
    colours.tickColour = toQColor(config.tickColour);
    colours.tickTextColour = toQColor(config.tickTextColour);
    colours.textColour = toQColor(config.textColour);
    colours.outputDetectorColour = toQColor(config.outputDetectorColour);
    colours.flowDensityDetectorColour = toQColor(config.flowDensityDetectorColour);
    colours.headwayDetectorColour = toQColor(config.headwayDetectorColour);
    colours.compositionDetectorColour = toQColor(config.compositionDetectorColour);
    colours.speedLimitColour = toQColor(config.speedLimitColour);
    colours.gradientColour = toQColor(config.gradientColour);
    return colours;
}

const QColor& CRoadColours::forClass(int vehicleClass) const
{
    return vehicleClass >= 1 && vehicleClass <= 4 ? classColour[vehicleClass] : classColour[0];
}
