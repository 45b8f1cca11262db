#pragma once
// A view's display settings: zoom, widths across the road, vehicle drawing, ticks and borders
// (the time warp of visible runs belongs to the view's run control). Fixed defaults at every
// program start; never stored.

struct CDisplaySettings
{
    double viewScale = 1.0;           // device pixels per logical unit (the zoom)
    double widthsScale = 10.0;        // logical units per metre across the road
    double laneWidth = 40.0;          // logical units (4 m)
    double vehicleWidth = 30.0;       // logical units (3 m)
    double vehicleLengthScale = 2.0;  // a vehicle is drawn this many times its length
    double tickLength = 10.0;         // logical units (1 m)
    int tickInterval = 500;           // m between distance ticks
    double borderTop = 20.0;          // logical units
    double borderBottom = 40.0;       // logical units
    double borderLeft = 20.0;         // logical units
    double borderRight = 100.0;       // logical units
    bool showVelocities = true;
    bool showLegend = true;
};
