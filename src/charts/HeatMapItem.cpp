#include "charts/HeatMapItem.h"

#include "charts/ChartPalette.h"
#include "charts/ColourScale.h"

#include <QChart>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

HeatMapItem::HeatMapItem(QChart& owner, QAbstractSeries& axesAnchor, std::vector<HeatMapCell> cells, QString scaleTitle)
    : QGraphicsObject(&owner), chart(owner), anchor(axesAnchor), heatCells(std::move(cells)),
      title(std::move(scaleTitle))
{
    for (const HeatMapCell& cell : heatCells)
        if (std::isfinite(cell.value))
            top = std::max(top, cell.value);
    // Above the plot's grid lines, below the axes' labels.
    setZValue(1.0);
    connect(&chart, &QChart::plotAreaChanged, this, [this] {
        prepareGeometryChange();
        update();
    });
}

QColor HeatMapItem::colourOf(double value) const
{
    return ChartPalette::scale(top > 0.0 ? value / top : 0.0);
}

QRectF HeatMapItem::boundingRect() const
{
    QRectF plot = chart.plotArea();
    return plot.adjusted(0, 0, ColourScale::width, 0);
}

void HeatMapItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    QRectF plot = chart.plotArea();
    painter->save();
    painter->setClipRect(plot);
    if (heatCells.size() > cellsDrawnAlone)
    {
        // Thousands of cells are one picture: drawn into an image the size of the plot, so that
        // an SVG export holds one image rather than a shape per cell.
        QImage image(plot.size().toSize(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter imagePainter(&image);
        imagePainter.translate(-plot.topLeft());
        paintCells(imagePainter);
        imagePainter.end();
        painter->drawImage(plot.topLeft(), image);
    }
    else
        paintCells(*painter);
    painter->restore();
    ColourScale::paint(*painter, plot, top, title, chart.font());
}

void HeatMapItem::paintCells(QPainter& painter) const
{
    painter.setPen(Qt::NoPen);
    // Without antialiasing neighbouring cells meet without a seam.
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const HeatMapCell& cell : heatCells)
    {
        if (!std::isfinite(cell.value))
            continue;
        QPointF corner1 = chart.mapToPosition(cell.area.topLeft(), &anchor);
        QPointF corner2 = chart.mapToPosition(cell.area.bottomRight(), &anchor);
        painter.setBrush(colourOf(cell.value));
        painter.drawRect(QRectF(corner1, corner2).normalized());
    }
}
