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
    // Time along the chart's x axis in hours of the clock, position along its y axis in m.
    SpaceTimeItem(QChart& chart, QAbstractSeries& anchor, SpaceTimePicture picture);

    const SpaceTimePicture& picture() const { return shown; }
    // One pixel per cell, row 0 at the bottom.
    const QImage& image() const { return cells; }

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    QChart& chart;
    QAbstractSeries& anchor;
    SpaceTimePicture shown;
    QImage cells;
};
