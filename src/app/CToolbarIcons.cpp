#include "app/CToolbarIcons.h"

#include "app/CCommandTable.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>

namespace {
void drawPage(QPainter& p)
{
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({{3, 1}, {10, 1}, {13, 4}, {13, 14}, {3, 14}}));
    p.drawPolyline(QPolygon({{10, 1}, {10, 4}, {13, 4}}));
}

void drawFolder(QPainter& p)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(230, 200, 80));
    p.drawPolygon(QPolygon({{1, 3}, {6, 3}, {7, 5}, {14, 5}, {14, 13}, {1, 13}}));
    p.setBrush(QColor(250, 225, 120));
    p.drawPolygon(QPolygon({{3, 8}, {15, 8}, {13, 13}, {1, 13}}));
}

void drawDisk(QPainter& p)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(40, 70, 160));
    p.drawRect(1, 1, 13, 13);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 7, 5);
    p.fillRect(4, 9, 7, 5, QColor(200, 200, 200));
}

void drawPrinter(QPainter& p)
{
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(1, 6, 13, 5);
    p.setBrush(Qt::white);
    p.drawRect(4, 10, 7, 4);
}

void drawRoad(QPainter& p)
{
    p.fillRect(0, 3, 16, 9, QColor(200, 200, 200));
    p.setPen(Qt::black);
    p.drawLine(0, 3, 15, 3);
    p.drawLine(0, 11, 15, 11);
    QPen dash(Qt::black);
    dash.setDashPattern({2.0, 2.0});
    p.setPen(dash);
    p.drawLine(0, 7, 15, 7);
}

void drawCar(QPainter& p)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(0, 0, 255));
    p.drawRect(1, 6, 14, 4);
    p.drawPolygon(QPolygon({{4, 6}, {6, 2}, {11, 2}, {13, 6}}));
    p.setBrush(Qt::black);
    p.drawEllipse(3, 9, 3, 3);
    p.drawEllipse(10, 9, 3, 3);
}

void drawSpeedSign(QPainter& p)
{
    p.setPen(QPen(QColor(255, 0, 0), 2));
    p.setBrush(Qt::white);
    p.drawEllipse(2, 1, 12, 12);
    p.setPen(Qt::black);
    p.drawLine(6, 5, 6, 9);
    p.drawRect(8, 5, 2, 4);
}

void drawDetector(QPainter& p)
{
    p.fillRect(0, 3, 16, 9, QColor(200, 200, 200));
    p.fillRect(7, 2, 3, 11, QColor(0, 255, 0));
    p.fillRect(2, 5, 4, 5, QColor(255, 0, 0));
}

void drawPlay(QPainter& p, bool filled)
{
    p.setPen(QColor(0, 120, 0));
    p.setBrush(filled ? QBrush(QColor(0, 170, 0)) : QBrush(Qt::NoBrush));
    p.drawPolygon(QPolygon({{4, 1}, {13, 7}, {4, 13}}));
    if (!filled)
    {
        p.setPen(QPen(QColor(0, 120, 0), 1, Qt::DotLine));
        p.drawLine(6, 7, 10, 7);
    }
}

void drawPause(QPainter& p)
{
    p.fillRect(4, 2, 3, 11, QColor(30, 30, 160));
    p.fillRect(9, 2, 3, 11, QColor(30, 30, 160));
}

void drawStop(QPainter& p)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(210, 0, 0));
    p.drawRect(3, 2, 10, 10);
}

void drawMagnifier(QPainter& p, bool plus)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawEllipse(1, 1, 9, 9);
    p.drawLine(3, 5, 8, 5);
    if (plus)
        p.drawLine(5, 3, 5, 8);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(9, 9, 14, 13);
}

void drawArrows(QPainter& p, bool forward)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 110, 0));
    if (forward)
    {
        p.drawPolygon(QPolygon({{1, 2}, {8, 7}, {1, 12}}));
        p.drawPolygon(QPolygon({{8, 2}, {15, 7}, {8, 12}}));
    }
    else
    {
        p.drawPolygon(QPolygon({{7, 2}, {0, 7}, {7, 12}}));
        p.drawPolygon(QPolygon({{14, 2}, {7, 7}, {14, 12}}));
    }
}

void drawSliders(QPainter& p)
{
    p.setPen(Qt::black);
    p.drawLine(1, 3, 14, 3);
    p.drawLine(1, 7, 14, 7);
    p.drawLine(1, 11, 14, 11);
    p.setBrush(QColor(255, 200, 0));
    p.drawRect(9, 1, 3, 4);
    p.drawRect(3, 5, 3, 4);
    p.drawRect(7, 9, 3, 4);
}

void drawQuestion(QPainter& p)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(255, 255, 200));
    p.drawEllipse(1, 0, 13, 13);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0, 0, 160));
    p.drawText(QRect(1, 0, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
}
}

QIcon CToolbarIcons::icon(int commandId)
{
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    switch (commandId)
    {
    case CCommandTable::fileNew: drawPage(p); break;
    case CCommandTable::fileOpen: drawFolder(p); break;
    case CCommandTable::fileSave: drawDisk(p); break;
    case CCommandTable::filePrint: drawPrinter(p); break;
    case CCommandTable::configureSimulation: drawRoad(p); break;
    case CCommandTable::configureTrafficModel: drawCar(p); break;
    case CCommandTable::configureRoadFeatures: drawSpeedSign(p); break;
    case CCommandTable::configureMetrics: drawDetector(p); break;
    case CCommandTable::runVisible: drawPlay(p, true); break;
    case CCommandTable::pause: drawPause(p); break;
    case CCommandTable::stop: drawStop(p); break;
    case CCommandTable::runInvisible: drawPlay(p, false); break;
    case CCommandTable::zoomIn: drawMagnifier(p, true); break;
    case CCommandTable::zoomOut: drawMagnifier(p, false); break;
    case CCommandTable::speedUp: drawArrows(p, true); break;
    case CCommandTable::slowDown: drawArrows(p, false); break;
    case CCommandTable::preferences: drawSliders(p); break;
    case CCommandTable::appAbout: drawQuestion(p); break;
    default: break;
    }
    p.end();
    return QIcon(picture);
}
