#pragma once
// A heat map drawn inside a chart's plot area: rectangular cells at data coordinates, coloured by
// value on a scale shown beside the plot. Cells without a value are not drawn (gaps, not zeros).

#include <QGraphicsObject>
#include <QRectF>
#include <QString>

#include <vector>

class QAbstractSeries;
class QChart;

struct HeatMapCell
{
    QRectF area;  // data coordinates: x along the chart's x axis, y along its y axis
    double value = 0.0;
};

class HeatMapItem : public QGraphicsObject
{
    Q_OBJECT

public:
    // Places the item on `chart`, whose axes `anchor` (a series of the chart) is attached to.
    HeatMapItem(QChart& chart, QAbstractSeries& anchor, std::vector<HeatMapCell> cells, QString scaleTitle);

    const std::vector<HeatMapCell>& cells() const { return heatCells; }
    double highest() const { return top; }
    // The colour a value is drawn in.
    QColor colourOf(double value) const;

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    // Beyond this many cells the cells are drawn as one image.
    static constexpr std::size_t cellsDrawnAlone = 2000;

private:
    void paintCells(QPainter& painter) const;

    QChart& chart;
    QAbstractSeries& anchor;
    std::vector<HeatMapCell> heatCells;
    QString title;
    double top = 0.0;  // the largest value: the scale's top
};
