#pragma once
// A series of many points drawn in one paint call instead of one graphics item per point: an
// empty anchor series gives it its axes, name, legend entry, colour and marker, the item keeps
// the points and draws what of them shows at the picture's pixels (see PixelDecimation). A
// picture as SVG holds one path per series.

#include <QGraphicsObject>
#include <QPointF>

#include <vector>

class QChart;
class QXYSeries;

class DenseSeriesItem : public QGraphicsObject
{
    Q_OBJECT

public:
    // The anchor must be in the chart with its axes attached. A QScatterSeries anchor draws
    // markers; any other draws a line broken at points with a missing coordinate, with markers
    // where it shows them (pointsVisible) and at lone points between gaps.
    DenseSeriesItem(QChart& chart, QXYSeries& anchor, std::vector<QPointF> points);

    // The item that draws `series`, or none when the series draws itself.
    static const DenseSeriesItem* of(const QXYSeries& series);

    const std::vector<QPointF>& points() const { return data; }

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    QChart& chart;
    QXYSeries& anchor;
    std::vector<QPointF> data;
};
