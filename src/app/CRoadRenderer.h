#pragma once
// Draws one frame of a study onto a painter set to the view's logical mapping: the road and its
// markings, features, detectors, ticks, legend, vehicles and the two clocks. Text keeps its
// screen size at every zoom; only its anchor point is mapped.

#include "app/CDisplaySettings.h"
#include "app/CRoadColours.h"
#include "app/CRoadLayout.h"
#include "app/CRoadScene.h"
#include "app/CVehicleMark.h"

#include <QFont>
#include <QPainter>
#include <QString>

#include <vector>

using VehicleMarkLists = std::vector<std::vector<CVehicleMark>>;

struct CClockValues
{
    double simTime = 0.0;   // s, simulated
    int realElapsedMs = 0;  // ms of real run time
};

class CRoadRenderer
{
public:
    // clientHeight: the window's client height in pixels, which places the clocks and legend.
    CRoadRenderer(QPainter& dc, const CDisplaySettings& display, const CRoadLayout& layout, const CRoadColours& colours,
                  int clientHeight);

    // The font of every text of a frame: fixed, so that frames look alike on every machine.
    static QFont frameFont();

    // vehicles: null when no run is in progress.
    void drawFrame(const CRoadScene& scene, const VehicleMarkLists* vehicles, const CClockValues& clocks);

    void drawRoad(const CRoadScene& scene);
    void drawRoadFeatures(const CRoadScene& scene);
    void drawFeatureBox(const QColor& colour, Qt::BrushStyle hatch, int type, int value, int left, int top, int right,
                        int bottom, int offset);
    void drawDetectors(const CRoadScene& scene);
    void drawDetectorLine(const QColor& colour, int location, bool positive);
    void drawLaneChangeLabel(bool positive);
    // Each bridge as an outline around the road over its length, its name above it.
    void drawBridges(const CRoadScene& scene);
    void drawTicks();
    void drawLegend();
    void drawLegendClass(int vehicleClass, const QString& name, int sw, int x, int y);
    void drawLegendDetector(int gap, int sw, int x, int y, const QString& name, const QColor& colour);
    void drawLegendSection(const QColor& colour, Qt::BrushStyle hatch, int type, const QString& name, int value, int sw,
                           int x, int y);
    void drawVehicle(const CVehicleMark& vehicle);
    void fillByClass(int vehicleClass, int left, int top, int right, int bottom);
    void drawClocks(const CClockValues& clocks);

    // Size of a text in logical units.
    QSize textExtent(const QString& text) const;
    // Logical y of the window's top edge.
    int windowTop() const;

private:
    void fillSolidRect(int left, int top, int right, int bottom, const QColor& colour);
    void textOut(int x, int y, const QString& text);
    void line(int x1, int y1, int x2, int y2);
    void selectPen(const QColor& colour, double logicalWidth, Qt::PenStyle style = Qt::SolidLine);
    // Logical units for n device pixels, so that legend elements keep their screen size.
    int pixels(int n) const;
    // Carriageway edge of one direction: logical y of its far edge from the centre line.
    int carriagewayEdge(bool positive) const;
    bool visibleX(double left, double right) const;

    QPainter& dc;
    const CDisplaySettings& display;
    const CRoadLayout& layout;
    const CRoadColours& colours;
    int clientHeight;
    QFont font;
    QFontMetrics metrics;
    double visibleLeft;
    double visibleRight;
    // Text state of a fresh drawing context: black on white, opaque; filling a rectangle leaves
    // its colour as the text background.
    QColor textColour{Qt::black};
    QColor textBackground{Qt::white};
    bool transparentText = false;
};
