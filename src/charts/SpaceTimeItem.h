#pragma once
// A space-time diagram drawn inside a chart's plot area: each cell of the picture at its time and
// position, coloured by its mean speed (km/h) on a scale beside the plot; empty cells stay blank.

#include "recorders/SpaceTimePicture.h"

#include <QGraphicsObject>
#include <QImage>

class QAbstractSeries;
class QChart;

class SpaceTimeItem : public QGraphicsObject
{
    Q_OBJECT

public:
    // Time along the chart's x axis in s of the clock, road x along its y axis in m. Direction 2
    // enters at the road's end: its picture's row 0 is drawn at the top.
    SpaceTimeItem(QChart& chart, QAbstractSeries& anchor, SpaceTimePicture picture, int direction);

    const SpaceTimePicture& picture() const { return shown; }
    // One pixel per cell, the lowest road x at the bottom.
    const QImage& image() const { return cells; }

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    QChart& chart;
    QAbstractSeries& anchor;
    SpaceTimePicture shown;
    QImage cells;
};
