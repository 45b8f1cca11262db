#include "app/CRoadRenderer.h"

#include <QPaintDevice>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
int truncated(double v)
{
    return static_cast<int>(v);
}

QString formatted(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return QString::fromLatin1(text);
}

QString formatted(const char* format, int value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return QString::fromLatin1(text);
}

// "Day: d - h:mm:ss.ss" of a time in seconds.
QString clockText(const char* label, double t)
{
    const int days = truncated(t / 86400.0);
    t -= days * 86400.0;
    const int hours = truncated(t / 3600.0);
    t -= hours * 3600.0;
    const int minutes = truncated(t / 60.0);
    t -= minutes * 60.0;
    char text[128];
    std::snprintf(text, sizeof text, "%s - Day: %d - %d:%02d:%05.2f", label, days, hours, minutes, t);
    return QString::fromLatin1(text);
}

constexpr int speedLimitType = 400;
constexpr int gradientType = 401;
}

CRoadRenderer::CRoadRenderer(QPainter& painter, const CDisplaySettings& displaySettings, const CRoadLayout& roadLayout,
                             const CRoadColours& roadColours, int clientPixelHeight)
    : dc(painter), display(displaySettings), layout(roadLayout), colours(roadColours), clientHeight(clientPixelHeight),
      font(frameFont()), metrics(font)
{
    const QPaintDevice* device = dc.device();
    const QRectF deviceRect(0, 0, device ? device->width() : 0, device ? device->height() : 0);
    const QRectF logical = dc.transform().inverted().mapRect(deviceRect);
    visibleLeft = logical.left();
    visibleRight = logical.right();
    dc.setFont(font);
}

QFont CRoadRenderer::frameFont()
{
    QFont frame(QStringLiteral("DejaVu Sans"));
    frame.setPixelSize(12);
    frame.setStyleHint(QFont::SansSerif);
    return frame;
}

void CRoadRenderer::drawFrame(const CRoadScene& scene, const VehicleMarkLists* vehicles, const CClockValues& clocks)
{
    dc.setRenderHint(QPainter::Antialiasing, false);
    drawRoad(scene);
    drawTicks();
    if (display.showLegend)
        drawLegend();
    if (vehicles)
        for (const auto& lane : *vehicles)
            for (const CVehicleMark& vehicle : lane)
                drawVehicle(vehicle);
    drawClocks(clocks);
}

void CRoadRenderer::drawRoad(const CRoadScene& scene)
{
    const int left = truncated(display.borderLeft);
    const int right = truncated(layout.roadLength + display.borderLeft);
    fillSolidRect(left, layout.yTop, left + layout.roadLength, layout.yTop + layout.lanesHeight, colours.roadColour);
    drawRoadFeatures(scene);

    selectPen(colours.roadLineColour, 0);
    line(left, layout.yTop, right, layout.yTop);
    line(left, layout.yBottom, right, layout.yBottom);

    selectPen(colours.roadLineColour, 0, Qt::DashLine);
    int y = layout.yBottom;
    for (int i = 0; i < layout.totalLanes - 1; ++i)
    {
        y = truncated(y - display.laneWidth);
        line(left, y, right, y);
    }

    selectPen(colours.roadLineColour, 0);
    if (layout.numDirections == 2)
        line(left, 0, right, 0);
    drawDetectors(scene);
    drawBridges(scene);
}

void CRoadRenderer::drawBridges(const CRoadScene& scene)
{
    textColour = colours.textColour;
    textBackground = colours.backgroundColour;
    for (const CBridgeMark& bridge : scene.bridges)
    {
        const int left = truncated(bridge.start + display.borderLeft);
        const int right = truncated(bridge.start + bridge.length + display.borderLeft);
        const int top = layout.yTop - pixels(3);
        const int bottom = layout.yBottom + pixels(3);
        selectPen(colours.textColour, pixels(2));
        line(left, top, right, top);
        line(right, top, right, bottom);
        line(right, bottom, left, bottom);
        line(left, bottom, left, top);
        const QString name = QString::fromStdString(bridge.name);
        textOut(left, top - textExtent(name).height() - pixels(2), name);
    }
}

void CRoadRenderer::drawRoadFeatures(const CRoadScene& scene)
{
    for (const CFeatureMark& feature : scene.features)
    {
        const bool gradient = feature.type == gradientType;
        const QColor& colour = gradient ? colours.gradientColour : colours.speedLimitColour;
        const Qt::BrushStyle hatch = gradient ? Qt::VerPattern : Qt::DiagCrossPattern;
        const int label = gradient ? truncated(feature.value + 0.5) : truncated(feature.value * 3.6 + 0.5);
        const int lanes = feature.directionPositive ? layout.lanesDir1 : layout.lanesDir2;
        const int left = truncated(feature.start + display.borderLeft);
        const int right = truncated(feature.end + display.borderLeft);
        const int bottom = carriagewayEdge(feature.directionPositive);
        const int offset = lanes == 1 ? 0 : truncated(display.laneWidth / 2);
        drawFeatureBox(colour, hatch, feature.type, label, left, 0, right, bottom, offset);
    }
}

void CRoadRenderer::drawFeatureBox(const QColor& colour, Qt::BrushStyle hatch, int type, int value, int left, int top,
                                   int right, int bottom, int offset)
{
    selectPen(colour, 1);
    QBrush brush(colour, hatch);
    // Hatching is a pattern of device pixels, as on the screen's own brushes, at every zoom.
    const QTransform& mapping = dc.transform();
    brush.setTransform(QTransform::fromScale(1.0 / mapping.m11(), 1.0 / mapping.m22()));
    dc.setBrush(brush);
    transparentText = true;
    dc.drawRect(QRectF(QPointF(left, top), QPointF(right, bottom)).normalized());
    dc.setBrush(Qt::NoBrush);

    selectPen(colour, 3);
    line(left, top, left, bottom);
    line(right, top, right, bottom);

    const QString label = type == gradientType ? formatted("%d%%", value) : formatted("%d km/h", value);
    const QSize extent = textExtent(label);
    textOut((left + right) / 2 - extent.width() / 2, (top + bottom) / 2 - extent.height() / 2 + offset, label);
}

void CRoadRenderer::drawDetectors(const CRoadScene& scene)
{
    drawDetectorLine(colours.outputDetectorColour, scene.outputDetectorLocation1, true);
    drawDetectorLine(colours.outputDetectorColour, scene.outputDetectorLocation2, false);
    for (const CDetectorMark& detector : scene.detectors)
    {
        switch (detector.kind)
        {
        case 513: drawLaneChangeLabel(detector.directionPositive); break;
        case 511: drawDetectorLine(colours.headwayDetectorColour, detector.location, detector.directionPositive); break;
        case 512:
            drawDetectorLine(colours.compositionDetectorColour, detector.location, detector.directionPositive);
            break;
        default:
            drawDetectorLine(colours.flowDensityDetectorColour, detector.location, detector.directionPositive);
            break;
        }
    }
}

void CRoadRenderer::drawDetectorLine(const QColor& colour, int location, bool positive)
{
    selectPen(colour, 3);
    const int x = truncated(location + display.borderLeft);
    line(x, 0, x, carriagewayEdge(positive));
}

void CRoadRenderer::drawLaneChangeLabel(bool positive)
{
    const QString label = QStringLiteral("LC");
    const QSize extent = textExtent(label);
    const int x = truncated(display.borderLeft - extent.width() - 2.0);
    const int lanes = positive ? layout.lanesDir1 : layout.lanesDir2;
    const int side = (positive ? 1 : -1) * (layout.drivesOnRight ? 1 : -1);
    const int y = truncated(side * lanes * display.laneWidth / 2.0);
    textOut(x, y - extent.height() / 2, label);
}

void CRoadRenderer::drawTicks()
{
    selectPen(colours.tickColour, 0);
    textColour = colours.tickTextColour;
    textBackground = colours.backgroundColour;
    const double labelRoom = 100.0 / dc.transform().m11();
    for (int i = 0; i < layout.tickCount; ++i)
    {
        const int metres = i * display.tickInterval;
        const int x = truncated(metres + display.borderLeft);
        if (!visibleX(x, x + labelRoom))
            continue;
        line(x, layout.yBottom, x, truncated(layout.yBottom + display.tickLength));
        textOut(x + 5, layout.yBottom + 10, formatted("%d m", metres));
    }
}

void CRoadRenderer::drawLegend()
{
    textColour = colours.textColour;
    textBackground = colours.backgroundColour;
    const int clockWidth = textExtent(QStringLiteral("Real Time - Day: 00 - 00:00:00.00")).width();
    const int y0 = truncated(windowTop() + display.borderTop);
    const int dy = pixels(20);
    const int gap = truncated(display.borderLeft / display.viewScale);
    const int sw = pixels(20);

    const int x0 = truncated(clockWidth + display.borderLeft + display.borderLeft);
    const QString classNames[5] = {QStringLiteral("Car"), QStringLiteral("Small Truck"), QStringLiteral("Large Truck"),
                                   QStringLiteral("Crane"), QStringLiteral("Low-loader")};
    int y = y0;
    for (int k = 0; k < 5; ++k, y += dy)
        drawLegendClass(k, classNames[k], sw, x0, y);

    const int x1 =
        truncated(x0 + gap + sw + textExtent(QStringLiteral("Large Truck")).width() + 2 * display.borderLeft);
    y = y0;
    drawLegendDetector(gap, sw, x1, y, QStringLiteral("Output Detector"), colours.outputDetectorColour);
    y += dy;
    drawLegendDetector(gap, sw, x1, y, QStringLiteral("Flow-Density Detector"), colours.flowDensityDetectorColour);
    y += dy;
    drawLegendDetector(gap, sw, x1, y, QStringLiteral("Headway Detector"), colours.headwayDetectorColour);
    y += dy;
    drawLegendDetector(gap, sw, x1, y, QStringLiteral("Composition Detector"), colours.compositionDetectorColour);
    y += dy;
    textOut(x1, y, QStringLiteral("LC"));
    textOut(x1 + gap + sw, y, QStringLiteral("Lane Change Detector"));

    const int x2 =
        truncated(x1 + gap + sw + textExtent(QStringLiteral("Lane Change Detector")).width() + 2 * display.borderLeft);
    drawLegendSection(colours.speedLimitColour, Qt::DiagCrossPattern, speedLimitType,
                      QStringLiteral("Speed limit section"), 50, sw, x2, y0);
    drawLegendSection(colours.gradientColour, Qt::VerPattern, gradientType, QStringLiteral("Gradient section"), 5, sw,
                      x2, y0 + 2 * dy + 5);
}

void CRoadRenderer::drawLegendClass(int vehicleClass, const QString& name, int sw, int x, int y)
{
    const int w = pixels(20);
    const int h = pixels(10);
    textBackground = colours.backgroundColour;
    textOut(x + w + sw, y, name);
    const int ys = y + textExtent(name).height() / 2 - h / 2;
    fillByClass(vehicleClass, x, ys, x + w, ys + h);
}

void CRoadRenderer::drawLegendDetector(int gap, int sw, int x, int y, const QString& name, const QColor& colour)
{
    selectPen(colour, 3);
    textBackground = colours.backgroundColour;
    textOut(x + gap + sw, y, name);
    const int ym = y + textExtent(name).height() / 2;
    line(x, ym, x + gap, ym);
}

void CRoadRenderer::drawLegendSection(const QColor& colour, Qt::BrushStyle hatch, int type, const QString& name,
                                      int value, int sw, int x, int y)
{
    const int w = pixels(80);
    const int h = pixels(30);
    drawFeatureBox(colour, hatch, type, value, x, y, x + w, y + h, 0);
    textBackground = colours.backgroundColour;
    textOut(x + w + sw, y + h / 2 - textExtent(name).height() / 2, name);
}

void CRoadRenderer::drawVehicle(const CVehicleMark& vehicle)
{
    const int x = truncated(vehicle.roadX + display.borderLeft);
    const int sign = vehicle.directionPositive ? -1 : 1;
    const int len = truncated(vehicle.length * sign * display.vehicleLengthScale);
    // Velocities are centred on the body and may stick out of it by a few pixels.
    const double textRoom = 60.0 / dc.transform().m11();
    if (!visibleX(std::min(x, x + len) - textRoom, std::max(x, x + len) + textRoom))
        return;
    int y = truncated(layout.laneCentre(vehicle.lane, display.laneWidth));
    y = truncated(y - display.vehicleWidth / 2);
    fillByClass(vehicle.vehicleClass, x, y, x + len, truncated(y + display.vehicleWidth));
    if (!display.showVelocities)
        return;
    const QString speed = formatted("%3.1f", vehicle.velocity * 3.6);
    const QSize extent = textExtent(speed);
    textOut(x + len / 2 - extent.width() / 2, truncated(y + display.vehicleWidth / 2 - extent.height() / 2.0), speed);
}

void CRoadRenderer::fillByClass(int vehicleClass, int left, int top, int right, int bottom)
{
    fillSolidRect(left, top, right, bottom, colours.forClass(vehicleClass));
}

void CRoadRenderer::drawClocks(const CClockValues& clocks)
{
    textColour = colours.textColour;
    textBackground = colours.backgroundColour;
    const int x = truncated(display.borderLeft);
    const int y = truncated(windowTop() + display.borderTop);
    textOut(x, y, clockText("Sim. Time", clocks.simTime));
    const QString real = clockText("Real Time", clocks.realElapsedMs / 1000.0);
    textOut(x, truncated(y + 1.2 * textExtent(real).height()), real);
}

QSize CRoadRenderer::textExtent(const QString& text) const
{
    const QTransform& mapping = dc.transform();
    return QSize(truncated(metrics.horizontalAdvance(text) / mapping.m11() + 0.5),
                 truncated(metrics.height() / mapping.m22() + 0.5));
}

int CRoadRenderer::windowTop() const
{
    return truncated(-(clientHeight / 2) / display.viewScale + 0.5);
}

void CRoadRenderer::fillSolidRect(int left, int top, int right, int bottom, const QColor& colour)
{
    dc.fillRect(QRectF(QPointF(left, top), QPointF(right, bottom)).normalized(), colour);
    textBackground = colour;
}

void CRoadRenderer::textOut(int x, int y, const QString& text)
{
    // Text keeps its screen size: only the anchor is mapped, the glyphs are drawn unscaled.
    const QTransform mapping = dc.transform();
    const QPoint anchor = mapping.map(QPointF(x, y)).toPoint();
    const QPen linePen = dc.pen();
    dc.setTransform(QTransform());
    if (!transparentText)
        dc.fillRect(QRect(anchor, QSize(metrics.horizontalAdvance(text), metrics.height())), textBackground);
    dc.setPen(textColour);
    dc.drawText(anchor.x(), anchor.y() + metrics.ascent(), text);
    dc.setPen(linePen);
    dc.setTransform(mapping);
}

void CRoadRenderer::line(int x1, int y1, int x2, int y2)
{
    dc.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void CRoadRenderer::selectPen(const QColor& colour, double logicalWidth, Qt::PenStyle style)
{
    QPen pen(colour);
    pen.setStyle(style);
    pen.setCapStyle(Qt::FlatCap);
    if (logicalWidth <= 0)
    {
        pen.setWidth(0);
        pen.setCosmetic(true);
        // The screen's own dashed line: 18 pixels drawn, 6 left out.
        if (style == Qt::DashLine)
            pen.setDashPattern({18.0, 6.0});
    }
    else
    {
        pen.setWidthF(logicalWidth);
        pen.setCosmetic(false);
    }
    dc.setPen(pen);
}

int CRoadRenderer::pixels(int n) const
{
    return truncated(n / display.viewScale);
}

int CRoadRenderer::carriagewayEdge(bool positive) const
{
    const int lanes = positive ? layout.lanesDir1 : layout.lanesDir2;
    const int side = (positive ? 1 : -1) * (layout.drivesOnRight ? 1 : -1);
    return truncated(side * lanes * display.laneWidth);
}

bool CRoadRenderer::visibleX(double left, double right) const
{
    return right >= visibleLeft && left <= visibleRight;
}
